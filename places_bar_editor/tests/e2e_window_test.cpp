// The real Lumbrake.exe under Wine, driven as a user would.
#include <e2e/driver.h>

#include <gtest/gtest.h>

namespace {

TEST(LumbrakeWindow, StartsWithItsCaption_AndEndsWhenClosed) {
    e2e::Program program(LUMBRAKE_EXE);
    HWND form = program.WaitForWindow(L"对话框的常用位置！");
    ASSERT_NE(form, nullptr);
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit().has_value());
}

}  // namespace
