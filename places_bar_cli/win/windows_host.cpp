#include "windows_host.h"

#include "text.h"

#include <platform/ansi.h>
#include <platform/win/error_text.h>
#include <platform/win/unique.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

namespace lumbrake::cli::win {

namespace {

using platform::UniqueKernelHandle;

// The files the commands read hold one small policy key: anything larger
// is not one of them, and would only take long to refuse.
constexpr LONGLONG kLargestFile = 512 << 10;

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

bool WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A console shows Unicode as it is; a file or pipe gets UTF-8, with the
// line ends Windows programs expect. False when not all of it was written.
bool WriteText(HANDLE handle, std::wstring_view text) {
    if (IsConsole(handle)) {
        while (!text.empty()) {
            // Small pieces: older consoles refuse large writes.
            std::size_t size = std::min<std::size_t>(text.size(), 4096);
            if (size < text.size() && text[size - 1] >= 0xD800 && text[size - 1] < 0xDC00) --size;
            DWORD written = 0;
            if (!WriteConsoleW(handle, text.data(), static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
            text.remove_prefix(written);
        }
        return true;
    }
    std::wstring crlf;
    crlf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) crlf += L'\r';
        crlf += text[i];
    }
    return WriteAll(handle, platform::ToUtf8(crlf));
}

// An open file, or an empty handle (CreateFileW fails with
// INVALID_HANDLE_VALUE, not null); GetLastError tells why.
UniqueKernelHandle OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Writes the whole file; the Win32 code of what failed.
long WriteWhole(HANDLE file, std::string_view bytes) {
    if (!WriteAll(file, bytes) || !FlushFileBuffers(file)) return static_cast<long>(GetLastError());
    return ERROR_SUCCESS;
}

std::wstring Number(const wchar_t* format, unsigned a, unsigned b, unsigned c, unsigned d, unsigned e, unsigned f) {
    wchar_t text[32];
    std::swprintf(text, 32, format, a, b, c, d, e, f);
    return text;
}

}  // namespace

bool WindowsConsole::Chinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

bool WindowsConsole::Write(Stream stream, std::wstring_view text) {
    return WriteText(GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE), text);
}

bool WindowsConsole::WriteFileToOutput(std::string_view bytes, std::wstring_view text) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    // A file or pipe holds the bytes only once they have left this process.
    if (IsConsole(out)) return WriteText(out, text);
    return WriteAll(out, bytes);
}

std::optional<std::string> WindowsFiles::ReadFile(const std::wstring& path, long& error) {
    const UniqueKernelHandle file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) {
        error = static_cast<long>(GetLastError());
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestFile) {
        error = size.QuadPart > kLargestFile ? ERROR_FILE_TOO_LARGE : static_cast<long>(GetLastError());
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
            error = static_cast<long>(GetLastError());
            return std::nullopt;
        }
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

long WindowsFiles::WriteFile(const std::wstring& path, std::string_view bytes) {
    const UniqueKernelHandle file = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    return file ? WriteWhole(file.get(), bytes) : static_cast<long>(GetLastError());
}

std::optional<std::wstring> WindowsFiles::SaveBackup(std::string_view bytes, long& error) {
    wchar_t local[MAX_PATH] = {};
    const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local);
    if (FAILED(hr)) {
        error = hr;
        return std::nullopt;
    }
    std::wstring folder = std::wstring(local) + L"\\Lumbrake";
    for (const std::wstring& each : {folder, folder + L"\\Backups"}) {
        if (!CreateDirectoryW(each.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            error = static_cast<long>(GetLastError());
            return std::nullopt;
        }
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring stem = folder + L"\\Backups\\comdlg32-" +
                              Number(L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    // Never over an earlier backup: a second run in the same second gets its own file.
    for (int attempt = 1; attempt < 100; ++attempt) {
        const std::wstring path = stem + (attempt == 1 ? L"" : L"-" + std::to_wstring(attempt)) + L".reg";
        UniqueKernelHandle file = OpenFile(path, GENERIC_WRITE, 0, CREATE_NEW);
        if (!file) {
            error = static_cast<long>(GetLastError());
            if (error == ERROR_FILE_EXISTS) continue;
            return std::nullopt;
        }
        error = WriteWhole(file.get(), bytes);
        file.reset();
        if (error == ERROR_SUCCESS) return path;
        DeleteFileW(path.c_str());  // no half a backup left to be taken for one
        return std::nullopt;
    }
    error = ERROR_FILE_EXISTS;
    return std::nullopt;
}

std::wstring WindowsConsole::ErrorText(long code) {
    const std::wstring text = platform::SystemErrorText(code);
    return text.empty() ? Hex32(static_cast<std::uint32_t>(code)) : text;
}

std::wstring WindowsClock::NewGuid() {
    GUID guid{};
    if (FAILED(CoCreateGuid(&guid))) return {};
    wchar_t text[40];
    std::swprintf(text, 40, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

std::wstring WindowsClock::UtcNow() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    return Number(L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

WindowsOpenDialog::~WindowsOpenDialog() {
    if (m_com) CoUninitialize();
}

PreviewResult WindowsOpenDialog::Preview(bool list) {
    if (!m_com) m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return ShowOpenDialog(list);
}

}  // namespace lumbrake::cli::win
