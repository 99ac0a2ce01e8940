#pragma once
// Reading the places-bar policy of the current user at start-up and showing
// it on the main window. Reads only; never writes.
#include "module1.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumbrake {

// What the start-up reading needs of the main window.
class Form1View {
public:
    virtual ~Form1View() = default;
    virtual void SelectOption(std::int16_t mode) = 0;  // Option1, Option2 or Option3
    virtual void SetFrameEnabled(bool enabled) = 0;    // Frame2
    virtual void SelectListItem(int slot, int index) = 0;  // the box's text becomes the entry's
    virtual void SetSlotText(int slot, const std::wstring& text) = 0;
    virtual void SetSlotToolTip(int slot, const std::wstring& text) = 0;
};

// Decides the mode, selects its option, sets the frame and, in the custom
// mode, fills the slots. Returns the PlacesMode to keep.
std::int16_t LoadPlacesConfiguration(Module1& module, Form1View& view);

// How a slot shows a stored place: the list entry of a folder id (by its
// index in kPlaceEntries), the number of an id the list lacks, a stored
// path, or a value of another kind in a form no path can have. An empty
// text leaves the slot as the window made it.
struct ShownPlace {
    std::wstring text;
    std::optional<int> entry;
};
ShownPlace ShowPlace(const RegistryValue& stored);
// The place stored for the slot, as the slot shows it.
ShownPlace ReadShownPlace(Module1& module, int slot);

// Whether the switch that hides the places bar is set: any value with a
// text form counts, a DWORD 0 included.
bool PlacesBarHidden(Module1& module);

// How a stored folder path is shown: "%SystemDrive%\" at its start (exactly
// so spelled) stands for "c:\"; the rest of the path is kept.
std::wstring DisplayedFolderPath(const std::wstring& storedPath);

}  // namespace lumbrake
