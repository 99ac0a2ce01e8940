#include "layout.h"

#include "frame.h"

#include <algorithm>

namespace lumbrake::win {

namespace {

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

// The dialog manager tabs through siblings in Z order, and through the
// controls in Frame2 where Frame2 stands among its siblings. So each container
// stacks its controls by tab index, Frame2 stands where its first tab stop's
// index falls, and the labels, which take no focus, go beneath the boxes
// they touch.
void StackInTabOrder(const std::array<HWND, kControlCount>& created) {
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

void Name(Controls& controls, const ControlRow& row, HWND control) {
    switch (row.id) {
    case IDC_COMMAND3: controls.Command3 = control; break;
    case IDC_OPTION3: controls.Option3 = control; break;
    case IDC_COMMAND1: controls.Command1 = control; break;
    case IDC_OPTION1: controls.Option1 = control; break;
    case IDC_OPTION2: controls.Option2 = control; break;
    case IDC_FRAME2: controls.Frame2 = control; break;
    case IDC_LABEL2: controls.Label2 = control; break;
    case IDC_LABEL1: controls.Label1 = control; break;
    case IDC_LABEL9: controls.Label9 = control; break;
    case IDC_LABEL10: controls.Label10 = control; break;
    case IDC_LABEL11: controls.Label11 = control; break;
    case IDC_PICTURE1: controls.Picture1 = control; break;
    }
    if (row.kind == Kind::Combo) controls.Combo1[static_cast<std::size_t>(row.id - IDC_COMBO1_0)] = control;
    if (row.kind == Kind::Browse) controls.Command2[static_cast<std::size_t>(row.id - IDC_COMMAND2_0)] = control;
}

}  // namespace

int SystemDpi() {
    const platform::UniqueScreenDc screen(GetDC(nullptr));
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

Fonts CreateFonts(int dpi) {
    auto font = [dpi](int tenthsOfPoint, int weight, BYTE charset, const wchar_t* face) {
        return platform::UniqueHfont(CreateFontW(-MulDiv(tenthsOfPoint, dpi, 720), 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    };
    Fonts fonts;
    fonts.window = font(90, FW_NORMAL, GB2312_CHARSET, L"宋体");
    fonts.option = font(90, FW_BOLD, GB2312_CHARSET, L"宋体");
    fonts.combo = font(120, FW_NORMAL, GB2312_CHARSET, L"宋体");
    fonts.label = font(105, FW_NORMAL, ANSI_CHARSET, L"Arial Black");

    const platform::UniqueScreenDc screen(GetDC(nullptr));
    const platform::SelectedObject selected(screen.get(), fonts.combo.get());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(screen.get(), &metrics)) fonts.comboLineHeight = metrics.tmHeight;
    return fonts;
}

Controls CreateControls(HWND form, HINSTANCE instance, int dpi, const Fonts& fonts, HICON browseIcon, ToolTips& toolTips) {
    Controls controls;
    std::array<HWND, kControlCount> created{};
    LRESULT comboFieldHeight = -1;  // not yet known
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControls[i];
        const RECT place = PixelRect(row, dpi);
        const int width = place.right - place.left, height = place.bottom - place.top;
        const wchar_t* className = L"Button";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        HFONT font = fonts.window.get();
        switch (row.kind) {
        case Kind::Command: style |= WS_TABSTOP | BS_OWNERDRAW; break;
        case Kind::Browse: style |= WS_TABSTOP | BS_PUSHBUTTON | BS_ICON; break;
        case Kind::Option:
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            font = fonts.option.get();
            break;
        case Kind::Frame:
            className = kFrameClass;
            style |= WS_CLIPCHILDREN | WS_DISABLED;
            exStyle = WS_EX_CONTROLPARENT;
            break;
        case Kind::Combo:
            className = L"ComboBox";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            font = fonts.combo.get();
            break;
        case Kind::Label:
            className = L"Static";
            style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
            font = fonts.label.get();
            break;
        case Kind::Picture:
            className = L"Static";
            style |= WS_TABSTOP | WS_BORDER | SS_OWNERDRAW | SS_NOTIFY;
            break;
        }
        // A combo box is created as high as its dropped list reaches: all thirteen entries.
        const int createdHeight =
            row.kind == Kind::Combo ? height + fonts.comboLineHeight * static_cast<int>(kPlaceEntries.size()) + 2 : height;
        HWND control = CreateWindowExW(exStyle, className, row.text, style, place.left, place.top, width, createdHeight,
                                       row.inFrame ? controls.Frame2 : form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance,
                                       nullptr);
        created[i] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Name(controls, row, control);
        if (row.toolTip && row.kind == Kind::Combo) toolTips.AddBox(control, row.toolTip);
        else if (row.toolTip) toolTips.Add(control, row.toolTip);

        if (row.kind == Kind::Combo) {
            for (std::wstring_view entry : kPlaceEntries) SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.data()));
            FitComboHeight(control, height, comboFieldHeight);
        } else if (row.kind == Kind::Browse) {
            SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(browseIcon));
        }
    }
    StackInTabOrder(created);
    return controls;
}

}  // namespace lumbrake::win
