#pragma once
// The controls the window draws itself: Command1 and Command3, push buttons
// with their picture and caption side by side, and Picture1 with the banner;
// and the pictures of the window's controls.
#include "gif.h"

#include <platform/win/unique.h>

#include <windows.h>

#include <optional>

namespace lumbrake::win {

// At the layout's height a 32 x 32 picture cannot stand above the caption,
// so it stands to its left, both centred together; the picture shrinks to
// make room, down to half the face's height.
void DrawPictureButton(const DRAWITEMSTRUCT& item, HICON icon, HFONT font, int dpi);

struct Pictures {
    platform::UniqueHicon windowIcon;       // at the system's size for icons
    platform::UniqueHicon smallWindowIcon;  // and for small icons
    platform::UniqueHicon apply;   // Command1
    platform::UniqueHicon cancel;  // Command3
    platform::UniqueHicon browse;  // Command2(0) to (4)
    std::optional<GifImage> banner;  // Picture1; nothing when it cannot be decoded
};
// Each loaded once, from the program's resources, for every control that shows it.
[[nodiscard]] Pictures LoadPictures(HINSTANCE instance);

// The banner at the top-left, in its own pixels at any DPI; the button face
// colour around it. Without a banner, only the face colour.
void DrawBanner(const DRAWITEMSTRUCT& item, const GifImage* banner);

}  // namespace lumbrake::win
