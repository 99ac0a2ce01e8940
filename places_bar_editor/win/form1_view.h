#pragma once
// The start-up reading's view of Form1: a thin layer over its controls.
#include "form1.h"
#include "startup.h"

namespace lumbrake::win {

class ControlsView final : public Form1View {
public:
    explicit ControlsView(Form1& form) : m_form(form) {}

    void SelectOption(std::int16_t mode) override;
    void SetFrameEnabled(bool enabled) override;
    void SelectListItem(int slot, int index) override;
    void SetSlotText(int slot, const std::wstring& text) override;
    void SetSlotToolTip(int slot, const std::wstring& text) override;

    std::wstring SlotText(int slot) const;

private:
    HWND Combo(int slot) const { return m_form.Combo1[static_cast<std::size_t>(slot)]; }

    Form1& m_form;
};

}  // namespace lumbrake::win
