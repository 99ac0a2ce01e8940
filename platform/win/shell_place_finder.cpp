#include <platform/win/shell_place_finder.h>

#include <platform/win/system_function.h>
#include <platform/win/unique.h>

namespace platform {

ShellPlaceFinder::~ShellPlaceFinder() {
    if (SUCCEEDED(m_com)) m_coUninitialize();
}

void ShellPlaceFinder::Start() {
    if (std::exchange(m_started, true)) return;
    m_coUninitialize = SystemFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    m_folderLocation = SystemFunction<decltype(SHGetSpecialFolderLocation)>(L"shell32.dll", "SHGetSpecialFolderLocation");
    m_parseDisplayName = SystemFunction<decltype(SHParseDisplayName)>(L"shell32.dll", "SHParseDisplayName");
    m_fileInfo = SystemFunction<decltype(SHGetFileInfoW)>(L"shell32.dll", "SHGetFileInfoW");
    if (const auto coInitialize = SystemFunction<decltype(CoInitialize)>(L"ole32.dll", "CoInitialize"); coInitialize && m_coUninitialize)
        m_com = coInitialize(nullptr);
}

Resolution ShellPlaceFinder::Found(HRESULT hr, LPITEMIDLIST list) const {
    const UniqueIdList found(list);
    if (FAILED(hr) || !found) return {false, {}, FAILED(hr) ? hr : E_FAIL};
    SHFILEINFOW info{};
    const auto* pidl = reinterpret_cast<LPCWSTR>(found.get());
    if (!m_fileInfo || !m_fileInfo(pidl, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME)) info.szDisplayName[0] = L'\0';
    return {true, info.szDisplayName, S_OK};
}

// Without the shell nothing can be found, and nothing is said to be missing.
Resolution ShellPlaceFinder::ResolveFolderId(std::uint32_t folderId) {
    Start();
    if (!m_folderLocation) return {true, {}, S_OK};
    LPITEMIDLIST list = nullptr;
    const HRESULT hr = m_folderLocation(nullptr, static_cast<int>(folderId), &list);
    return Found(hr, list);
}

Resolution ShellPlaceFinder::ResolvePath(const std::wstring& text) {
    Start();
    if (!m_parseDisplayName) return {true, {}, S_OK};
    LPITEMIDLIST list = nullptr;
    const HRESULT hr = m_parseDisplayName(text.c_str(), nullptr, &list, 0, nullptr);
    return Found(hr, list);
}

}  // namespace platform
