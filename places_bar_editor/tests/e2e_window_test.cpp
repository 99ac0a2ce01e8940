// The real Lumbrake.exe under Wine: the window itself, its controls and
// how the keyboard and mouse move through them.
#include "e2e_lumbrake.h"

#include <vector>

namespace lumbrake_e2e {
namespace {

using namespace std::chrono_literals;

const std::vector<std::wstring> kEntries = {
    L"桌面|00",       L"我的文档|05", L"收藏夹|06",   L"最近的文档|08", L"My Music|13", L"My Video|14", L"我的电脑|17",
    L"网上邻居|18",   L"历史记录|34", L"My Picture|39", L"共享文档|46", L"共享音乐|53", L"共享视频|55",
};

// The focused control as a user names it: an editable box, not its edit field.
HWND FocusedControl(HWND form) {
    HWND focus = e2e::FocusedWindow(form);
    if (focus && e2e::ClassName(GetParent(focus)) == L"ComboBox") return GetParent(focus);
    return focus;
}

// Presses the key and returns the control that then has the focus.
HWND Press(HWND form, WORD key, bool shift = false) {
    const HWND before = FocusedControl(form);
    e2e::PressKey(key, shift);
    e2e::WaitUntil([&] { return FocusedControl(form) != before; }, e2e::Scaled(5s));
    return FocusedControl(form);
}

std::vector<HWND> Cycle(HWND form, std::size_t count, bool shift) {
    std::vector<HWND> visited;
    for (std::size_t i = 0; i < count; ++i) visited.push_back(Press(form, VK_TAB, shift));
    return visited;
}

class LumbrakeWindowTest : public LumbrakeTest {};

TEST_F(LumbrakeWindowTest, Captions_AreTheLayoutsTexts) {
    const Window w = Start();
    ASSERT_TRUE(w.form && w.option1 && w.option2 && w.option3 && w.command1 && w.command3 && w.picture1 && w.frame2);
    EXPECT_EQ(e2e::WindowText(w.form), L"对话框的常用位置！");
    const wchar_t* labels[] = {L"1：", L"2：", L"3：", L"4：", L"5："};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(e2e::WindowText(w.labels[i]), labels[i]);
        EXPECT_EQ(e2e::WindowText(w.command2[i]), L"");
    }
    EXPECT_EQ(e2e::WindowText(w.picture1), L"");
    for (HWND control : e2e::Descendants(w.form)) EXPECT_EQ(e2e::WindowText(control).find(L'&'), std::wstring::npos);
}

TEST_F(LumbrakeWindowTest, ComboBoxes_AreEditableUnsortedListsOfTheThirteenEntries) {
    const Window w = Start();
    for (HWND combo : w.combo1) {
        ASSERT_NE(combo, nullptr);
        const LONG_PTR style = GetWindowLongPtrW(combo, GWL_STYLE);
        EXPECT_EQ(style & 3, CBS_DROPDOWN);
        EXPECT_EQ(style & CBS_SORT, 0);
        EXPECT_NE(style & CBS_AUTOHSCROLL, 0) << "a path longer than the box must fit";
        EXPECT_EQ(e2e::ComboItems(combo), kEntries);
    }
}

TEST_F(LumbrakeWindowTest, ToolTips_OfTheBrowseButtonsAndThePicture) {
    const Window w = Start();
    ASSERT_TRUE(w.picture1);
    EXPECT_EQ(e2e::ToolTipText(w.command2[0]), L"点击来选择你最常用的五个目录！");
    for (int i = 1; i < 5; ++i) EXPECT_EQ(e2e::ToolTipText(w.command2[i]), L"点击来选择你最常用的五个目录");
    EXPECT_EQ(e2e::ToolTipText(w.picture1), L"About Me ! Quillon");
    // The boxes and their edit fields have tools, with no text yet.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(e2e::ToolTipText(w.combo1[i]), L"");
        EXPECT_EQ(e2e::ToolTipText(w.Edit(i)), L"");
    }
}

// Moves the mouse over the middle of the control, as a user's hand does.
void RestMouseOn(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ((r.left + r.right) / 2) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ((r.top + r.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// The text of the program's tool tip that is on the screen, if one is.
std::optional<std::wstring> ShownToolTip(DWORD processId) {
    for (HWND window : e2e::TopLevelWindows(processId))
        if (e2e::ClassName(window) == L"tooltips_class32" && IsWindowVisible(window)) return e2e::WindowText(window);
    return std::nullopt;
}

TEST_F(LumbrakeWindowTest, ToolTips_ComeUpWhereTheMouseRests) {
    SetString(kPlacesKey, L"Place1", L"D:\\资料");
    const Window w = Start();
    ASSERT_TRUE(w.form && w.picture1);
    const std::pair<HWND, std::wstring> tools[] = {
        {w.command2[0], L"点击来选择你最常用的五个目录！"},
        {w.picture1, L"About Me ! Quillon"},
        {w.Edit(1), L"D:\\资料"},
        {w.command2[4], L"点击来选择你最常用的五个目录"},
    };
    for (const auto& [tool, text] : tools) {
        RestMouseOn(tool);
        EXPECT_TRUE(e2e::WaitUntil([&] { return ShownToolTip(Program().Id()) == text; })) << "shown: " << ShownToolTip(Program().Id()).value_or(L"<none>");
    }
}

TEST_F(LumbrakeWindowTest, Options_ExcludeEachOther) {
    const Window w = Start();
    ASSERT_EQ(w.CheckedOption(), 1);
    e2e::PressButton(w.option3);
    EXPECT_TRUE(e2e::WaitUntil([&] { return w.CheckedOption() == 3; }));
    e2e::PressButton(w.option2);
    EXPECT_TRUE(e2e::WaitUntil([&] { return w.CheckedOption() == 2; }));
}

// The controls that can take the focus, in tab-index order. Of the three
// options only the checked one is a stop, as in any group of options.
std::vector<HWND> TabStops(const Window& w, bool frameEnabled) {
    std::vector<HWND> stops = {w.option2, w.option1, w.command1, w.option3};
    if (frameEnabled) {
        stops.push_back(w.combo1[0]);
        stops.insert(stops.end(), w.command2.begin(), w.command2.end());
        stops.insert(stops.end(), w.combo1.begin() + 1, w.combo1.end());
    }
    stops.push_back(w.picture1);
    stops.push_back(w.command3);
    std::erase_if(stops, [&](HWND stop) {
        return (stop == w.option1 || stop == w.option2 || stop == w.option3) && !e2e::IsChecked(stop);
    });
    return stops;
}

void ExpectTabCycle(const Window& w, const std::vector<HWND>& stops) {
    ASSERT_FALSE(stops.empty());
    EXPECT_EQ(FocusedControl(w.form), stops.front()) << "the first control in tab order has the focus";
    std::vector<HWND> forward(stops.begin() + 1, stops.end());
    forward.push_back(stops.front());
    EXPECT_EQ(Cycle(w.form, stops.size(), false), forward);
    const std::vector<HWND> backward(stops.rbegin(), stops.rend());
    EXPECT_EQ(Cycle(w.form, stops.size(), true), backward);
}

TEST_F(LumbrakeWindowTest, Tab_VisitsTheControlsInTabIndexOrder) {
    e2e::CreateKey(HKEY_CURRENT_USER, kPlacesKey);  // the frame enabled, Option3 checked
    const Window w = Start();
    ASSERT_TRUE(w.form && IsWindowEnabled(w.frame2) && w.CheckedOption() == 3);
    ASSERT_TRUE(e2e::BringToFront(w.form));
    ExpectTabCycle(w, TabStops(w, true));
    EXPECT_EQ(w.CheckedOption(), 3) << "tabbing only moves the focus";
}

TEST_F(LumbrakeWindowTest, ArrowKeys_MoveTheChoiceAmongTheOptions) {
    const Window w = Start();
    ASSERT_TRUE(w.form && e2e::BringToFront(w.form));
    ASSERT_EQ(FocusedControl(w.form), w.option1);
    EXPECT_EQ(Press(w.form, VK_DOWN), w.option2);
    EXPECT_EQ(w.CheckedOption(), 2);
    EXPECT_EQ(Press(w.form, VK_DOWN), w.option3);
    EXPECT_EQ(w.CheckedOption(), 3);
    EXPECT_EQ(Press(w.form, VK_DOWN), w.option1);
    EXPECT_EQ(Press(w.form, VK_UP), w.option3);
    EXPECT_EQ(w.CheckedOption(), 3);
    EXPECT_TRUE(IsWindowEnabled(w.frame2));
    // From the checked Option3, whose choice enabled the frame, Tab goes on
    // in tab-index order to the first slot.
    EXPECT_EQ(Press(w.form, VK_TAB), w.combo1[0]);
}

TEST_F(LumbrakeWindowTest, DisabledFrame_TakesNoInput_AndTabPassesOverIt) {
    const Window w = Start();
    ASSERT_TRUE(w.form && !IsWindowEnabled(w.frame2));
    ASSERT_TRUE(e2e::BringToFront(w.form));
    const std::vector<HWND> stops = TabStops(w, false);
    ExpectTabCycle(w, stops);

    // Clicks on the boxes of the disabled frame leave the focus where it was:
    // the Tab after them, handled after them, goes on from there.
    ASSERT_EQ(FocusedControl(w.form), stops.front());
    e2e::ClickAt(w.Edit(0), 5, 5);
    e2e::ClickAt(w.Edit(1), 5, 5);
    EXPECT_EQ(Press(w.form, VK_TAB), stops[1]);
}

TEST_F(LumbrakeWindowTest, EnabledFrame_BoxTakesAClickAndTyping) {
    e2e::CreateKey(HKEY_CURRENT_USER, kPlacesKey);
    const Window w = Start();
    ASSERT_TRUE(w.form && e2e::BringToFront(w.form));
    e2e::ClickAt(w.Edit(2), 5, 5);
    ASSERT_TRUE(e2e::WaitUntil([&] { return FocusedControl(w.form) == w.combo1[2]; }));
    e2e::PressKey('D');
    EXPECT_TRUE(e2e::WaitUntil([&] { return w.SlotText(2) == L"d"; }));
}

TEST_F(LumbrakeWindowTest, EnterAndEsc_InABox_PressNoButton) {
    e2e::CreateKey(HKEY_CURRENT_USER, kPlacesKey);
    const RegistryState before = ReadPolicy();
    const Window w = Start();
    ASSERT_TRUE(w.form && e2e::BringToFront(w.form));
    e2e::ClickAt(w.Edit(0), 5, 5);
    ASSERT_TRUE(e2e::WaitUntil([&] { return FocusedControl(w.form) == w.combo1[0]; }));
    e2e::PressKey(VK_RETURN);
    e2e::PressKey(VK_ESCAPE);
    // A key typed after them arrives once they have been handled.
    e2e::PressKey('Q');
    ASSERT_TRUE(e2e::WaitUntil([&] { return w.SlotText(0) == L"q"; }));
    EXPECT_TRUE(Program().Running());
    EXPECT_EQ(FocusedControl(w.form), w.combo1[0]);
    for (HWND window : e2e::TopLevelWindows(Program().Id()))
        EXPECT_FALSE(IsWindowVisible(window) && e2e::ClassName(window) == L"#32770") << "a message box opened";
    EXPECT_EQ(ReadPolicy(), before);
}

TEST_F(LumbrakeWindowTest, Closing_EndsTheProgram) {
    const Window w = Start();
    ASSERT_NE(w.form, nullptr);
    PostMessageW(w.form, WM_CLOSE, 0, 0);
    EXPECT_EQ(Program().WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace lumbrake_e2e
