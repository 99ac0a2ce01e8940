#include "about_box.h"

#include "about.h"

#include <platform/win/system_function.h>
#include <platform/win/unique.h>

#include <shellapi.h>

#include <string>

namespace lumbrake {

namespace {

// Only that exact program may start: it is named as the application, not
// found by splitting an unquoted command line at its blanks.
[[nodiscard]] bool StartNamedBrowser() {
    std::wstring commandLine = BrowserCommandLine();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    const std::wstring program(kBrowserProgram);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    platform::UniqueKernelHandle processHandle(process.hProcess);
    platform::UniqueKernelHandle threadHandle(process.hThread);
    return true;
}

}  // namespace

void ShowAboutAndOpenForum(HWND owner) {
    MessageBoxW(owner, AboutText().c_str(), std::wstring(kAboutCaption).c_str(), MB_OK);

    if (StartNamedBrowser()) return;
    const std::wstring address(kForumAddress);
    // Most systems today have no browser at that path: the default one will do.
    const auto shellExecute = platform::SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (shellExecute && reinterpret_cast<INT_PTR>(shellExecute(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return;
    const std::wstring text = L"无法启动浏览器，请手动打开：\r\n" + address;
    MessageBoxW(owner, text.c_str(), std::wstring(kAboutCaption).c_str(), MB_OK);
}

}  // namespace lumbrake
