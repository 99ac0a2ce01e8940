#pragma once
// The options, the frame and the slots as the handlers read and fill them:
// a thin layer over the controls.
#include "layout.h"
#include "option_group.h"
#include "tool_tips.h"

#include <places_bar/places.h>

#include <cstdint>
#include <string>

namespace lumbrake::win {

class ControlsView {
public:
    ControlsView(const Controls& controls, const OptionGroup& options, ToolTips& toolTips)
        : m_controls(controls), m_options(options), m_toolTips(toolTips) {}

    void SelectOption(std::int16_t mode);
    void SetFrameEnabled(bool enabled);
    void SelectListItem(int slot, int index);
    void SetSlotText(int slot, const std::wstring& text);
    void SetSlotToolTip(int slot, const std::wstring& text);

    std::wstring SlotText(int slot) const;

private:
    HWND Combo(int slot) const { return m_controls.Combo1[static_cast<std::size_t>(slot)]; }

    const Controls& m_controls;
    const OptionGroup& m_options;
    ToolTips& m_toolTips;
};

}  // namespace lumbrake::win
