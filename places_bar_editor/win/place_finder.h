#pragma once
// The shell, asked for places as the Open and Save dialogs ask it. Loaded
// from the system folder when an apply needs it, never at start-up.
#include <places_bar/check.h>

#include <windows.h>
#include <shlobj.h>

namespace lumbrake {

class ShellPlaceFinder final : public PlaceFinder {
public:
    // COM on this thread while the finder lives: the shell's parsing wants it.
    ShellPlaceFinder();
    ~ShellPlaceFinder() override;
    ShellPlaceFinder(const ShellPlaceFinder&) = delete;
    ShellPlaceFinder& operator=(const ShellPlaceFinder&) = delete;

    Resolution ResolveFolderId(std::uint32_t folderId) override;
    Resolution ResolvePath(const std::wstring& text) override;

private:
    decltype(CoUninitialize)* m_coUninitialize = nullptr;
    decltype(SHGetSpecialFolderLocation)* m_folderLocation = nullptr;
    decltype(SHParseDisplayName)* m_parseDisplayName = nullptr;
    HRESULT m_com = E_FAIL;
};

}  // namespace lumbrake
