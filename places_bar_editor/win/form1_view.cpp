#include "form1_view.h"

namespace lumbrake::win {

void ControlsView::SelectOption(std::int16_t mode) {
    if (mode == kModeNoPlacesBar) m_form.CheckOption(m_form.Option2);
    else if (mode == kModeCustom) m_form.CheckOption(m_form.Option3);
    else m_form.CheckOption(m_form.Option1);
}

void ControlsView::SetFrameEnabled(bool enabled) { EnableWindow(m_form.Frame2, enabled); }

int ControlsView::ListCount(int slot) const {
    return static_cast<int>(SendMessageW(Combo(slot), CB_GETCOUNT, 0, 0));
}

std::wstring ControlsView::ListItem(int slot, int index) const {
    const auto length = SendMessageW(Combo(slot), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    // The buffer must hold the NUL too; std::wstring keeps room for it past size().
    const auto copied = SendMessageW(Combo(slot), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

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

void ControlsView::SetSlotToolTip(int slot, const std::wstring& text) { m_form.SetComboToolTip(slot, text); }

}  // namespace lumbrake::win
