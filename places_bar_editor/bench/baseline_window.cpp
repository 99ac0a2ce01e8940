// The yardstick of Lumbrake's start-up time: a process showing one empty
// window of the same size, or, given "controls", the same 22 standard
// controls of Lumbrake's layout table with their three fonts and list
// entries, created plainly (no pictures, tool tips, registry, tab order or
// dialog keyboard handling).
#include "layout.h"
#include <places_bar/places.h>

#include <windows.h>

#include <cwchar>

namespace {

using lumbrake::win::ControlRow;
using lumbrake::win::Kind;
using lumbrake::win::Pixels;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

void CreatePlainControls(HWND form, HINSTANCE instance, int dpi) {
    auto font = [dpi](int tenthsOfPoint, int weight, BYTE charset, const wchar_t* face) {
        return CreateFontW(-MulDiv(tenthsOfPoint, dpi, 720), 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    };
    HFONT optionFont = font(90, FW_BOLD, GB2312_CHARSET, L"宋体");
    HFONT comboFont = font(120, FW_NORMAL, GB2312_CHARSET, L"宋体");
    HFONT labelFont = font(105, FW_NORMAL, ANSI_CHARSET, L"Arial Black");
    HWND frame = nullptr;
    for (const ControlRow& row : lumbrake::win::kControls) {
        const wchar_t* className = L"Button";
        DWORD style = BS_PUSHBUTTON;
        HFONT rowFont = nullptr;
        int height = row.height;
        switch (row.kind) {
        case Kind::Command:
        case Kind::Browse: break;
        case Kind::Option: style = BS_RADIOBUTTON, rowFont = optionFont; break;
        case Kind::Frame: style = BS_GROUPBOX; break;
        case Kind::Combo: className = L"ComboBox", style = CBS_DROPDOWN | WS_VSCROLL, rowFont = comboFont, height = 2000; break;
        case Kind::Label: className = L"Static", style = SS_LEFT, rowFont = labelFont; break;
        case Kind::Picture: className = L"Static", style = SS_LEFT; break;
        }
        HWND control = CreateWindowExW(0, className, row.text, WS_CHILD | WS_VISIBLE | style, Pixels(row.left, dpi), Pixels(row.top, dpi),
                                       Pixels(row.width, dpi), Pixels(height, dpi), row.inFrame ? frame : form, nullptr, instance, nullptr);
        if (rowFont) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont), FALSE);
        if (row.kind == Kind::Frame) frame = control;
        if (row.kind == Kind::Combo)
            for (std::wstring_view entry : lumbrake::kPlaceEntries) SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.data()));
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BaselineWindow";
    RegisterClassW(&windowClass);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Pixels(lumbrake::win::kClientWidth, dpi), Pixels(lumbrake::win::kClientHeight, dpi)};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowW(L"BaselineWindow", L"Baseline", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (std::wcsstr(commandLine, L"controls")) CreatePlainControls(window, instance, dpi);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
