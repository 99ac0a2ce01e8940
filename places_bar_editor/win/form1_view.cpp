#include "form1_view.h"

namespace lumbrake::win {

void ControlsView::SelectOption(std::int16_t mode) {
    if (mode == kModeNoPlacesBar) m_options.Check(m_controls.Option2);
    else if (mode == kModeCustom) m_options.Check(m_controls.Option3);
    else m_options.Check(m_controls.Option1);
}

void ControlsView::SetFrameEnabled(bool enabled) { EnableWindow(m_controls.Frame2, enabled); }

void ControlsView::SelectListItem(int slot, int index) {
    SendMessageW(Combo(slot), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring ControlsView::SlotText(int slot) const {
    const int length = GetWindowTextLengthW(Combo(slot));
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    const int copied = GetWindowTextW(Combo(slot), text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void ControlsView::SetSlotText(int slot, const std::wstring& text) { SetWindowTextW(Combo(slot), text.c_str()); }

void ControlsView::SetSlotToolTip(int slot, const std::wstring& text) { m_toolTips.SetText(Combo(slot), text); }

}  // namespace lumbrake::win
