#pragma once
// A function of a system DLL that is not loaded with the program: the shell,
// COM and the common controls serve only a few clicks, and a program starts
// faster without them.
#include <windows.h>

namespace platform {

// The address of `name` in the system DLL `library`, loaded from the system
// folder on first use; null when either cannot be found.
[[nodiscard]] void* SystemFunctionAddress(const wchar_t* library, const char* name);

// The same, typed as the declaration it stands for:
// SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW").
template <typename Function>
[[nodiscard]] Function* SystemFunction(const wchar_t* library, const char* name) {
    return reinterpret_cast<Function*>(SystemFunctionAddress(library, name));
}

}  // namespace platform
