#pragma once
// A window of the test's own for one of the main window's parts to live in,
// run in the test's process under Wine. It hears what its children tell it.
#include <windows.h>

#include <functional>

namespace lumbrake::win::testing {

class PartHost {
public:
    PartHost();
    PartHost(const PartHost&) = delete;
    PartHost& operator=(const PartHost&) = delete;
    ~PartHost();

    HWND get() const { return m_window; }
    // A child control of the host, shown.
    HWND Child(const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT place, HWND parent = nullptr) const;

    std::function<void(int id, UINT code)> onCommand;
    // Answers WM_CTLCOLORSTATIC: null leaves it to the system.
    std::function<HBRUSH(HDC dc, HWND control)> onStaticColour;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
};

}  // namespace lumbrake::win::testing
