// The options as one group, in the test's own process under Wine: the arrow
// keys, and the click Windows makes as an unchecked option takes the focus.
// (The dialog manager handing them the arrow keys, and the exclusive check,
// are seen in the real window.)
#include "option_group.h"
#include "part_host.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace lumbrake::win {
namespace {

using testing::PartHost;

std::array<HWND, 3> MakeOptions(const PartHost& host, const wchar_t* className, int firstId) {
    std::array<HWND, 3> options{};
    for (int i = 0; i < 3; ++i)
        options[static_cast<std::size_t>(i)] =
            host.Child(className, L"option", BS_RADIOBUTTON | WS_TABSTOP, firstId + i, {10, 10 + 30 * i, 200, 35 + 30 * i});
    return options;
}

WNDPROC PlainButtonProc() {
    static const WNDPROC plain = [] {
        WNDCLASSW button{};
        GetClassInfoW(nullptr, L"Button", &button);
        return button.lpfnWndProc;
    }();
    return plain;
}

// A radio button that gets the focus while unchecked tells its parent it was
// clicked, on Windows; Wine's do not, so the test's options do it themselves.
LRESULT CALLBACK WindowsRadioProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(PlainButtonProc(), window, message, wParam, lParam);
    if (message == WM_SETFOCUS && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_UNCHECKED)
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED), reinterpret_cast<LPARAM>(window));
    return result;
}

const wchar_t* ButtonClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW button{};
    GetClassInfoW(nullptr, L"Button", &button);
    button.lpfnWndProc = procedure;
    button.hInstance = GetModuleHandleW(nullptr);
    button.lpszClassName = name;
    RegisterClassW(&button);  // fails harmlessly when a test before registered it
    return name;
}

class OptionGroupTest : public ::testing::Test {
protected:
    OptionGroupTest() : options(MakeOptions(host, ButtonClass(L"Lumbrake.WindowsRadio", WindowsRadioProc), 10)) {
        group.Attach(options);
        group.Check(options[0]);
        // As the window does: a click is a choice unless an option is taking the focus.
        host.onCommand = [this](int id, UINT code) {
            if (code == BN_CLICKED && !group.TakingFocus()) choices.push_back(id);
        };
    }
    void Press(HWND option, WPARAM key) { SendMessageW(option, WM_KEYDOWN, key, 0); }

    // Declared so that the windows go before the group that subclassed them.
    std::vector<int> choices;
    OptionGroup group;
    PartHost host;
    std::array<HWND, 3> options;
};

TEST_F(OptionGroupTest, ArrowKeys_MoveFocusAndChoiceRound_OneChoiceAKey) {
    Press(options[0], VK_DOWN);
    EXPECT_EQ(GetFocus(), options[1]);
    Press(options[1], VK_RIGHT);
    EXPECT_EQ(GetFocus(), options[2]);
    Press(options[2], VK_DOWN);
    EXPECT_EQ(GetFocus(), options[0]);
    Press(options[0], VK_UP);
    EXPECT_EQ(GetFocus(), options[2]);
    Press(options[2], VK_LEFT);
    EXPECT_EQ(GetFocus(), options[1]);
    // The click of an unchecked option taking the focus is not a second choice.
    EXPECT_EQ(choices, (std::vector<int>{11, 12, 10, 12, 11}));
}

// Buttons of a class of their own, which count the messages they get.
int g_countingButtonMessages = 0;
LRESULT CALLBACK CountingButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_countingButtonMessages;
    return CallWindowProcW(PlainButtonProc(), window, message, wParam, lParam);
}

// Each group passes its options' other messages on to their own class's
// procedure, not to the last group's.
TEST_F(OptionGroupTest, TwoGroups_EachPassesOnToItsOwnButtonsProcedure) {
    OptionGroup other;
    PartHost otherHost;
    other.Attach(MakeOptions(otherHost, ButtonClass(L"Lumbrake.CountingButton", CountingButtonProc), 20));

    const int before = g_countingButtonMessages;
    EXPECT_TRUE(SendMessageW(options[0], WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON);
    EXPECT_EQ(g_countingButtonMessages, before) << "a plain option went through the other group's buttons";
    SendMessageW(GetDlgItem(otherHost.get(), 20), WM_GETDLGCODE, 0, 0);
    EXPECT_GT(g_countingButtonMessages, before);
}

}  // namespace
}  // namespace lumbrake::win
