// The real Lumbrake.exe under Wine at 96, 120 and 144 DPI: every control
// where the layout puts it, in pixels worked out by hand from its twips (15,
// 12 and 10 twips to a pixel, each edge rounded down). Wine takes the DPI
// of a process it starts from HKCU\Control Panel\Desktop\LogPixels.
#include "e2e_lumbrake.h"

#include <array>
#include <ostream>

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

TEST_P(LumbrakeLayoutTest, EveryControlStandsWhereItsTwipsSay) {
    const Layout& expected = GetParam();
    const Window w = Start();
    ASSERT_TRUE(w.form && w.frame2 && w.picture1 && w.option1 && w.option2 && w.option3 && w.command1 && w.command3);
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
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(slot);
        const auto i = static_cast<std::size_t>(slot);
        // A box's rectangle is its field alone, however long its list.
        EXPECT_EQ(PlaceIn(w.frame2, w.combo1[i]), Lower(expected.combo, slot * expected.step));
        EXPECT_EQ(PlaceIn(w.frame2, w.command2[i]), Lower(expected.browse, slot * expected.step));
        EXPECT_EQ(PlaceIn(w.frame2, w.labels[i]), Lower(expected.label, slot * expected.step));
    }
}

INSTANTIATE_TEST_SUITE_P(AtEachDpi, LumbrakeLayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& info) { return std::to_string(info.param.dpi) + "Dpi"; });

}  // namespace
}  // namespace lumbrake_e2e
