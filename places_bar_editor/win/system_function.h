#pragma once
// The shell and COM serve only the folder browser and the forum link, so
// their DLLs are loaded at the first click that needs them rather than with
// the program, which starts faster without them.
#include <windows.h>

namespace lumbrake {

// The address of `name` in the system DLL `library`, loaded from the system
// folder on first use; null when either cannot be found.
[[nodiscard]] void* SystemFunctionAddress(const wchar_t* library, const char* name);

// The same, typed as the declaration it stands for:
// SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW").
template <typename Function>
[[nodiscard]] Function* SystemFunction(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function*>(SystemFunctionAddress(library, name));
}

}  // namespace lumbrake
