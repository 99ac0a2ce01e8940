#include "owner_draw.h"

#include "resize.h"
#include "resource.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <utility>

namespace lumbrake::win {

void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON icon, HFONT font, int dpi) {
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    RECT content = item.rcItem;
    InflateRect(&content, -3, -3);
    if (pushed) OffsetRect(&content, 1, 1);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, content.left, content.top, content.right, content.bottom);
    SelectObject(dc, font);

    wchar_t caption[32];
    const int length = GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    SIZE text{};
    GetTextExtentPoint32W(dc, caption, length, &text);
    const int width = content.right - content.left, height = content.bottom - content.top;
    const int gap = MulDiv(3, dpi, 96);
    const int iconSize = std::max(std::min({MulDiv(32, dpi, 96), height, width - gap - static_cast<int>(text.cx)}), height / 2);
    const int x = content.left + std::max(0, (width - iconSize - gap - static_cast<int>(text.cx)) / 2);
    DrawIconEx(dc, x, content.top + (height - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    TextOutW(dc, x + iconSize + gap, content.top + (height - static_cast<int>(text.cy)) / 2, caption, length);
    RestoreDC(dc, saved);

    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &content);
}

namespace {

HICON LoadIconSized(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
}

std::optional<GifImage> DecodeBanner(HINSTANCE instance, int id) {
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!resource) return std::nullopt;
    const void* data = LockResource(LoadResource(instance, resource));
    const DWORD size = SizeofResource(instance, resource);
    if (!data || size == 0) return std::nullopt;
    return DecodeGif(std::span(static_cast<const std::uint8_t*>(data), size));
}

}  // namespace

Pictures LoadPictures(HINSTANCE instance, int dpi) {
    Pictures pictures;
    pictures.windowIcon.reset(LoadIconSized(instance, IDI_LUMBRAKE, GetSystemMetrics(SM_CXICON)));
    pictures.smallWindowIcon.reset(LoadIconSized(instance, IDI_LUMBRAKE, GetSystemMetrics(SM_CXSMICON)));
    // The icons hold an image for each of 96 to 192 DPI by steps of 24; others are stretched from the nearest.
    pictures.apply.reset(LoadIconSized(instance, IDI_APPLY, MulDiv(32, dpi, 96)));
    pictures.cancel.reset(LoadIconSized(instance, IDI_CANCEL, MulDiv(32, dpi, 96)));
    pictures.browse.reset(LoadIconSized(instance, IDI_BROWSE, MulDiv(16, dpi, 96)));
    return pictures;
}

std::optional<GifImage> LoadBanner(HINSTANCE instance, SIZE box) {
    const auto fits = [box](const std::optional<GifImage>& banner) { return banner && banner->width == box.cx && banner->height == box.cy; };
    std::optional<GifImage> banner = DecodeBanner(instance, IDR_BANNER);
    if (fits(banner)) return banner;
    if (std::optional<GifImage> large = DecodeBanner(instance, IDR_BANNER_200)) banner = std::move(large);
    if (!banner || fits(banner)) return banner;
    return Resized(*banner, box.cx, box.cy);
}

void DrawBanner(const DRAWITEMSTRUCT& item, const GifImage* banner) {
    HDC dc = item.hDC;
    const int saved = SaveDC(dc);
    if (banner) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = banner->width;
        info.bmiHeader.biHeight = -banner->height;  // rows from the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const int left = item.rcItem.left, top = item.rcItem.top;
        SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(banner->width), static_cast<DWORD>(banner->height), 0, 0, 0,
                          static_cast<UINT>(banner->height), banner->pixels.data(), &info, DIB_RGB_COLORS);
        ExcludeClipRect(dc, left, top, left + banner->width, top + banner->height);
    }
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    RestoreDC(dc, saved);
}

}  // namespace lumbrake::win
