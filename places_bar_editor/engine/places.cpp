#include <places_bar/places.h>

#include <platform/blank.h>

#include <algorithm>

namespace lumbrake {

std::wstring ReadSlotValueName(int slot) { return L"Place" + std::to_wstring(slot); }
std::wstring SavedSlotValueName(int slot) { return L"place" + std::to_wstring(slot); }

std::wstring TrimSpaces(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (std::all_of(text.begin(), text.end(), platform::IsBlank)) return {};
    const auto last = text.find_last_not_of(L' ');
    return std::wstring(text.substr(first, last - first + 1));
}

std::optional<std::int32_t> PlaceEntryFolderId(std::wstring_view text) {
    if (text.size() < 3) return std::nullopt;
    const wchar_t bar = text[text.size() - 3];
    const wchar_t tens = text[text.size() - 2];
    const wchar_t ones = text[text.size() - 1];
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    if (bar != L'|' || !isDigit(tens) || !isDigit(ones)) return std::nullopt;
    return (tens - L'0') * 10 + (ones - L'0');
}

std::optional<std::size_t> EntryOfFolderId(std::int32_t folderId) {
    for (std::size_t index = 0; index < kPlaceEntries.size(); ++index)
        if (PlaceEntryFolderId(kPlaceEntries[index]) == folderId) return index;
    return std::nullopt;
}

}  // namespace lumbrake
