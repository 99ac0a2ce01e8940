// The controls the window draws itself, drawn into a bitmap of the test's.
#include "owner_draw.h"
#include "part_host.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace lumbrake::win {
namespace {

using testing::PartHost;

constexpr std::uint32_t kUntouched = 0xFF00FF;

// A 32-bit bitmap to draw on, its pixels read as 0xRRGGBB.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < width * height; ++i) m_bits[i] = kUntouched;
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return m_bits[y * m_width + x] & 0xFFFFFF;
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    std::uint32_t* m_bits = nullptr;
};

std::uint32_t Rgb(COLORREF colour) { return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour); }

DRAWITEMSTRUCT ItemOn(const Canvas& canvas, RECT place, HWND control = nullptr, UINT state = 0) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = control;
    item.hDC = canvas.dc();
    item.rcItem = place;
    return item;
}

TEST(DrawBanner, ThePictureInItsOwnPixelsAtTheTopLeft_TheFaceColourAround) {
    const GifImage banner{3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203}};
    Canvas canvas(10, 6);
    DrawBanner(ItemOn(canvas, {1, 1, 9, 5}), &banner);
    const std::uint32_t face = Rgb(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.At(1, 1), 0x112233u);
    EXPECT_EQ(canvas.At(3, 1), 0x778899u);
    EXPECT_EQ(canvas.At(3, 2), 0x010203u);
    EXPECT_EQ(canvas.At(4, 1), face);
    EXPECT_EQ(canvas.At(1, 3), face);
    EXPECT_EQ(canvas.At(8, 4), face);
    EXPECT_EQ(canvas.At(0, 0), kUntouched) << "nothing outside the control";
    EXPECT_EQ(canvas.At(9, 5), kUntouched);
}

TEST(DrawBanner, WithoutAPicture_OnlyTheFaceColour) {
    Canvas canvas(4, 4);
    DrawBanner(ItemOn(canvas, {0, 0, 4, 4}), nullptr);
    EXPECT_EQ(canvas.At(0, 0), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(canvas.At(3, 3), Rgb(GetSysColor(COLOR_BTNFACE)));
}

// A 32 x 32 icon of one opaque colour.
platform::UniqueHicon SolidIcon(std::uint32_t rgb) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    platform::UniqueHbitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    for (int i = 0; i < 32 * 32; ++i) static_cast<std::uint32_t*>(bits)[i] = rgb;
    const std::vector<BYTE> opaque(32 * 4, 0);
    platform::UniqueHbitmap mask(CreateBitmap(32, 32, 1, 1, opaque.data()));
    ICONINFO icon{TRUE, 0, 0, mask.get(), colour.get()};
    return platform::UniqueHicon(CreateIconIndirect(&icon));
}

// The box around every pixel of the colour, or an empty one.
RECT Around(const Canvas& canvas, RECT within, bool (*matches)(std::uint32_t)) {
    RECT found{within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x)
            if (matches(canvas.At(x, y))) found = {std::min(found.left, LONG(x)), std::min(found.top, LONG(y)), std::max(found.right, LONG(x + 1)),
                                                   std::max(found.bottom, LONG(y + 1))};
    return found;
}

// At the layout's height the picture stands left of the caption, as high as
// the face inside the button's edges, and the two are centred together.
void ExpectPictureLeftOfTheCaption_AsHighAsTheFace_BothCentred(int dpi, int width, int height) {
    SCOPED_TRACE(dpi);
    PartHost host;
    HWND button = host.Child(L"Button", L"OK", BS_OWNERDRAW, 1, {0, 0, width, height});
    const platform::UniqueHicon red = SolidIcon(0xFF0000);
    Canvas canvas(width, height);
    DrawPictureButton(ItemOn(canvas, {0, 0, width, height}, button), red.get(), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), dpi);

    const RECT face{3, 3, width - 3, height - 3};  // inside the button's edges
    const RECT picture = Around(canvas, face, [](std::uint32_t pixel) { return pixel == 0xFF0000; });
    const RECT caption = Around(canvas, face, [](std::uint32_t pixel) {
        return pixel != 0xFF0000 && (pixel >> 16 & 0xFF) < 0x80 && (pixel >> 8 & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
    });
    EXPECT_EQ(picture.bottom - picture.top, height - 6) << "as high as the face";
    EXPECT_EQ(picture.right - picture.left, height - 6) << "and as wide";
    EXPECT_EQ(picture.top, 3);
    ASSERT_LT(caption.left, caption.right) << "no caption drawn";
    EXPECT_GE(caption.left, picture.right + 3) << "the caption right of the picture, a gap between";
    const LONG leftMargin = picture.left - face.left, rightMargin = face.right - caption.right;
    EXPECT_LE(std::abs(leftMargin - rightMargin), 4) << leftMargin << " against " << rightMargin;
}

TEST(DrawPictureButton, PictureLeftOfTheCaption_AsHighAsTheFace_BothCentred) {
    ExpectPictureLeftOfTheCaption_AsHighAsTheFace_BothCentred(96, 100, 25);
    ExpectPictureLeftOfTheCaption_AsHighAsTheFace_BothCentred(192, 160, 50);  // higher than 32 pixels
}

}  // namespace
}  // namespace lumbrake::win
