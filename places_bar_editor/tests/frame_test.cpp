// Frame2's kind of control, in the test's own process under Wine: its
// controls' notifications reach its parent, its parent colours its caption,
// and a change of its enabled state redraws it.
#include "frame.h"
#include "part_host.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lumbrake::win {
namespace {

using testing::PartHost;

class FrameTest : public ::testing::Test {
protected:
    FrameTest() : frame(host.Child(kFrameClass, L"[ 常用位置 ]", WS_CLIPCHILDREN, 5, {10, 10, 300, 200})) {}

    // Whether any pixel of the caption's line is that colour, as drawn.
    bool CaptionHas(COLORREF colour) const {
        HDC dc = GetDC(frame);
        bool found = false;
        for (int y = 0; y < 12 && !found; ++y)
            for (int x = 6; x < 120 && !found; ++x) found = GetPixel(dc, x, y) == colour;
        ReleaseDC(frame, dc);
        return found;
    }

    PartHost host;
    HWND frame;
};

TEST_F(FrameTest, NotificationsOfItsControls_ReachItsParent) {
    HWND button = host.Child(L"Button", L"in the frame", BS_PUSHBUTTON, 7, {20, 30, 120, 60}, frame);
    std::vector<std::pair<int, UINT>> heard;
    host.onCommand = [&](int id, UINT code) { heard.emplace_back(id, code); };
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(heard, (std::vector<std::pair<int, UINT>>{{7, BN_CLICKED}}));
}

TEST_F(FrameTest, KeepsTheFontItIsGiven) {
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(frame, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(frame, WM_GETFONT, 0, 0)), font);
}

TEST_F(FrameTest, TheParentColoursTheCaption_ADisabledFrameIsRedrawnGrey) {
    constexpr COLORREF kBlue = RGB(0, 0, 255);
    std::vector<HWND> asked;
    host.onStaticColour = [&](HDC dc, HWND control) {
        asked.push_back(control);
        SetTextColor(dc, kBlue);
        return GetSysColorBrush(COLOR_BTNFACE);
    };
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(asked.empty()) << "the parent was not asked";
    EXPECT_EQ(asked.front(), frame);
    EXPECT_TRUE(CaptionHas(kBlue));

    EnableWindow(frame, FALSE);
    RECT stale{};
    EXPECT_TRUE(GetUpdateRect(frame, &stale, FALSE)) << "disabling leaves the frame to be redrawn";
    UpdateWindow(frame);
    EXPECT_FALSE(CaptionHas(kBlue));
    EXPECT_TRUE(CaptionHas(GetSysColor(COLOR_GRAYTEXT)));
}

}  // namespace
}  // namespace lumbrake::win
