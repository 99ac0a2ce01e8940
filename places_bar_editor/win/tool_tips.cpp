#include "tool_tips.h"

#include <commctrl.h>

#include <algorithm>

namespace lumbrake::win {

void ToolTips::Add(HWND tool, std::wstring text) {
    m_tools.push_back({tool, false, std::move(text)});
    if (m_control) AddToControl(m_tools.back());
}

void ToolTips::AddBox(HWND box, std::wstring text) {
    m_tools.push_back({box, true, std::move(text)});
    if (m_control) AddToControl(m_tools.back());
}

void ToolTips::SetText(HWND tool, const std::wstring& text) {
    const auto found = std::find_if(m_tools.begin(), m_tools.end(), [tool](const Tool& each) { return each.window == tool; });
    if (found == m_tools.end()) return;
    found->text = text;
    if (!m_control) return;
    Send(TTM_UPDATETIPTEXTW, found->window, text);
    if (found->field) Send(TTM_UPDATETIPTEXTW, found->field, text);
}

bool ToolTips::Create(HWND owner, HINSTANCE instance, int maxWidth) {
    m_control = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    if (!m_control) return false;
    SendMessageW(m_control, TTM_SETMAXTIPWIDTH, 0, maxWidth);
    for (Tool& tool : m_tools) AddToControl(tool);
    return true;
}

void ToolTips::AddToControl(Tool& tool) {
    Send(TTM_ADDTOOLW, tool.window, tool.text);
    if (!tool.box) return;
    tool.field = FindWindowExW(tool.window, nullptr, L"Edit", nullptr);
    if (tool.field) Send(TTM_ADDTOOLW, tool.field, tool.text);
}

void ToolTips::Send(UINT message, HWND window, const std::wstring& text) const {
    TTTOOLINFOW info{};
    // The size of comctl32 5.8, which Windows XP loads for a program without a
    // manifest dependency: it refuses the larger newer record.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    // Not TTF_SUBCLASS: the message loop relays the mouse instead. A subclassed
    // tool pays a property lookup on every message it gets, a server call under
    // Wine, which made the first painting of the window measurably slower.
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(window);
    info.uId = reinterpret_cast<UINT_PTR>(window);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(m_control, message, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::Relay(const MSG& message) const {
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (m_control) SendMessageW(m_control, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        break;
    }
}

}  // namespace lumbrake::win
