#pragma once
// The places a command line names: the thirteen folders of the window's
// list, by their listed name or an English one, an entry with its id as the
// window shows it, or a full folder path.
#include <places_bar/places.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace lumbrake::cli {

// In the order of kPlaceEntries.
inline constexpr std::array<std::wstring_view, kPlaceEntries.size()> kEnglishPlaceNames = {
    L"Desktop", L"Documents", L"Favorites",       L"Recent",      L"Music",       L"Videos",       L"Computer",
    L"Network", L"History",   L"Pictures", L"PublicDocuments", L"PublicMusic", L"PublicVideos",
};

// "我的电脑" of "我的电脑|17".
std::wstring_view ListedName(std::size_t index);

// The slot text that the window would hold for this argument, stored as
// the window stores it: the entry of a named folder (names compare without
// regard to case), or the argument itself, with its outer blanks removed,
// when it is an entry or a full path. Empty for an empty argument. Nothing
// for any other text: a relative path or a misspelt name would be stored,
// and then dropped by every dialog.
std::optional<std::wstring> SlotTextFor(std::wstring_view argument);

}  // namespace lumbrake::cli
