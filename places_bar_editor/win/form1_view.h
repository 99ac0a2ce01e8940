#pragma once
// The start-up reading's view of Form1, and the slots as the handlers read
// and fill them: a thin layer over the controls.
#include "layout.h"
#include "option_group.h"
#include "startup.h"
#include "tool_tips.h"

#include <string>

namespace lumbrake::win {

class ControlsView final : public Form1View {
public:
    ControlsView(const Controls& controls, const OptionGroup& options, ToolTips& toolTips)
        : m_controls(controls), m_options(options), m_toolTips(toolTips) {}

    void SelectOption(std::int16_t mode) override;
    void SetFrameEnabled(bool enabled) override;
    void SelectListItem(int slot, int index) override;
    void SetSlotText(int slot, const std::wstring& text) override;
    void SetSlotToolTip(int slot, const std::wstring& text) override;

    std::wstring SlotText(int slot) const;

private:
    HWND Combo(int slot) const { return m_controls.Combo1[static_cast<std::size_t>(slot)]; }

    const Controls& m_controls;
    const OptionGroup& m_options;
    ToolTips& m_toolTips;
};

}  // namespace lumbrake::win
