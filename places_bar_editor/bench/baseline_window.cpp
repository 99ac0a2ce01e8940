// The yardstick of Lumbrake's start-up time: a process showing one empty
// window of the same size, or, given "controls", the same 22 standard
// controls with their three fonts and list entries, created plainly (no
// pictures, tool tips, registry or dialog keyboard handling).
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int Pixels(int twips, int dpi) { return twips * dpi / 1440; }

void CreatePlainControls(HWND form, HINSTANCE instance, int dpi) {
    auto font = [dpi](int tenthsOfPoint, int weight, BYTE charset, const wchar_t* face) {
        return CreateFontW(-MulDiv(tenthsOfPoint, dpi, 720), 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    };
    HFONT optionFont = font(90, FW_BOLD, GB2312_CHARSET, L"宋体");
    HFONT comboFont = font(120, FW_NORMAL, GB2312_CHARSET, L"宋体");
    HFONT labelFont = font(105, FW_NORMAL, ANSI_CHARSET, L"Arial Black");
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, int l, int t, int w, int h, HFONT f) {
        HWND control = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, Pixels(l, dpi), Pixels(t, dpi), Pixels(w, dpi),
                                       Pixels(h, dpi), parent, nullptr, instance, nullptr);
        if (f) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
        return control;
    };
    const wchar_t* entries[] = {L"桌面|00",     L"我的文档|05", L"收藏夹|06",     L"最近的文档|08", L"My Music|13",
                                L"My Video|14", L"我的电脑|17", L"网上邻居|18",   L"历史记录|34",   L"My Picture|39",
                                L"共享文档|46", L"共享音乐|53", L"共享视频|55"};
    make(L"Button", L"取     消", BS_PUSHBUTTON, form, 1740, 4020, 1200, 375, nullptr);
    make(L"Button", L" ★ 自 定 义 常 用 位 置 ↙", BS_RADIOBUTTON, form, 60, 840, 3195, 240, optionFont);
    make(L"Button", L"应      用", BS_PUSHBUTTON, form, 240, 4020, 1200, 375, nullptr);
    make(L"Button", L" 使 用 XP 的 默 认 配 置 √", BS_RADIOBUTTON, form, 60, 120, 3195, 240, optionFont);
    make(L"Button", L" 不 显 示 常 用 位 置 栏 ×", BS_RADIOBUTTON, form, 60, 480, 3195, 240, optionFont);
    HWND frame = make(L"Button", L"[ 常用位置 ]", BS_GROUPBOX, form, 10, 1200, 3165, 2760, nullptr);
    for (int i = 4; i >= 0; --i) {
        HWND combo = make(L"ComboBox", L"", CBS_DROPDOWN | WS_VSCROLL, frame, 420, 360 + 480 * i, 2175, 2000, comboFont);
        for (const wchar_t* entry : entries) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    for (int i = 4; i >= 0; --i) make(L"Button", L"", BS_PUSHBUTTON, frame, 2700, 360 + 480 * i, 345, 330, nullptr);
    const wchar_t* labels[] = {L"5：", L"4：", L"3：", L"2：", L"1："};
    for (int i = 0; i < 5; ++i) make(L"Static", labels[i], SS_LEFT, frame, 120, 2340 - 480 * i, 315, 255, labelFont);
    make(L"Static", L"", SS_LEFT, form, 0, 4440, 3180, 720, nullptr);
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
    RECT frame{0, 0, Pixels(3180, dpi), Pixels(5160, dpi)};
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
