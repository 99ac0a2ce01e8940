#pragma once
// The registry functions of advapi32 in the shape of platform::Registry, over
// plain pointers: the one place that calls them. SystemRegistry() forwards
// its strings here; Tarnvale calls this directly, since the std::string seam
// would bring the C++ runtime into it and take it past its size budget.
#include <platform/registry.h>

#include <windows.h>

namespace platform {

class Advapi32Registry {
public:
    [[nodiscard]] long CreateKeyEx(RegKey root, const char* subKey, std::uint32_t access, RegKey* result) {
        HKEY key = nullptr;
        return Opened(RegCreateKeyExA(Hkey(root), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr), key, result);
    }
    [[nodiscard]] long CreateKey(RegKey root, const char* subKey, RegKey* result) {
        HKEY key = nullptr;
        return Opened(RegCreateKeyA(Hkey(root), subKey, &key), key, result);
    }
    [[nodiscard]] long OpenKeyEx(RegKey root, const char* subKey, std::uint32_t access, RegKey* result) {
        HKEY key = nullptr;
        return Opened(RegOpenKeyExA(Hkey(root), subKey, 0, access, &key), key, result);
    }
    [[nodiscard]] long OpenKey(RegKey root, const char* subKey, RegKey* result) {
        HKEY key = nullptr;
        return Opened(RegOpenKeyA(Hkey(root), subKey, &key), key, result);
    }
    [[nodiscard]] long QueryValueEx(RegKey key, const char* name, std::uint32_t* type, void* data, std::uint32_t* size) {
        DWORD winType = 0;
        DWORD winSize = size ? *size : 0;
        const LONG rc = RegQueryValueExA(Hkey(key), name, nullptr, &winType, static_cast<BYTE*>(data), size ? &winSize : nullptr);
        if (type) *type = winType;
        if (size) *size = winSize;
        return rc;
    }
    [[nodiscard]] long SetValueEx(RegKey key, const char* name, std::uint32_t type, const void* data, std::uint32_t size) {
        return RegSetValueExA(Hkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
    }
    [[nodiscard]] long DeleteKey(RegKey root, const char* subKey) { return RegDeleteKeyA(Hkey(root), subKey); }
    [[nodiscard]] long DeleteValue(RegKey key, const char* name) { return RegDeleteValueA(Hkey(key), name); }
    [[nodiscard]] long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) {
        DWORD winSubKeys = 0, winValues = 0;
        const LONG rc = RegQueryInfoKeyA(Hkey(key), nullptr, nullptr, nullptr, &winSubKeys, nullptr, nullptr, &winValues, nullptr,
                                         nullptr, nullptr, nullptr);
        if (subKeys) *subKeys = winSubKeys;
        if (values) *values = winValues;
        return rc;
    }
    [[nodiscard]] long CloseKey(RegKey key) { return RegCloseKey(Hkey(key)); }

    [[nodiscard]] long CreateKeyExW(RegKey root, const wchar_t* subKey, std::uint32_t access, RegKey* result) {
        HKEY key = nullptr;
        return Opened(::RegCreateKeyExW(Hkey(root), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr), key,
                      result);
    }
    [[nodiscard]] long OpenKeyExW(RegKey root, const wchar_t* subKey, std::uint32_t access, RegKey* result) {
        HKEY key = nullptr;
        return Opened(::RegOpenKeyExW(Hkey(root), subKey, 0, access, &key), key, result);
    }
    [[nodiscard]] long QueryValueExW(RegKey key, const wchar_t* name, std::uint32_t* type, void* data, std::uint32_t* size) {
        DWORD winType = 0;
        DWORD winSize = size ? *size : 0;
        const LONG rc = ::RegQueryValueExW(Hkey(key), name, nullptr, &winType, static_cast<BYTE*>(data), size ? &winSize : nullptr);
        if (type) *type = winType;
        if (size) *size = winSize;
        return rc;
    }
    [[nodiscard]] long SetValueExW(RegKey key, const wchar_t* name, std::uint32_t type, const void* data, std::uint32_t size) {
        return ::RegSetValueExW(Hkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
    }
    [[nodiscard]] long DeleteKeyW(RegKey root, const wchar_t* subKey) { return ::RegDeleteKeyW(Hkey(root), subKey); }
    [[nodiscard]] long DeleteValueW(RegKey key, const wchar_t* name) { return ::RegDeleteValueW(Hkey(key), name); }
    // The name at `index` into `name` (room for `length` characters and the NUL); its length on success.
    [[nodiscard]] long EnumKeyExW(RegKey key, std::uint32_t index, wchar_t* name, DWORD* length) {
        return ::RegEnumKeyExW(Hkey(key), index, name, length, nullptr, nullptr, nullptr, nullptr);
    }
    [[nodiscard]] long EnumValueW(RegKey key, std::uint32_t index, wchar_t* name, DWORD* length) {
        return ::RegEnumValueW(Hkey(key), index, name, length, nullptr, nullptr, nullptr, nullptr);
    }

private:
    static HKEY Hkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
    // A key that was not opened is 0, never what the call left behind. The
    // key is taken by reference: it is read only after the call has set it.
    static long Opened(LONG rc, const HKEY& key, RegKey* result) {
        *result = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(key) : 0;
        return rc;
    }
};

}  // namespace platform
