#pragma once
// Reading the places-bar policy of the current user at start-up and showing
// it on the main window. Reads only; never writes.
#include "module1.h"

#include <cstdint>
#include <string>

namespace lumbrake {

// What the start-up reading needs of the main window.
class Form1View {
public:
    virtual ~Form1View() = default;
    virtual void SelectOption(std::int16_t mode) = 0;  // Option1, Option2 or Option3
    virtual void SetFrameEnabled(bool enabled) = 0;    // Frame2
    virtual int ListCount(int slot) const = 0;
    virtual std::wstring ListItem(int slot, int index) const = 0;
    virtual void SelectListItem(int slot, int index) = 0;  // the box's text becomes the item's
    virtual std::wstring SlotText(int slot) const = 0;
    virtual void SetSlotText(int slot, const std::wstring& text) = 0;
    virtual void SetSlotToolTip(int slot, const std::wstring& text) = 0;
};

// Decides the mode, selects its option, sets the frame and, in the custom
// mode, fills the slots. Returns the PlacesMode to keep.
std::int16_t LoadPlacesConfiguration(Module1& module, Form1View& view);

// How a stored folder path is shown: "%SystemDrive%\" at its start (exactly
// so spelled) stands for "c:\"; the rest of the path is kept.
std::wstring DisplayedFolderPath(const std::wstring& storedPath);

}  // namespace lumbrake
