#pragma once
// Frame2's kind of control: a container with a caption, so that disabling it
// takes input from every control in it, which a group box, a mere sibling of
// its controls, cannot. Its controls report to it; it passes their
// notifications on to its parent, which handles their events.
#include <windows.h>

namespace lumbrake::win {

inline constexpr wchar_t kFrameClass[] = L"Lumbrake.Frame";

// True when the class is there to be used, registered now or before.
[[nodiscard]] bool RegisterFrameClass(HINSTANCE instance);

}  // namespace lumbrake::win
