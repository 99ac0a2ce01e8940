#pragma once
// The controls the window draws itself: Command1 and Command3, push buttons
// with their picture and caption side by side, and Picture1 with the banner;
// and the pictures of the window's controls.
#include "gif.h"

#include <platform/win/unique.h>

#include <windows.h>

#include <optional>

namespace lumbrake::win {

// At the layout's height a 32 x 32 picture (at 96 DPI, and as many times
// larger as the DPI is) cannot stand above the caption, so it stands to its
// left, both centred together; the picture shrinks to make room, down to
// half the face's height.
void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON icon, HFONT font, int dpi);

struct Pictures {
    platform::UniqueHicon windowIcon;       // at the system's size for icons
    platform::UniqueHicon smallWindowIcon;  // and for small icons
    // The buttons' pictures at the DPI's size: 32 and 16 pixels at 96 DPI.
    platform::UniqueHicon apply;   // Command1
    platform::UniqueHicon cancel;  // Command3
    platform::UniqueHicon browse;  // Command2(0) to (4)
    std::optional<GifImage> banner;  // Picture1, once its box is made (LoadBanner); nothing when it cannot be decoded
};
// Each loaded once, from the program's resources, for every control that shows it.
[[nodiscard]] Pictures LoadPictures(HINSTANCE instance, int dpi);

// The banner for a box of that size, inside Picture1's border: the picture
// drawn for it where there is one (96 and 192 DPI), otherwise the larger one
// scaled smoothly to fill the box.
[[nodiscard]] std::optional<GifImage> LoadBanner(HINSTANCE instance, SIZE box);

// The banner at the top-left, in its own pixels; the button face colour
// around it. Without a banner, only the face colour.
void DrawBanner(const DRAWITEMSTRUCT& item, const GifImage* banner);

}  // namespace lumbrake::win
