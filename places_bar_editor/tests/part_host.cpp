#include "part_host.h"

#include "frame.h"

namespace lumbrake::win::testing {

PartHost::PartHost() {
    [[maybe_unused]] static const ATOM registered = [] {
        WNDCLASSW host{};
        host.lpfnWndProc = Proc;
        host.hInstance = GetModuleHandleW(nullptr);
        host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        host.lpszClassName = L"Lumbrake.PartHost";
        return RegisterClassW(&host);
    }();
    // So that Frame2's kind of control can live in it.
    [[maybe_unused]] static const bool frames = RegisterFrameClass(GetModuleHandleW(nullptr));
    m_window = CreateWindowExW(0, L"Lumbrake.PartHost", L"part", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
}

PartHost::~PartHost() { DestroyWindow(m_window); }

HWND PartHost::Child(const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT place, HWND parent) const {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent ? parent : m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK PartHost::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* host = reinterpret_cast<PartHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host && message == WM_COMMAND && host->onCommand) {
        host->onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    if (host && message == WM_CTLCOLORSTATIC && host->onStaticColour) {
        if (HBRUSH brush = host->onStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lumbrake::win::testing
