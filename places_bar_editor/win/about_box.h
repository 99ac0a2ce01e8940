#pragma once
#include <windows.h>

namespace lumbrake {

// The about box, then the forum page in the browser once the box is closed.
void ShowAboutAndOpenForum(HWND owner);

}  // namespace lumbrake
