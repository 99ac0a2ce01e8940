#pragma once
// A main window as the start-up reading sees it: what each slot shows.
#include "places.h"
#include "startup.h"

#include <array>
#include <string>

namespace lumbrake::testing {

struct FakeSlot {
    std::wstring text;
    std::wstring toolTip;
    int selected = -1;
};

class FakeView final : public Form1View {
public:
    std::int16_t selectedOption = 1;
    bool frameEnabled = false;
    std::array<FakeSlot, kSlotCount> slots;

    void SelectOption(std::int16_t mode) override { selectedOption = mode; }
    void SetFrameEnabled(bool enabled) override { frameEnabled = enabled; }
    void SelectListItem(int slot, int index) override {
        Slot(slot).selected = index;
        Slot(slot).text = kPlaceEntries[static_cast<std::size_t>(index)];
    }
    void SetSlotText(int slot, const std::wstring& text) override { Slot(slot).text = text; }
    void SetSlotToolTip(int slot, const std::wstring& text) override { Slot(slot).toolTip = text; }

private:
    FakeSlot& Slot(int slot) { return slots[static_cast<std::size_t>(slot)]; }
};

}  // namespace lumbrake::testing
