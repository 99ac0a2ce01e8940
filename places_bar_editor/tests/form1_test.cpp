// The main window in the test's own process, over an in-memory registry:
// the text colours it gives its controls.
#include "form1.h"
#include "resource.h"

#include <platform/memory_registry.h>

#include <gtest/gtest.h>

namespace lumbrake::win {
namespace {

TEST(Form1, GivesItsControlsTheirTextColours) {
    platform::MemoryRegistry registry;
    Module1 module(registry, platform::SystemCodePage());
    Form1 form(module);
    ASSERT_TRUE(form.Show(GetModuleHandleW(nullptr), SW_HIDE));
    HWND window = form.Window();
    HWND frame = GetDlgItem(window, IDC_FRAME2);
    auto colourOf = [&](HWND control) {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    };
    EXPECT_EQ(colourOf(GetDlgItem(window, IDC_OPTION1)), RGB(0, 128, 0));
    EXPECT_EQ(colourOf(GetDlgItem(window, IDC_OPTION2)), RGB(255, 0, 0));
    EXPECT_EQ(colourOf(GetDlgItem(window, IDC_OPTION3)), RGB(0, 0, 255));
    EXPECT_EQ(colourOf(frame), RGB(0, 0, 255));
    for (int label : {IDC_LABEL11, IDC_LABEL10, IDC_LABEL9, IDC_LABEL1, IDC_LABEL2}) EXPECT_EQ(colourOf(GetDlgItem(frame, label)), RGB(0, 0, 192));
    EXPECT_EQ(colourOf(GetDlgItem(window, IDC_PICTURE1)), GetSysColor(COLOR_WINDOWTEXT)) << "the system's colour";

    DestroyWindow(window);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the window's last word, for a program's loop
}

}  // namespace
}  // namespace lumbrake::win
