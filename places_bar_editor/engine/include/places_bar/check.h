#pragma once
// Whether the Open and Save dialogs show the places stored for them. The
// dialogs leave out, without a word, every place they cannot find: a folder
// id through the shell's special folders, a path through the shell's
// parsing of it, and any other kind of value. Found here the same way.
#include <places_bar/module1.h>
#include <places_bar/places.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumbrake {

// How the shell found a place.
struct Resolution {
    bool resolved = false;
    std::wstring displayName;  // the name it shows for the place, when resolved
    long code = 0;             // the HRESULT of the failure, when not
};

// The shell's two ways of finding a place, as the dialogs use them.
class PlaceFinder {
public:
    virtual ~PlaceFinder() = default;
    virtual Resolution ResolveFolderId(std::uint32_t folderId) = 0;  // SHGetSpecialFolderLocation
    virtual Resolution ResolvePath(const std::wstring& text) = 0;     // SHParseDisplayName
};

enum class DropReason { None, UnknownFolderId, PathNotFound, WrongDwordSize, WrongType };

struct PlaceCheck {
    int slot = 0;
    platform::RegValue stored;
    Resolution found;
    DropReason reason = DropReason::None;  // why the dialogs leave it out
};

// Each stored place in slot order; slots that hold nothing (or could not be
// read) are left out.
std::vector<PlaceCheck> CheckPlaces(const std::array<StoredValue, kSlotCount>& places, PlaceFinder& finder);

}  // namespace lumbrake
