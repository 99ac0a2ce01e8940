#pragma once
// The system's text for a Win32 code, in the user's language.
#include <windows.h>

#include <string>

namespace platform {

// Also for an HRESULT made of a Win32 code; without its line end; empty
// when the system has none.
inline std::wstring SystemErrorText(long code) {
    DWORD id = static_cast<DWORD>(code);
    if ((id & 0xFFFF0000) == 0x80070000) id &= 0xFFFF;
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, id, 0,
                                        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

}  // namespace platform
