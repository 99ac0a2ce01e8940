#include "folder_browser.h"


#include <platform/win/system_function.h>
#include <platform/win/unique.h>

#include <shlobj.h>

namespace lumbrake {

std::optional<std::wstring> BrowseForFolder(HWND owner, const platform::AnsiCodePage& codePage) {
    const auto coInitialize = platform::SystemFunction<decltype(CoInitialize)>(L"ole32.dll", "CoInitialize");
    const auto coUninitialize = platform::SystemFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    const auto folderLocation = platform::SystemFunction<decltype(SHGetSpecialFolderLocation)>(L"shell32.dll", "SHGetSpecialFolderLocation");
    const auto browse = platform::SystemFunction<decltype(SHBrowseForFolderA)>(L"shell32.dll", "SHBrowseForFolderA");
    // The path is read through the W function: the A one would hand back '?'
    // for what the code page lacks, a different folder, or none.
    const auto pathFromIdList = platform::SystemFunction<decltype(SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
    // Without the shell there is no browser: the click leaves the slot as a cancel does.
    if (!coInitialize || !coUninitialize || !folderLocation || !browse || !pathFromIdList) return std::nullopt;

    // The shell's browser wants COM on the calling thread; only this click needs it.
    const HRESULT com = coInitialize(nullptr);
    const platform::ScopeExit uninitialize([&] {
        if (SUCCEEDED(com)) coUninitialize();
    });

    // A failed lookup leaves the root null, which the browser also takes as the desktop.
    platform::UniqueIdList root;
    if (folderLocation(owner, CSIDL_DESKTOP, root.put()) != S_OK) root.reset();

    char displayName[MAX_PATH] = {};
    const std::string title = codePage.ToAnsi(L"请选择你常用的位置: ").value_or(std::string());
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    platform::UniqueIdList chosen(browse(&info));
    root.reset();
    if (!chosen) return std::nullopt;

    wchar_t path[MAX_PATH] = {};
    pathFromIdList(chosen.get(), path);
    return std::wstring(path);
}

}  // namespace lumbrake
