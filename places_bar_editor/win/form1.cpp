#include "form1.h"

#include "form1_view.h"
#include "about_box.h"
#include "apply.h"
#include "folder_browser.h"
#include "resource.h"
#include "startup.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <span>

namespace lumbrake::win {

namespace {

constexpr wchar_t kFormClass[] = L"Lumbrake.Form1";
constexpr wchar_t kFrameClass[] = L"Lumbrake.Frame";

enum class Kind { Command, Browse, Option, Frame, Combo, Label, Picture };

// One row per control, in the order the window creates them. Places and
// sizes are twips in the client area of the container.
struct ControlRow {
    int id;
    Kind kind;
    bool inFrame;
    const wchar_t* text;
    int left, top, width, height;
    int tabIndex;
};

constexpr ControlRow kControls[] = {
    {IDC_COMMAND3, Kind::Command, false, L"取     消", 1740, 4020, 1200, 375, 21},
    {IDC_OPTION3, Kind::Option, false, L" ★ 自 定 义 常 用 位 置 ↙", 60, 840, 3195, 240, 7},
    {IDC_COMMAND1, Kind::Command, false, L"应      用", 240, 4020, 1200, 375, 6},
    {IDC_OPTION1, Kind::Option, false, L" 使 用 XP 的 默 认 配 置 √", 60, 120, 3195, 240, 5},
    {IDC_OPTION2, Kind::Option, false, L" 不 显 示 常 用 位 置 栏 ×", 60, 480, 3195, 240, 4},
    {IDC_FRAME2, Kind::Frame, false, L"[ 常用位置 ]", 10, 1200, 3165, 2760, 0},
    {IDC_COMBO1_0 + 4, Kind::Combo, true, L"", 420, 2280, 2175, 360, 19},
    {IDC_COMBO1_0 + 3, Kind::Combo, true, L"", 420, 1800, 2175, 360, 18},
    {IDC_COMBO1_0 + 2, Kind::Combo, true, L"", 420, 1320, 2175, 360, 17},
    {IDC_COMBO1_0 + 1, Kind::Combo, true, L"", 420, 840, 2175, 360, 16},
    {IDC_COMMAND2_0 + 4, Kind::Browse, true, L"", 2700, 2280, 345, 330, 15},
    {IDC_COMMAND2_0 + 3, Kind::Browse, true, L"", 2700, 1800, 345, 330, 14},
    {IDC_COMMAND2_0 + 2, Kind::Browse, true, L"", 2700, 1320, 345, 330, 13},
    {IDC_COMMAND2_0 + 1, Kind::Browse, true, L"", 2700, 840, 345, 330, 12},
    {IDC_COMMAND2_0 + 0, Kind::Browse, true, L"", 2700, 360, 345, 330, 11},
    {IDC_COMBO1_0 + 0, Kind::Combo, true, L"", 420, 360, 2175, 360, 10},
    {IDC_LABEL2, Kind::Label, true, L"5：", 120, 2340, 315, 255, 9},
    {IDC_LABEL1, Kind::Label, true, L"4：", 120, 1860, 315, 255, 8},
    {IDC_LABEL9, Kind::Label, true, L"3：", 120, 1380, 315, 255, 3},
    {IDC_LABEL10, Kind::Label, true, L"2：", 120, 900, 315, 255, 2},
    {IDC_LABEL11, Kind::Label, true, L"1：", 120, 420, 315, 255, 1},
    {IDC_PICTURE1, Kind::Picture, false, L"", 0, 4440, 3180, 720, 20},
};
constexpr std::size_t kControlCount = std::size(kControls);
static_assert(kControlCount == 22);

constexpr int kClientWidth = 3180;  // twips
constexpr int kClientHeight = 5160;

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The button procedure that the option buttons' subclass passes messages on to.
WNDPROC g_buttonProc = nullptr;

void PaintFrame(HWND frame) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(frame, &paint);
    {
        RECT client;
        GetClientRect(frame, &client);
        const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, GWLP_USERDATA));
        platform::SelectedObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
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

// Frame2: a container, so that disabling it takes input from every control
// in it. Its controls report to it; Form1 handles their events.
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

HICON LoadIconSized(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

// The window's icons come with its class rather than by WM_SETICON: the window
// is then made with them, instead of being given a default icon first and then
// each of its own (under Wine, every change converts them for the X server).
bool RegisterClasses(HINSTANCE instance, WNDPROC formProc, HICON bigIcon, HICON smallIcon) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hIcon = bigIcon;
    form.hIconSm = smallIcon;
    form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;

    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = instance;
    frame.hCursor = form.hCursor;
    frame.lpszClassName = kFrameClass;
    return RegisterClassExW(&form) && RegisterClassExW(&frame);
}

HWND EditOf(HWND combo) { return FindWindowExW(combo, nullptr, L"Edit", nullptr); }

// Makes the box as high as the layout says, whatever its font makes of it.
// The field height that does so is found on the first box, asking twice since
// Wine adds 2 pixels to the height it is given, then given to the others at
// once: each resize of a box moves its drop-down list, a window of its own.
void FitComboHeight(HWND combo, int height, LRESULT& fieldHeight) {
    const LRESULT own = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (fieldHeight < 0) fieldHeight = own;
    else if (fieldHeight != own) SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight);
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT box;
        GetWindowRect(combo, &box);
        if (box.bottom - box.top == height) return;
        fieldHeight += height - (box.bottom - box.top);
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight);
    }
}

}  // namespace

bool Form1::Show(HINSTANCE instance, int showCommand) {
    m_instance = instance;
    m_dpi = SystemDpi();
    m_bigIcon.reset(LoadIconSized(instance, IDI_LUMBRAKE, GetSystemMetrics(SM_CXICON)));
    m_smallIcon.reset(LoadIconSized(instance, IDI_LUMBRAKE, GetSystemMetrics(SM_CXSMICON)));
    if (!RegisterClasses(instance, WindowProc, m_bigIcon.get(), m_smallIcon.get())) return false;

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, Pixels(kClientWidth), Pixels(kClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    if (!CreateWindowExW(0, kFormClass, L"对话框的常用位置！", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, instance, this))
        return false;

    Form_Load();
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    return true;
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Only an allocation can throw here; the message is left to the system.
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETCURSOR: if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE; break;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

// The option buttons: Tab passes over the unchecked ones, as the dialog
// manager does with a group of options, and the arrow keys move the choice
// among the three. Windows also clicks an unchecked radio button that gets
// the focus from the keyboard; that click is dropped, so that only the arrow
// keys, Space and the mouse choose.
LRESULT CALLBACK Form1::OptionProc(HWND option, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(option, GWLP_USERDATA));
    if (form && message == WM_GETDLGCODE)
        return CallWindowProcW(g_buttonProc, option, message, wParam, lParam) | DLGC_WANTARROWS;
    if (form && message == WM_KEYDOWN && wParam >= VK_LEFT && wParam <= VK_DOWN) {
        form->MoveOption(option, wParam == VK_LEFT || wParam == VK_UP ? -1 : 1);
        return 0;
    }
    if (!form || message != WM_SETFOCUS) return CallWindowProcW(g_buttonProc, option, message, wParam, lParam);
    form->m_optionTakingFocus = true;
    const LRESULT result = CallWindowProcW(g_buttonProc, option, message, wParam, lParam);
    form->m_optionTakingFocus = false;
    return result;
}

// Options top to bottom, wrapping round, each step a choice as a click is.
void Form1::MoveOption(HWND from, int step) {
    const std::array<HWND, 3> options = {Option1, Option2, Option3};
    const auto at = std::find(options.begin(), options.end(), from) - options.begin();
    const auto next = static_cast<std::size_t>((at + step + 3) % 3);
    SetFocus(options[next]);
    OnCommand(GetDlgCtrlID(options[next]), BN_CLICKED);
}

bool Form1::OnCreate() {
    CreateFonts();
    m_applyIcon.reset(LoadIconSized(m_instance, IDI_APPLY, 32));
    m_cancelIcon.reset(LoadIconSized(m_instance, IDI_CANCEL, 32));
    m_browseIcon.reset(LoadIconSized(m_instance, IDI_BROWSE, 16));
    m_helpCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32651));  // IDC_HELP
    LoadBanner();

    CreateControls();
    CreateToolTips();
    CheckOption(Option1);
    return true;
}

void Form1::CreateFonts() {
    auto font = [this](int tenthsOfPoint, int weight, BYTE charset, const wchar_t* face) {
        return UniqueHfont(CreateFontW(-MulDiv(tenthsOfPoint, m_dpi, 720), 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    };
    m_windowFont = font(90, FW_NORMAL, GB2312_CHARSET, L"宋体");
    m_optionFont = font(90, FW_BOLD, GB2312_CHARSET, L"宋体");
    m_comboFont = font(120, FW_NORMAL, GB2312_CHARSET, L"宋体");
    m_labelFont = font(105, FW_NORMAL, ANSI_CHARSET, L"Arial Black");

    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, m_comboFont.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    m_comboLineHeight = metrics.tmHeight;
}

void Form1::CreateControls() {
    std::array<HWND, kControlCount> created{};
    LRESULT comboFieldHeight = -1;  // not yet known
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControls[i];
        // Both edges are converted, so that controls that meet in twips meet in pixels.
        const int x = Pixels(row.left), y = Pixels(row.top);
        const int width = Pixels(row.left + row.width) - x, height = Pixels(row.top + row.height) - y;
        const wchar_t* className = L"Button";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        HFONT font = m_windowFont.get();
        switch (row.kind) {
        case Kind::Command: style |= WS_TABSTOP | BS_OWNERDRAW; break;
        case Kind::Browse: style |= WS_TABSTOP | BS_PUSHBUTTON | BS_ICON; break;
        case Kind::Option:
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            font = m_optionFont.get();
            break;
        case Kind::Frame:
            className = kFrameClass;
            style |= WS_CLIPCHILDREN | WS_DISABLED;
            exStyle = WS_EX_CONTROLPARENT;
            break;
        case Kind::Combo:
            className = L"ComboBox";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            font = m_comboFont.get();
            break;
        case Kind::Label:
            className = L"Static";
            style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
            font = m_labelFont.get();
            break;
        case Kind::Picture:
            className = L"Static";
            style |= WS_TABSTOP | WS_BORDER | SS_OWNERDRAW | SS_NOTIFY;
            break;
        }
        // A combo box is created as high as its dropped list reaches: all thirteen entries.
        const int createdHeight = row.kind == Kind::Combo ? height + m_comboLineHeight * static_cast<int>(kPlaceEntries.size()) + 2 : height;
        HWND control = CreateWindowExW(exStyle, className, row.text, style, x, y, width, createdHeight, row.inFrame ? Frame2 : m_window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), m_instance, nullptr);
        created[i] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        switch (row.id) {
        case IDC_COMMAND3: Command3 = control; break;
        case IDC_OPTION3: Option3 = control; break;
        case IDC_COMMAND1: Command1 = control; break;
        case IDC_OPTION1: Option1 = control; break;
        case IDC_OPTION2: Option2 = control; break;
        case IDC_FRAME2: Frame2 = control; break;
        case IDC_LABEL2: Label2 = control; break;
        case IDC_LABEL1: Label1 = control; break;
        case IDC_LABEL9: Label9 = control; break;
        case IDC_LABEL10: Label10 = control; break;
        case IDC_LABEL11: Label11 = control; break;
        case IDC_PICTURE1: Picture1 = control; break;
        }
        if (row.kind == Kind::Combo) {
            Combo1[static_cast<std::size_t>(row.id - IDC_COMBO1_0)] = control;
            for (std::wstring_view entry : kPlaceEntries) SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.data()));
            // No limit to what the field holds: a stored path shown cut short
            // would be taken for a change and written back so.
            SendMessageW(control, CB_LIMITTEXT, 0, 0);
            FitComboHeight(control, height, comboFieldHeight);
        } else if (row.kind == Kind::Browse) {
            Command2[static_cast<std::size_t>(row.id - IDC_COMMAND2_0)] = control;
            SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_browseIcon.get()));
        } else if (row.kind == Kind::Option) {
            SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            g_buttonProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1::OptionProc)));
        }
    }
    StackInTabOrder(created);
}

// The dialog manager tabs through siblings in Z order, and through the
// controls in Frame2 where Frame2 stands among its siblings. So each container
// stacks its controls by tab index, Frame2 stands where its first tab stop's
// index falls, and the labels, which take no focus, go beneath the boxes
// they touch.
void Form1::StackInTabOrder(const std::array<HWND, 22>& created) {
    int firstInFrame = 1000;
    for (const ControlRow& row : kControls)
        if (row.inFrame && row.kind != Kind::Label) firstInFrame = std::min(firstInFrame, row.tabIndex);

    std::array<std::size_t, kControlCount> order{};
    for (std::size_t i = 0; i < kControlCount; ++i) order[i] = i;
    auto key = [&](std::size_t i) {
        const ControlRow& row = kControls[i];
        if (row.kind == Kind::Frame) return firstInFrame;
        if (row.kind == Kind::Label) return 1000 + row.tabIndex;
        return row.tabIndex;
    };
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });

    HWND previousOnForm = HWND_TOP, previousInFrame = HWND_TOP;
    for (std::size_t i : order) {
        HWND& previous = kControls[i].inFrame ? previousInFrame : previousOnForm;
        SetWindowPos(created[i], previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = created[i];
    }
}

void Form1::CreateToolTips() {
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, m_instance, nullptr);
    // A long folder path wraps instead of running off the screen.
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, Pixels(6000));
    for (std::size_t i = 0; i < Command2.size(); ++i)
        AddToolTip(Command2[i], i == 0 ? L"点击来选择你最常用的五个目录！" : L"点击来选择你最常用的五个目录");
    AddToolTip(Picture1, L"About Me ! Quillon");
    // The mouse over an editable box is over its edit field, a window of its own.
    for (HWND combo : Combo1) {
        AddToolTip(combo, L"");
        AddToolTip(EditOf(combo), L"");
    }
}

void Form1::AddToolTip(HWND tool, const std::wstring& text) {
    TTTOOLINFOW info{};
    // The size of comctl32 5.8, which Windows XP loads for a program without a
    // manifest dependency: it refuses the larger newer record.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    // Not TTF_SUBCLASS: the message loop relays the mouse instead. A subclassed
    // tool pays a property lookup on every message it gets, a server call under
    // Wine, which made the first painting of the window measurably slower.
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Form1::RelayToToolTips(const MSG& message) const {
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (m_toolTip) SendMessageW(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        break;
    }
}

void Form1::SetToolTipText(HWND tool, const std::wstring& text) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void Form1::SetComboToolTip(int index, const std::wstring& text) {
    HWND combo = Combo1[static_cast<std::size_t>(index)];
    SetToolTipText(combo, text);
    SetToolTipText(EditOf(combo), text);
}

void Form1::LoadBanner() {
    HRSRC resource = FindResourceW(m_instance, MAKEINTRESOURCEW(IDR_BANNER), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!resource) return;
    const void* data = LockResource(LoadResource(m_instance, resource));
    const DWORD size = SizeofResource(m_instance, resource);
    if (!data || size == 0) return;
    m_banner = DecodeGif(std::span(static_cast<const std::uint8_t*>(data), size));
}

void Form1::CheckOption(HWND option) {
    for (HWND each : {Option1, Option2, Option3})
        SendMessageW(each, BM_SETCHECK, each == option ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form1::OnCommand(int id, UINT code) {
    if (id >= IDC_COMBO1_0 && id < IDC_COMBO1_0 + kSlotCount) {
        if (code == CBN_EDITCHANGE) Combo1_Change(id - IDC_COMBO1_0);
        return;
    }
    if (id >= IDC_COMMAND2_0 && id < IDC_COMMAND2_0 + kSlotCount) {
        if (code == BN_CLICKED) Command2_Click(id - IDC_COMMAND2_0);
        return;
    }
    // A click on an option selects it and clears the others before its handler runs.
    switch (id) {
    case IDC_COMMAND1: if (code == BN_CLICKED) Command1_Click(); break;
    case IDC_COMMAND3: if (code == BN_CLICKED) Command3_Click(); break;
    case IDC_PICTURE1: if (code == STN_CLICKED) Picture1_Click(); break;
    case IDC_OPTION1: if (code == BN_CLICKED && !m_optionTakingFocus) { CheckOption(Option1); Option1_Click(); } break;
    case IDC_OPTION2: if (code == BN_CLICKED && !m_optionTakingFocus) { CheckOption(Option2); Option2_Click(); } break;
    case IDC_OPTION3: if (code == BN_CLICKED && !m_optionTakingFocus) { CheckOption(Option3); Option3_Click(); } break;
    }
}

LRESULT Form1::OnCtlColor(UINT message, HDC dc, HWND control) {
    if (message != WM_CTLCOLORSTATIC) {
        // The edit fields and lists of the combo boxes.
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    COLORREF colour;
    if (control == Option1) colour = RGB(0, 128, 0);
    else if (control == Option2) colour = RGB(255, 0, 0);
    else if (control == Option3 || control == Frame2) colour = RGB(0, 0, 255);
    else if (control == Label2 || control == Label1 || control == Label9 || control == Label10 || control == Label11) colour = RGB(0, 0, 192);
    else return DefWindowProcW(m_window, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    SetTextColor(dc, colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Form1::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem == Command1) DrawPictureButton(item, m_applyIcon.get());
    else if (item.hwndItem == Command3) DrawPictureButton(item, m_cancelIcon.get());
    else if (item.hwndItem == Picture1) DrawBanner(item);
}

// A push button with its picture and caption side by side: at the layout's
// height a 32 x 32 picture cannot stand above the caption.
void Form1::DrawPictureButton(const DRAWITEMSTRUCT& item, HICON icon) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    RECT content = item.rcItem;
    InflateRect(&content, -3, -3);
    if (pushed) OffsetRect(&content, 1, 1);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, content.left, content.top, content.right, content.bottom);
    SelectObject(dc, m_windowFont.get());

    wchar_t caption[32];
    const int length = GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    SIZE text{};
    GetTextExtentPoint32W(dc, caption, length, &text);
    const int width = content.right - content.left, height = content.bottom - content.top;
    const int gap = MulDiv(3, m_dpi, 96);
    const int iconSize = std::max(std::min({32, height, width - gap - static_cast<int>(text.cx)}), height / 2);
    const int x = content.left + std::max(0, (width - iconSize - gap - static_cast<int>(text.cx)) / 2);
    DrawIconEx(dc, x, content.top + (height - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    TextOutW(dc, x + iconSize + gap, content.top + (height - static_cast<int>(text.cy)) / 2, caption, length);
    RestoreDC(dc, saved);

    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &content);
}

// The banner at the top-left, in its own pixels at any DPI.
void Form1::DrawBanner(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const int saved = SaveDC(dc);
    if (m_banner) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_banner->width;
        info.bmiHeader.biHeight = -m_banner->height;  // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const int left = item.rcItem.left, top = item.rcItem.top;
        SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(m_banner->width), static_cast<DWORD>(m_banner->height), 0, 0, 0,
                          static_cast<UINT>(m_banner->height), m_banner->pixels.data(), &info, DIB_RGB_COLORS);
        ExcludeClipRect(dc, left, top, left + m_banner->width, top + m_banner->height);
    }
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    RestoreDC(dc, saved);
}

bool Form1::OnSetCursor(HWND under) {
    if (under != Picture1) return false;
    SetCursor(m_helpCursor);
    return true;
}

// Keeps the focus on the control that had it when the window is left and
// entered again; the first time, the first control in tab order takes it.
void Form1::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(m_window, focus)) m_lastFocus = focus;
        return;
    }
    HWND target = m_lastFocus;
    if (!target || !IsWindow(target) || (IsChild(Frame2, target) && !IsWindowEnabled(Frame2)))
        target = GetNextDlgTabItem(m_window, nullptr, FALSE);
    if (target) SetFocus(target);
}

void Form1::OnDestroy() { PostQuitMessage(0); }

void Form1::Form_Load() {
    ControlsView view(*this);
    PlacesMode = LoadPlacesConfiguration(m_module, view);
}

// Writes the mode, and in the custom mode the five slots as they are shown,
// then says which mode was set, or that the registry refused a write.
void Form1::Command1_Click() {
    SlotTexts slots;
    ControlsView view(*this);
    for (int slot = 0; slot < kSlotCount; ++slot) slots[static_cast<std::size_t>(slot)] = view.SlotText(slot);
    const ApplyOutcome outcome = ApplyMode(m_module, PlacesMode, slots);
    const ApplyMessage message = MessageFor(outcome, PlacesMode);
    MessageBoxW(m_window, std::wstring(message.text).c_str(), L"Veltrix", MB_OK | (message.isError ? MB_ICONERROR : 0));
}

// The chosen folder's path becomes the slot's text and tool tip; cancelling
// leaves the slot as it was.
void Form1::Command2_Click(int index) {
    const std::optional<std::wstring> path = BrowseForFolder(m_window, m_module.CodePage());
    // A choice without a file-system path (the computer itself, say) is no
    // folder to store: emptying the slot would delete its place on apply.
    if (!path || path->empty()) return;
    SetWindowTextW(Combo1[static_cast<std::size_t>(index)], path->c_str());
    SetComboToolTip(index, *path);
}

// The options change only what the window holds; the registry follows on apply.
void Form1::Option1_Click() {
    EnableWindow(Frame2, FALSE);
    PlacesMode = kModeSystemDefault;
}

void Form1::Option2_Click() {
    EnableWindow(Frame2, FALSE);
    PlacesMode = kModeNoPlacesBar;
}

void Form1::Option3_Click() {
    EnableWindow(Frame2, TRUE);
    PlacesMode = kModeCustom;
}

// Leaves without a question and without writing: what was not applied is lost.
void Form1::Command3_Click() { DestroyWindow(m_window); }

void Form1::Picture1_Click() { ShowAboutAndOpenForum(m_window); }

// A slot's new text counts only when the user applies.
void Form1::Combo1_Change(int) {}

}  // namespace lumbrake::win
