// The tool tips, in the test's own process under Wine: what is given before
// the control exists is in it once it is made, and an editable box's text
// is its edit field's too.
#include "part_host.h"
#include "tool_tips.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lumbrake::win {
namespace {

using testing::PartHost;

class ToolTipsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
    }
    ToolTipsTest()
        : button(host.Child(L"Button", L"button", BS_PUSHBUTTON, 1, {10, 10, 100, 40})),
          box(host.Child(L"ComboBox", L"", CBS_DROPDOWN, 2, {10, 50, 200, 250})),
          field(FindWindowExW(box, nullptr, L"Edit", nullptr)) {}

    // The text the host's tool tip control holds for a tool, or nothing
    // when it has no such tool.
    std::optional<std::wstring> TextOf(HWND tool) const {
        HWND control = nullptr;
        for (HWND each = GetWindow(GetDesktopWindow(), GW_CHILD); each; each = GetWindow(each, GW_HWNDNEXT)) {
            wchar_t name[64] = {};
            GetClassNameW(each, name, 64);
            if (GetWindow(each, GW_OWNER) == host.get() && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) control = each;
        }
        wchar_t text[256] = {};
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.hwnd = GetParent(tool);
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = text;
        if (!control || !SendMessageW(control, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) return std::nullopt;
        info.lpszText = text;
        SendMessageW(control, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
        return std::wstring(text);
    }

    PartHost host;
    ToolTips tips;
    HWND button, box, field;
};

TEST_F(ToolTipsTest, ToolsGivenBeforeTheControl_AreInItWithTheirLatestTexts) {
    tips.Add(button, L"one");
    tips.AddBox(box, L"");
    tips.SetText(box, L"D:\\资料");
    EXPECT_FALSE(TextOf(button)) << "no control before Create";
    ASSERT_TRUE(tips.Create(host.get(), GetModuleHandleW(nullptr), 300));
    EXPECT_EQ(TextOf(button), L"one");
    EXPECT_EQ(TextOf(box), L"D:\\资料");
    EXPECT_EQ(TextOf(field), L"D:\\资料") << "the mouse over a box is over its edit field";
}

TEST_F(ToolTipsTest, ToolsAndTextsGivenAfterwards_ReachTheControl) {
    ASSERT_TRUE(tips.Create(host.get(), GetModuleHandleW(nullptr), 300));
    tips.AddBox(box, L"");
    tips.Add(button, L"one");
    tips.SetText(box, L"C:\\Tools");
    tips.SetText(button, L"two");
    EXPECT_EQ(TextOf(button), L"two");
    EXPECT_EQ(TextOf(box), L"C:\\Tools");
    EXPECT_EQ(TextOf(field), L"C:\\Tools");
}

}  // namespace
}  // namespace lumbrake::win
