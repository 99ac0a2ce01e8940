#include "folder_browser.h"

#include <platform/win/unique.h>

#include <shlobj.h>

namespace lumbrake {

std::optional<std::wstring> BrowseForFolder(HWND owner, const platform::AnsiCodePage& codePage) {
    // The shell's browser wants COM on the calling thread; only this click needs it.
    const HRESULT com = CoInitialize(nullptr);
    struct ComScope {
        HRESULT result;
        ~ComScope() { if (SUCCEEDED(result)) CoUninitialize(); }
    } comScope{com};

    // A failed lookup leaves the root null, which the browser also takes as the desktop.
    platform::UniqueIdList root;
    if (SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, root.put()) != S_OK) root.reset();

    char displayName[MAX_PATH] = {};
    const std::string title = codePage.ToAnsi(L"请选择你常用的位置: ").value_or(std::string());
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    platform::UniqueIdList chosen(SHBrowseForFolderA(&info));
    root.reset();
    if (!chosen) return std::nullopt;

    char path[MAX_PATH] = {};
    SHGetPathFromIDListA(chosen.get(), path);
    return codePage.FromAnsi(path);
}

}  // namespace lumbrake
