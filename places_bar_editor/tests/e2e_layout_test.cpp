// The real Lumbrake.exe under Wine at 96, 120, 144 and 192 DPI: every
// control where the layout puts it, in pixels worked out by hand from its
// twips (15, 12, 10 and 7.5 twips to a pixel, each edge rounded down); and
// what the screen then shows of its pictures and captions. Wine takes the DPI
// of a process it starts from HKCU\Control Panel\Desktop\LogPixels.
#include "e2e_lumbrake.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

namespace lumbrake_e2e {
namespace {

const std::wstring kDesktopKey = L"Control Panel\\Desktop";

using Edges = std::array<LONG, 4>;  // left, top, right, bottom

struct Layout {
    int dpi;
    Edges client;  // 0, 0, width, height
    Edges option1, option2, option3, frame2, command1, command3, picture1;
    // In Frame2, slot 0; each further slot is `step` pixels lower.
    Edges combo, browse, label;
    LONG step;
    friend void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.dpi << " DPI"; }
};

const Layout kLayouts[] = {
    {96, {0, 0, 212, 344},
     {4, 8, 217, 24}, {4, 32, 217, 48}, {4, 56, 217, 72}, {0, 80, 211, 264},
     {16, 268, 96, 293}, {116, 268, 196, 293}, {0, 296, 212, 344},
     {28, 24, 173, 48}, {180, 24, 203, 46}, {8, 28, 29, 45}, 32},
    {120, {0, 0, 265, 430},
     {5, 10, 271, 30}, {5, 40, 271, 60}, {5, 70, 271, 90}, {0, 100, 264, 330},
     {20, 335, 120, 366}, {145, 335, 245, 366}, {0, 370, 265, 430},
     {35, 30, 216, 60}, {225, 30, 253, 57}, {10, 35, 36, 56}, 40},
    {144, {0, 0, 318, 516},
     {6, 12, 325, 36}, {6, 48, 325, 72}, {6, 84, 325, 108}, {1, 120, 317, 396},
     {24, 402, 144, 439}, {174, 402, 294, 439}, {0, 444, 318, 516},
     {42, 36, 259, 72}, {270, 36, 304, 69}, {12, 42, 43, 67}, 48},
    {192, {0, 0, 424, 688},
     {8, 16, 434, 48}, {8, 64, 434, 96}, {8, 112, 434, 144}, {1, 160, 423, 528},
     {32, 536, 192, 586}, {232, 536, 392, 586}, {0, 592, 424, 688},
     {56, 48, 346, 96}, {360, 48, 406, 92}, {16, 56, 58, 90}, 64},
};

Edges Lower(Edges edges, LONG by) { return {edges[0], edges[1] + by, edges[2], edges[3] + by}; }

Edges PlaceIn(HWND container, HWND control) {
    const RECT r = e2e::ClientRectIn(container, control);
    return {r.left, r.top, r.right, r.bottom};
}

class LumbrakeLayoutTest : public LumbrakeTest, public ::testing::WithParamInterface<Layout> {
protected:
    void SetUp() override {
        LumbrakeTest::SetUp();
        m_saved = e2e::ReadRaw(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        e2e::SetDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", static_cast<DWORD>(GetParam().dpi));
    }
    void TearDown() override {
        LumbrakeTest::TearDown();
        if (m_saved) e2e::SetRawW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", m_saved->type, m_saved->data.data(), static_cast<DWORD>(m_saved->data.size()));
        else RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey.c_str(), L"LogPixels");
    }

private:
    std::optional<e2e::RawValue> m_saved;
};

Edges Inset(Edges edges, LONG by) { return {edges[0] + by, edges[1] + by, edges[2] - by, edges[3] - by}; }

// The box around the pixels within `area` (of the form's client area) that
// the screen shows in another colour than the button face.
Edges Ink(HWND form, Edges area) {
    const LONG width = area[2] - area[0], height = area[3] - area[1];
    POINT origin{area[0], area[1]};
    ClientToScreen(form, &origin);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
    Edges box{area[2], area[3], area[0], area[1]};
    for (LONG at = 0; at < width * height; ++at) {
        const std::uint32_t pixel = pixels[static_cast<std::size_t>(at)];
        const LONG x = area[0] + at % width, y = area[1] + at / width;
        if (RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF) != GetSysColor(COLOR_BTNFACE))
            box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
    }
    return box;
}

// Every control where its twips say, and what the screen shows: the banner
// filling its box, the browse pictures at the DPI's size, no caption cut.
TEST_P(LumbrakeLayoutTest, EveryControlStandsWhereItsTwipsSay) {
    const Layout& expected = GetParam();
    e2e::CreateKey(HKEY_CURRENT_USER, kPlacesKey);  // the frame enabled: its pictures drawn as they are
    const Window w = Start();
    ASSERT_TRUE(w.form && w.frame2 && w.picture1 && w.option1 && w.option2 && w.option3 && w.command1 && w.command3);
    ASSERT_TRUE(e2e::BringToFront(w.form));
    SetWindowPos(w.form, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);  // all of it on the screen,
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);  // no tool tip over it
    RECT client{};
    GetClientRect(w.form, &client);
    EXPECT_EQ((Edges{client.left, client.top, client.right, client.bottom}), expected.client);
    EXPECT_EQ(PlaceIn(w.form, w.option1), expected.option1);
    EXPECT_EQ(PlaceIn(w.form, w.option2), expected.option2);
    EXPECT_EQ(PlaceIn(w.form, w.option3), expected.option3);
    EXPECT_EQ(PlaceIn(w.form, w.frame2), expected.frame2);
    EXPECT_EQ(PlaceIn(w.form, w.command1), expected.command1);
    EXPECT_EQ(PlaceIn(w.form, w.command3), expected.command3);
    EXPECT_EQ(PlaceIn(w.form, w.picture1), expected.picture1);
    // Inside its border the banner reaches every edge of its box: no face colour on any side.
    const Edges banner = Inset(expected.picture1, 1);
    EXPECT_TRUE(e2e::WaitUntil([&] { return Ink(w.form, banner) == banner; })) << ::testing::PrintToString(Ink(w.form, banner));
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        const auto i = static_cast<std::size_t>(slot);
        // A box's rectangle is its field alone, however long its list.
        EXPECT_EQ(PlaceIn(w.frame2, w.combo1[i]), Lower(expected.combo, slot * expected.step));
        EXPECT_EQ(PlaceIn(w.frame2, w.command2[i]), Lower(expected.browse, slot * expected.step));
        EXPECT_EQ(PlaceIn(w.frame2, w.labels[i]), Lower(expected.label, slot * expected.step));
        // Inside the button's edges, the picture as wide as the DPI's size and 15/16 as high.
        const Edges picture = Ink(w.form, Inset(PlaceIn(w.form, w.command2[i]), 2));
        EXPECT_EQ(picture[2] - picture[0], MulDiv(16, expected.dpi, 96));
        EXPECT_NEAR(picture[3] - picture[1], MulDiv(15, expected.dpi, 96), 1);
    }
    // A cut caption runs into the edge that cuts it: the window's for an
    // option, for a button its face inside the focus rectangle.
    for (HWND control : {w.option1, w.option2, w.option3, w.command1, w.command3}) {
        const Edges place = PlaceIn(w.form, control);
        const Edges area = control == w.command1 || control == w.command3 ? Inset(place, 4) : Edges{place[0], place[1], expected.client[2], place[3]};
        EXPECT_LT(Ink(w.form, area)[2], area[2] - 1) << e2e::WindowText(control);
    }
}

INSTANTIATE_TEST_SUITE_P(AtEachDpi, LumbrakeLayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& info) { return std::to_string(info.param.dpi) + "Dpi"; });

}  // namespace
}  // namespace lumbrake_e2e
