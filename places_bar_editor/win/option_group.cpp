#include "option_group.h"

#include <algorithm>

namespace lumbrake::win {

void OptionGroup::Attach(const std::array<HWND, 3>& options) {
    m_options = options;
    for (HWND option : m_options) {
        SetWindowLongPtrW(option, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_buttonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(option, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OptionProc)));
    }
}

void OptionGroup::Check(HWND option) const {
    for (HWND each : m_options) SendMessageW(each, BM_SETCHECK, each == option ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CALLBACK OptionGroup::OptionProc(HWND option, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* group = reinterpret_cast<OptionGroup*>(GetWindowLongPtrW(option, GWLP_USERDATA));
    switch (message) {
    case WM_GETDLGCODE:
        return CallWindowProcW(group->m_buttonProc, option, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (wParam < VK_LEFT || wParam > VK_DOWN) break;
        group->Move(option, wParam == VK_LEFT || wParam == VK_UP ? -1 : 1);
        return 0;
    case WM_SETFOCUS: {
        group->m_takingFocus = true;
        const LRESULT result = CallWindowProcW(group->m_buttonProc, option, message, wParam, lParam);
        group->m_takingFocus = false;
        return result;
    }
    }
    return CallWindowProcW(group->m_buttonProc, option, message, wParam, lParam);
}

void OptionGroup::Move(HWND from, int step) {
    const auto at = std::find(m_options.begin(), m_options.end(), from) - m_options.begin();
    HWND next = m_options[static_cast<std::size_t>((at + step + 3) % 3)];
    SetFocus(next);
    SendMessageW(GetParent(next), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(next), BN_CLICKED), reinterpret_cast<LPARAM>(next));
}

}  // namespace lumbrake::win
