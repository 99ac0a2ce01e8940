#pragma once
// Whether the Open and Save dialogs show the places stored for them. The
// dialogs leave out, without a word, every place they cannot find: a folder
// id through the shell's special folders, a path through the shell's
// parsing of it, and any other kind of value. Found here the same way.
#include <places_bar/module1.h>
#include <places_bar/places.h>
#include <platform/place_finder.h>

#include <array>
#include <vector>

namespace lumbrake {

enum class DropReason { None, UnknownFolderId, PathNotFound, WrongDwordSize, WrongType };

struct PlaceCheck {
    int slot = 0;
    platform::RegValue stored;
    platform::Resolution found;
    DropReason reason = DropReason::None;  // why the dialogs leave it out
};

// Each stored place in slot order; slots that hold nothing (or could not be
// read) are left out.
std::vector<PlaceCheck> CheckPlaces(const std::array<StoredValue, kSlotCount>& places, platform::PlaceFinder& finder);

}  // namespace lumbrake
