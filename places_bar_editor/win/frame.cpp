#include "frame.h"

#include <platform/win/unique.h>

#include <iterator>

namespace lumbrake::win {

namespace {

void PaintFrame(HWND frame) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    {
        RECT client;
        GetClientRect(frame, &client);
        const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, GWLP_USERDATA));
        const platform::SelectedObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        // Asked like a group box asks: the parent chooses the caption's colour.
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(frame), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(frame)));
        if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &client, brush);

        wchar_t caption[64];
        const int length = GetWindowTextW(frame, caption, static_cast<int>(std::size(caption)));
        SIZE size{};
        GetTextExtentPoint32W(dc, caption, length, &size);
        RECT border = client;
        border.top += size.cy / 2;
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);

        const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
        const int left = MulDiv(6, dpi, 96);
        const int pad = MulDiv(2, dpi, 96);
        RECT behind{left, 0, left + size.cx + 2 * pad, size.cy};
        FillRect(dc, &behind, brush);
        SetBkMode(dc, TRANSPARENT);
        if (IsWindowEnabled(frame)) {
            TextOutW(dc, left + pad, 0, caption, length);
        } else {
            // The classic disabled look: a grey caption with a light shadow.
            const COLORREF colour = GetTextColor(dc);
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            TextOutW(dc, left + pad + 1, 1, caption, length);
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            TextOutW(dc, left + pad, 0, caption, length);
            SetTextColor(dc, colour);
        }
    }
    EndPaint(frame, &paint);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetParent(frame), message, wParam, lParam);
    case WM_SETFONT:
        SetWindowLongPtrW(frame, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam)) InvalidateRect(frame, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(frame, GWLP_USERDATA);
    case WM_ENABLE:
        InvalidateRect(frame, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills the whole frame
    case WM_PAINT:
        PaintFrame(frame);
        return 0;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

}  // namespace

bool RegisterFrameClass(HINSTANCE instance) {
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = instance;
    frame.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    frame.lpszClassName = kFrameClass;
    return RegisterClassExW(&frame) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace lumbrake::win
