#pragma once
// The vocabulary of the places bar: where its policy lives, the place
// entries of the slot lists, and the modes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumbrake {

inline constexpr std::wstring_view kPolicyKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
inline constexpr std::wstring_view kPlacesKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\PlacesBar";
inline constexpr std::wstring_view kNoPlacesBar = L"NoPlacesBar";
inline constexpr int kSlotCount = 5;

// The five slot texts, slot 0 first.
using SlotTexts = std::array<std::wstring, kSlotCount>;

// PlacesMode codes.
inline constexpr std::int16_t kModeSystemDefault = 1;
inline constexpr std::int16_t kModeNoPlacesBar = 2;
inline constexpr std::int16_t kModeCustom = 3;

// The thirteen entries of every slot list, in list order: a display name,
// a bar and the special folder's number in two digits.
inline constexpr std::array<std::wstring_view, 13> kPlaceEntries = {
    L"桌面|00",     L"我的文档|05", L"收藏夹|06",   L"最近的文档|08", L"My Music|13", L"My Video|14",    L"我的电脑|17",
    L"网上邻居|18", L"历史记录|34", L"My Picture|39", L"共享文档|46", L"共享音乐|53", L"共享视频|55",
};

// Start-up reads "Place0".."Place4"; the save writes "place0".."place4".
// Value names match without regard to case, so both name the same values.
std::wstring ReadSlotValueName(int slot);
std::wstring SavedSlotValueName(int slot);

// Leading and trailing spaces removed, blanks inside kept; a text of blanks
// alone, of whatever kind (tabs, ideographic and no-break spaces), is empty.
std::wstring TrimSpaces(std::wstring_view text);

// A place entry has "|" as its third character from the end, followed by
// two decimal digits; its folder id is those digits. A text such as "x|ab"
// is a folder path, so nothing typed turns into a number by accident.
std::optional<std::int32_t> PlaceEntryFolderId(std::wstring_view text);
inline bool IsPlaceEntry(std::wstring_view text) { return PlaceEntryFolderId(text).has_value(); }
// The index in kPlaceEntries of the entry a stored folder id belongs to.
std::optional<std::size_t> EntryOfFolderId(std::int32_t folderId);

}  // namespace lumbrake
