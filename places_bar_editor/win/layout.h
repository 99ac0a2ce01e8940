#pragma once
// Form1's layout: one row per control, in the order the window creates them,
// with its place and size in twips of its container's client area, its tab
// index, text colour and tool tip; the fonts; and the making of the controls
// at the system DPI, stacked in tab order.
#include <places_bar/places.h>
#include "resource.h"
#include "tool_tips.h"

#include <platform/win/unique.h>

#include <windows.h>

#include <array>
#include <cstddef>
#include <iterator>

namespace lumbrake::win {

enum class Kind { Command, Browse, Option, Frame, Combo, Label, Picture };

// A text colour, or the system's colour for the control's kind.
inline constexpr COLORREF kSystemColour = CLR_INVALID;

struct ControlRow {
    int id;
    Kind kind;
    bool inFrame;
    const wchar_t* text;
    int left, top, width, height;
    int tabIndex;
    COLORREF textColour;
    const wchar_t* toolTip;  // none when null; a box's is set as it is filled
};

inline constexpr const wchar_t* kBrowseTip = L"点击来选择你最常用的五个目录";

inline constexpr ControlRow kControls[] = {
    {IDC_COMMAND3, Kind::Command, false, L"取     消", 1740, 4020, 1200, 375, 21, kSystemColour, nullptr},
    {IDC_OPTION3, Kind::Option, false, L" ★ 自 定 义 常 用 位 置 ↙", 60, 840, 3195, 240, 7, RGB(0, 0, 255), nullptr},
    {IDC_COMMAND1, Kind::Command, false, L"应      用", 240, 4020, 1200, 375, 6, kSystemColour, nullptr},
    {IDC_OPTION1, Kind::Option, false, L" 使 用 XP 的 默 认 配 置 √", 60, 120, 3195, 240, 5, RGB(0, 128, 0), nullptr},
    {IDC_OPTION2, Kind::Option, false, L" 不 显 示 常 用 位 置 栏 ×", 60, 480, 3195, 240, 4, RGB(255, 0, 0), nullptr},
    {IDC_FRAME2, Kind::Frame, false, L"[ 常用位置 ]", 10, 1200, 3165, 2760, 0, RGB(0, 0, 255), nullptr},
    {IDC_COMBO1_0 + 4, Kind::Combo, true, L"", 420, 2280, 2175, 360, 19, kSystemColour, L""},
    {IDC_COMBO1_0 + 3, Kind::Combo, true, L"", 420, 1800, 2175, 360, 18, kSystemColour, L""},
    {IDC_COMBO1_0 + 2, Kind::Combo, true, L"", 420, 1320, 2175, 360, 17, kSystemColour, L""},
    {IDC_COMBO1_0 + 1, Kind::Combo, true, L"", 420, 840, 2175, 360, 16, kSystemColour, L""},
    {IDC_COMMAND2_0 + 4, Kind::Browse, true, L"", 2700, 2280, 345, 330, 15, kSystemColour, kBrowseTip},
    {IDC_COMMAND2_0 + 3, Kind::Browse, true, L"", 2700, 1800, 345, 330, 14, kSystemColour, kBrowseTip},
    {IDC_COMMAND2_0 + 2, Kind::Browse, true, L"", 2700, 1320, 345, 330, 13, kSystemColour, kBrowseTip},
    {IDC_COMMAND2_0 + 1, Kind::Browse, true, L"", 2700, 840, 345, 330, 12, kSystemColour, kBrowseTip},
    {IDC_COMMAND2_0 + 0, Kind::Browse, true, L"", 2700, 360, 345, 330, 11, kSystemColour, L"点击来选择你最常用的五个目录！"},
    {IDC_COMBO1_0 + 0, Kind::Combo, true, L"", 420, 360, 2175, 360, 10, kSystemColour, L""},
    {IDC_LABEL2, Kind::Label, true, L"5：", 120, 2340, 315, 255, 9, RGB(0, 0, 192), nullptr},
    {IDC_LABEL1, Kind::Label, true, L"4：", 120, 1860, 315, 255, 8, RGB(0, 0, 192), nullptr},
    {IDC_LABEL9, Kind::Label, true, L"3：", 120, 1380, 315, 255, 3, RGB(0, 0, 192), nullptr},
    {IDC_LABEL10, Kind::Label, true, L"2：", 120, 900, 315, 255, 2, RGB(0, 0, 192), nullptr},
    {IDC_LABEL11, Kind::Label, true, L"1：", 120, 420, 315, 255, 1, RGB(0, 0, 192), nullptr},
    {IDC_PICTURE1, Kind::Picture, false, L"", 0, 4440, 3180, 720, 20, kSystemColour, L"About Me ! Quillon"},
};
inline constexpr std::size_t kControlCount = std::size(kControls);
static_assert(kControlCount == 22);

inline constexpr int kClientWidth = 3180;  // twips
inline constexpr int kClientHeight = 5160;

// Combo1[i] and Command2[i] are found by id - first id: every row of an
// array lies in its range, and no other control's id does.
constexpr bool IdsOfArraysAreContiguous() {
    for (const ControlRow& row : kControls) {
        const bool inCombos = row.id >= IDC_COMBO1_0 && row.id < IDC_COMBO1_0 + kSlotCount;
        const bool inButtons = row.id >= IDC_COMMAND2_0 && row.id < IDC_COMMAND2_0 + kSlotCount;
        if (inCombos != (row.kind == Kind::Combo) || inButtons != (row.kind == Kind::Browse)) return false;
    }
    return true;
}
static_assert(IdsOfArraysAreContiguous());

// The text colour of the control with that id.
constexpr COLORREF TextColour(int id) {
    for (const ControlRow& row : kControls)
        if (row.id == id) return row.textColour;
    return kSystemColour;
}

// Twips to pixels, rounded down. Both edges of a control are converted, so
// that controls that meet in twips meet in pixels.
constexpr int Pixels(int twips, int dpi) { return twips * dpi / 1440; }
constexpr RECT PixelRect(const ControlRow& row, int dpi) {
    return {Pixels(row.left, dpi), Pixels(row.top, dpi), Pixels(row.left + row.width, dpi), Pixels(row.top + row.height, dpi)};
}

// Each font made once, for all the controls that show it.
struct Fonts {
    platform::UniqueHfont window;  // Frame2, Command1 and Command3: the window's own
    platform::UniqueHfont option;
    platform::UniqueHfont combo;
    platform::UniqueHfont label;
    int comboLineHeight = 16;  // pixels
};
[[nodiscard]] Fonts CreateFonts(int dpi);

// The controls, named as the window lays them out.
struct Controls {
    HWND Command3 = nullptr;
    HWND Option3 = nullptr;
    HWND Command1 = nullptr;
    HWND Option1 = nullptr;
    HWND Option2 = nullptr;
    HWND Frame2 = nullptr;
    std::array<HWND, kSlotCount> Combo1{};
    std::array<HWND, kSlotCount> Command2{};
    HWND Label2 = nullptr;
    HWND Label1 = nullptr;
    HWND Label9 = nullptr;
    HWND Label10 = nullptr;
    HWND Label11 = nullptr;
    HWND Picture1 = nullptr;
};

// Creates the table's controls on `form` (and in Frame2, whose class must be
// registered), each with its font and tool tip, the boxes with the place
// entries, the browse buttons with their picture; then stacks them in tab
// order.
[[nodiscard]] Controls CreateControls(HWND form, HINSTANCE instance, int dpi, const Fonts& fonts, HICON browseIcon, ToolTips& toolTips);

// The DPI that the layout is converted at.
[[nodiscard]] int SystemDpi();

}  // namespace lumbrake::win
