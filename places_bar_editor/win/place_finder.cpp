#include "place_finder.h"

#include "system_function.h"

#include <platform/win/unique.h>

namespace lumbrake {

namespace {

Resolution Found(HRESULT hr, platform::UniqueIdList list) {
    if (FAILED(hr) || !list) return {false, {}, FAILED(hr) ? hr : E_FAIL};
    return {true, {}, S_OK};
}

}  // namespace

ShellPlaceFinder::ShellPlaceFinder()
    : m_coUninitialize(SystemFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize")),
      m_folderLocation(SystemFunction<decltype(SHGetSpecialFolderLocation)>(L"shell32.dll", "SHGetSpecialFolderLocation")),
      m_parseDisplayName(SystemFunction<decltype(SHParseDisplayName)>(L"shell32.dll", "SHParseDisplayName")) {
    if (const auto coInitialize = SystemFunction<decltype(CoInitialize)>(L"ole32.dll", "CoInitialize"); coInitialize && m_coUninitialize)
        m_com = coInitialize(nullptr);
}

ShellPlaceFinder::~ShellPlaceFinder() {
    if (SUCCEEDED(m_com)) m_coUninitialize();
}

// Without the shell nothing can be found, and nothing is said to be missing.
Resolution ShellPlaceFinder::ResolveFolderId(std::uint32_t folderId) {
    if (!m_folderLocation) return {true, {}, S_OK};
    platform::UniqueIdList list;
    const HRESULT hr = m_folderLocation(nullptr, static_cast<int>(folderId), list.put());
    return Found(hr, std::move(list));
}

Resolution ShellPlaceFinder::ResolvePath(const std::wstring& text) {
    if (!m_parseDisplayName) return {true, {}, S_OK};
    platform::UniqueIdList list;
    const HRESULT hr = m_parseDisplayName(text.c_str(), nullptr, list.put(), 0, nullptr);
    return Found(hr, std::move(list));
}

}  // namespace lumbrake
