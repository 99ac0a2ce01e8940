#pragma once
// The shell, asked for places as the Open and Save dialogs ask it: for the
// window after an apply, and for lumbrake-cli's show and check. The shell
// and COM are loaded from the system folder at the first place asked for,
// never with the program.
#include <platform/place_finder.h>

#include <windows.h>
#include <shlobj.h>

namespace platform {

class ShellPlaceFinder final : public PlaceFinder {
public:
    ShellPlaceFinder() = default;
    ~ShellPlaceFinder() override;
    ShellPlaceFinder(const ShellPlaceFinder&) = delete;
    ShellPlaceFinder& operator=(const ShellPlaceFinder&) = delete;

    Resolution ResolveFolderId(std::uint32_t folderId) override;
    Resolution ResolvePath(const std::wstring& text) override;

private:
    // COM on this thread from then on, while the finder lives: the shell's parsing wants it.
    void Start();
    Resolution Found(HRESULT hr, LPITEMIDLIST list) const;

    bool m_started = false;
    HRESULT m_com = E_FAIL;
    decltype(CoUninitialize)* m_coUninitialize = nullptr;
    decltype(SHGetSpecialFolderLocation)* m_folderLocation = nullptr;
    decltype(SHParseDisplayName)* m_parseDisplayName = nullptr;
    decltype(SHGetFileInfoW)* m_fileInfo = nullptr;
};

}  // namespace platform
