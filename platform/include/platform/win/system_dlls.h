#pragma once
// Where the programs' DLLs come from.
#include <windows.h>

namespace platform {

// A DLL that is not one of the system's known DLLs is found beside the
// program first, where anyone who can put a file next to a downloaded one
// could put theirs. The DLLs loaded from here on are searched for in the
// system folder only, where Windows can be told so (Windows 7 with its
// updates, and later).
inline void SearchDllsInTheSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(0x800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
}

}  // namespace platform
