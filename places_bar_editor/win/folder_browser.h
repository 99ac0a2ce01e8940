#pragma once
#include <platform/ansi.h>

#include <windows.h>

#include <optional>
#include <string>

namespace lumbrake {

// The shell's folder browser, on the desktop, over `owner`. The chosen
// folder's path (empty when it has none), or nothing when the user cancels.
[[nodiscard]] std::optional<std::wstring> BrowseForFolder(HWND owner, const platform::AnsiCodePage& codePage);

}  // namespace lumbrake
