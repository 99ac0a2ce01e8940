// lumbrake-cli: the places bar of the Open and Save dialogs from the
// command line, for scripts and administrators.
#include "commands.h"
#include "windows_host.h"

#include <windows.h>

#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

// DLLs loaded after start-up (the shell's, the dialog's) come from the
// system folder only, where Windows can be told so (Windows 7 with its
// updates, and later); a DLL beside a downloaded program never runs.
void SearchDllsInTheSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(0x800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SearchDllsInTheSystemFolderOnly();
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    lumbrake::cli::win::WindowsHost host;
    try {
        return lumbrake::cli::Run(arguments, host);
    } catch (const std::bad_alloc&) {
        host.Write(lumbrake::cli::Stream::Err, L"lumbrake-cli: out of memory\n");
    } catch (const std::exception&) {
        host.Write(lumbrake::cli::Stream::Err, L"lumbrake-cli: internal error\n");
    }
    // Whatever had been written is not reported as done.
    return lumbrake::cli::kExitFailed;
}
