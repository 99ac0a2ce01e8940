#pragma once
// Reading the places-bar policy of the current user as the window shows it
// at start-up. Reads only; never writes.
#include <places_bar/module1.h>
#include <places_bar/places.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumbrake {

// How a slot shows a stored place: the list entry of a folder id (by its
// index in kPlaceEntries), the number of an id the list lacks, a stored
// path, or a value of another kind in a form no path can have. An empty
// text leaves the slot as the window made it.
struct ShownPlace {
    std::wstring text;
    std::optional<int> entry;
    bool operator==(const ShownPlace&) const = default;
};
ShownPlace ShowPlace(const RegistryValue& stored);
ShownPlace ShowPlace(const StoredValue& stored);

// How a stored folder path is shown: "%SystemDrive%\" at its start (exactly
// so spelled) stands for "c:\"; the rest of the path is kept.
std::wstring DisplayedFolderPath(const std::wstring& storedPath);

// Whether start-up takes the bar for hidden: any value with a text form, a
// DWORD 0 included.
bool CountsAsHidden(const StoredValue& noPlacesBar);
// Whether the Open and Save dialogs hide the bar for it: only a DWORD that
// is not 0 ("0 is the default behaviour").
bool DialogsHideBar(const StoredValue& noPlacesBar);

// A key or value that is there but could not be read.
struct ReadFailure {
    std::wstring keyPath;
    std::wstring valueName;  // empty for the key itself
    long error = 0;
    bool operator==(const ReadFailure&) const = default;
};

struct SlotReading {
    StoredValue stored;
    ShownPlace shown;
};

// The mode, and for each slot what it shows together with the stored value
// it came from. The slots are read only where start-up looks at them: not
// while the bar is hidden (nothing), and as absent without a places key.
struct PlacesReading {
    std::int16_t mode = kModeSystemDefault;
    StoredValue noPlacesBar;
    std::optional<Presence> placesKey;  // nothing while the bar is hidden
    std::array<std::optional<SlotReading>, kSlotCount> slots;
    std::vector<ReadFailure> failures;
};
PlacesReading ReadPlaces(Module1& module);
// The slot texts the reading shows; empty where it shows nothing.
SlotTexts ShownTexts(const PlacesReading& reading);

}  // namespace lumbrake
