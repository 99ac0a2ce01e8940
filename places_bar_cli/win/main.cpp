// lumbrake-cli: the places bar of the Open and Save dialogs from the
// command line, for scripts and administrators.
#include "commands.h"
#include "windows_host.h"

#include <platform/ansi.h>
#include <platform/win/shell_place_finder.h>
#include <platform/win/system_dlls.h>
#include <platform/win_registry.h>

#include <windows.h>

#include <exception>
#include <new>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    platform::SearchDllsInTheSystemFolderOnly();
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    namespace win = lumbrake::cli::win;
    win::WindowsConsole console;
    win::WindowsFiles files;
    win::WindowsClock clock;
    platform::ShellPlaceFinder places;
    win::WindowsOpenDialog openDialog;
    const lumbrake::cli::Host host{platform::SystemRegistry(), platform::SystemCodePage(), console, files, clock, places, openDialog};
    try {
        return lumbrake::cli::Run(arguments, host);
    } catch (const std::bad_alloc&) {
        static_cast<void>(console.Write(lumbrake::cli::Stream::Err, L"lumbrake-cli: out of memory\n"));
    } catch (const std::exception&) {
        static_cast<void>(console.Write(lumbrake::cli::Stream::Err, L"lumbrake-cli: internal error\n"));
    }
    // Whatever had been written is not reported as done.
    return lumbrake::cli::kExitFailed;
}
