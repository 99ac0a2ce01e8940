#include "form1.h"

#include "about_box.h"
#include "folder_browser.h"
#include "frame.h"
#include "owner_draw.h"
#include "resource.h"

#include <platform/reg_value.h>
#include <platform/win/shell_place_finder.h>
#include <platform/win/error_text.h>

#include <windowsx.h>

namespace lumbrake::win {

namespace {

constexpr wchar_t kFormClass[] = L"Lumbrake.Form1";

// The window's icons come with its class rather than by WM_SETICON: the window
// is then made with them, instead of being given a default icon first and then
// each of its own (under Wine, every change converts them for the X server).
[[nodiscard]] bool RegisterFormClass(HINSTANCE instance, WNDPROC procedure, HICON bigIcon, HICON smallIcon) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = procedure;
    form.hInstance = instance;
    form.hIcon = bigIcon;
    form.hIconSm = smallIcon;
    form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    return RegisterClassExW(&form) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool Form1::Show(HINSTANCE instance, int showCommand) {
    m_instance = instance;
    m_dpi = SystemDpi();
    m_pictures = LoadPictures(instance, m_dpi);
    if (!RegisterFormClass(instance, WindowProc, m_pictures.windowIcon.get(), m_pictures.smallWindowIcon.get()) ||
        !RegisterFrameClass(instance))
        return false;

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, Pixels(kClientWidth, m_dpi), Pixels(kClientHeight, m_dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    if (!CreateWindowExW(0, kFormClass, L"对话框的常用位置！", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, instance, this))
        return false;

    Form_Load();
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    return true;
}

void Form1::CompleteStartUp() {
    // A long folder path wraps at this width instead of running off the screen.
    static_cast<void>(m_toolTips.Create(m_window, m_instance, Pixels(6000, m_dpi)));
    m_helpCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32651));  // IDC_HELP
    SayWhatCouldNotBeRead();
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
    const HWND window = m_window;
    switch (message) {
        HANDLE_MSG(window, WM_CREATE, OnCreate);
        HANDLE_MSG(window, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(window, WM_CTLCOLORSTATIC, OnCtlColor);
        HANDLE_MSG(window, WM_CTLCOLOREDIT, OnCtlColor);
        HANDLE_MSG(window, WM_CTLCOLORLISTBOX, OnCtlColor);
        HANDLE_MSG(window, WM_DRAWITEM, OnDrawItem);
        HANDLE_MSG(window, WM_SETCURSOR, OnSetCursor);
        HANDLE_MSG(window, WM_COMMAND, OnCommand);
        HANDLE_MSG(window, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL Form1::OnCreate(HWND, LPCREATESTRUCT) {
    m_fonts = CreateFonts(m_dpi);
    // The tools are known now; their control comes once the window is shown.
    static_cast<Controls&>(*this) = CreateControls(m_window, m_instance, m_dpi, m_fonts, m_pictures.browse.get(), m_toolTips);
    RECT box{};
    GetClientRect(Picture1, &box);
    m_pictures.banner = LoadBanner(m_instance, {box.right, box.bottom});
    m_options.Attach({Option1, Option2, Option3});
    m_options.Check(Option1);
    return TRUE;
}

// Keeps the focus on the control that had it when the window is left and
// entered again; the first time, the first control in tab order takes it.
void Form1::OnActivate(HWND, UINT state, HWND, BOOL) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(m_window, focus)) m_lastFocus = focus;
        return;
    }
    HWND target = m_lastFocus;
    if (!target || !IsWindow(target) || (IsChild(Frame2, target) && !IsWindowEnabled(Frame2)))
        target = GetNextDlgTabItem(m_window, nullptr, FALSE);
    if (target) SetFocus(target);
}

HBRUSH Form1::OnCtlColor(HWND window, HDC dc, HWND control, int type) {
    if (type != CTLCOLOR_STATIC) {
        // The edit fields and lists of the combo boxes.
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, RGB(255, 255, 255));
        return GetStockBrush(WHITE_BRUSH);
    }
    const COLORREF colour = TextColour(GetDlgCtrlID(control));
    if (colour == kSystemColour) return FORWARD_WM_CTLCOLORSTATIC(window, dc, control, DefWindowProcW);
    SetTextColor(dc, colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void Form1::OnDrawItem(HWND, const DRAWITEMSTRUCT* item) {
    if (item->hwndItem == Command1) DrawPictureButton(*item, m_pictures.apply.get(), m_fonts.window.get(), m_dpi);
    else if (item->hwndItem == Command3) DrawPictureButton(*item, m_pictures.cancel.get(), m_fonts.window.get(), m_dpi);
    else if (item->hwndItem == Picture1) DrawBanner(*item, m_pictures.banner ? &*m_pictures.banner : nullptr);
}

BOOL Form1::OnSetCursor(HWND window, HWND under, UINT hitTest, UINT mouseMessage) {
    if (under != Picture1 || !m_helpCursor) return FORWARD_WM_SETCURSOR(window, under, hitTest, mouseMessage, DefWindowProcW);
    SetCursor(m_helpCursor);
    return TRUE;
}

// A click on an option selects it and clears the others before its handler
// runs; the click Windows makes as an option takes the focus is dropped.
void Form1::OnCommand(HWND, int id, HWND, UINT code) {
    if (id >= IDC_COMBO1_0 && id < IDC_COMBO1_0 + kSlotCount) {
        if (code == CBN_EDITCHANGE) Combo1_Change(id - IDC_COMBO1_0);
        return;
    }
    if (id >= IDC_COMMAND2_0 && id < IDC_COMMAND2_0 + kSlotCount) {
        if (code == BN_CLICKED) Command2_Click(id - IDC_COMMAND2_0);
        return;
    }
    const bool chosen = code == BN_CLICKED && !m_options.TakingFocus();
    switch (id) {
    case IDC_OPTION1: if (chosen) { m_options.Check(Option1); Option1_Click(); } break;
    case IDC_OPTION2: if (chosen) { m_options.Check(Option2); Option2_Click(); } break;
    case IDC_OPTION3: if (chosen) { m_options.Check(Option3); Option3_Click(); } break;
    case IDC_COMMAND1: if (code == BN_CLICKED) Command1_Click(); break;
    case IDC_PICTURE1: if (code == STN_CLICKED) Picture1_Click(); break;
    case IDC_COMMAND3: if (code == BN_CLICKED) Command3_Click(); break;
    }
}

void Form1::OnDestroy(HWND) { PostQuitMessage(0); }

// Shows the mode the registry holds and, in the custom mode, the stored
// places: the option first, then the frame, then PlacesMode.
void Form1::Form_Load() {
    const PlacesReading reading = ReadPlaces(m_module);
    ControlsView view = View();
    view.SelectOption(reading.mode);
    view.SetFrameEnabled(reading.mode == kModeCustom);
    PlacesMode = reading.mode;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto& read = reading.slots[static_cast<std::size_t>(slot)];
        if (!read || read->shown.text.empty()) continue;
        if (read->shown.entry) view.SelectListItem(slot, *read->shown.entry);
        else view.SetSlotText(slot, read->shown.text);
        view.SetSlotToolTip(slot, read->shown.text);
    }
    m_base = BaseOf(reading);
    // The base holds the texts exactly as the boxes show them.
    const SlotTexts shown = SlotTextsShown();
    for (std::size_t slot = 0; slot < shown.size(); ++slot) m_base.slots[slot].text = shown[slot];
    m_unreadable = reading.failures;
}

// A value that is there but cannot be read is not shown as absent: the user
// is told which, once the window is complete on the screen.
void Form1::SayWhatCouldNotBeRead() {
    if (m_unreadable.empty()) return;
    std::wstring text = L"注册表中的以下设置存在，但无法读取，窗口只显示了能读取的部分：\r\n";
    for (const ReadFailure& failure : m_unreadable) {
        std::wstring why = platform::SystemErrorText(failure.error);
        if (why.empty()) why = L"错误 " + std::to_wstring(failure.error);
        text += L"\r\nHKEY_CURRENT_USER\\" + failure.keyPath + (failure.valueName.empty() ? L"" : L"\\" + failure.valueName) + L"：" + why;
    }
    m_unreadable.clear();
    MessageBoxW(m_window, text.c_str(), L"Veltrix", MB_OK | MB_ICONWARNING);
}

SlotTexts Form1::SlotTextsShown() {
    const ControlsView view = View();
    SlotTexts slots;
    for (int slot = 0; slot < kSlotCount; ++slot) slots[static_cast<std::size_t>(slot)] = view.SlotText(slot);
    return slots;
}

// The options change only what the window holds; the registry follows on apply.
void Form1::Option1_Click() {
    EnableWindow(Frame2, FALSE);
    PlacesMode = kModeSystemDefault;
    m_modeChosen = true;
}

void Form1::Option2_Click() {
    EnableWindow(Frame2, FALSE);
    PlacesMode = kModeNoPlacesBar;
    m_modeChosen = true;
}

void Form1::Option3_Click() {
    EnableWindow(Frame2, TRUE);
    PlacesMode = kModeCustom;
    m_modeChosen = true;
}

// A slot's new text counts only when the user applies.
void Form1::Combo1_Change(int) {}

// The chosen folder's path becomes the slot's text and tool tip; cancelling
// leaves the slot as it was.
void Form1::Command2_Click(int index) {
    const std::optional<std::wstring> path = BrowseForFolder(m_window, m_module.CodePage());
    // A choice without a file-system path (the computer itself, say) is no
    // folder to store: emptying the slot would delete its place on apply.
    if (!path || path->empty()) return;
    ControlsView view = View();
    view.SetSlotText(index, *path);
    view.SetSlotToolTip(index, *path);
}

// Writes the mode, and in the custom mode the slots the user changed, then
// says which mode was set, or that the registry refused a write.
void Form1::Command1_Click() {
    const ApplyOutcome outcome = ApplyMode(m_module, PlacesMode, m_modeChosen ? ModeChoice::Chosen : ModeChoice::AsShown, SlotTextsShown(), m_base);
    if (outcome == ApplyOutcome::Confirmed) m_modeChosen = false;
    const ApplyMessage message = MessageFor(outcome, PlacesMode);
    MessageBoxW(m_window, std::wstring(message.text).c_str(), L"Veltrix", MB_OK | (message.isError ? MB_ICONERROR : 0));
    if (outcome == ApplyOutcome::Confirmed && PlacesMode == kModeCustom) SayWhatTheDialogsLeaveOut();
}

// The dialogs leave out, without a word, a place they cannot find: the
// places now stored are looked for as they look, and the user is told.
void Form1::SayWhatTheDialogsLeaveOut() {
    platform::ShellPlaceFinder finder;
    std::wstring text;
    for (const PlaceCheck& check : CheckPlaces(ReadNow(m_module).slots, finder)) {
        if (check.reason == DropReason::None) continue;
        std::wstring why;
        switch (check.reason) {
        case DropReason::UnknownFolderId: why = L"本系统没有这个编号的特殊文件夹"; break;
        case DropReason::PathNotFound: why = L"找不到这个文件夹"; break;
        case DropReason::WrongDwordSize: why = L"长度不是 4 字节的 REG_DWORD 不是文件夹编号"; break;
        default: why = platform::RegTypeName(check.stored.type) + L" 类型的值既不是文件夹编号也不是路径"; break;
        }
        text += L"\r\n" + std::to_wstring(check.slot + 1) + L"：" + ShowPlace(Decode(check.stored)).text + L"（" + why + L"）";
    }
    if (text.empty()) return;
    text = L"“打开”和“保存”对话框会略过下面这些位置，不会显示它们：\r\n" + text;
    MessageBoxW(m_window, text.c_str(), L"Veltrix", MB_OK | MB_ICONWARNING);
}

void Form1::Picture1_Click() { ShowAboutAndOpenForum(m_window); }

// Leaves without a question and without writing: what was not applied is lost.
void Form1::Command3_Click() { DestroyWindow(m_window); }

}  // namespace lumbrake::win
