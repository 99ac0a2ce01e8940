// lumbrake-cli: the places bar of the Open and Save dialogs from the
// command line, for scripts and administrators.
#include "commands.h"
#include "windows_host.h"

#include <platform/win/system_dlls.h>

#include <windows.h>

#include <exception>
#include <new>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    platform::SearchDllsInTheSystemFolderOnly();
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    lumbrake::cli::win::WindowsHost host;
    try {
        return lumbrake::cli::Run(arguments, host);
    } catch (const std::bad_alloc&) {
        static_cast<void>(host.Write(lumbrake::cli::Stream::Err, L"lumbrake-cli: out of memory\n"));
    } catch (const std::exception&) {
        static_cast<void>(host.Write(lumbrake::cli::Stream::Err, L"lumbrake-cli: internal error\n"));
    }
    // Whatever had been written is not reported as done.
    return lumbrake::cli::kExitFailed;
}
