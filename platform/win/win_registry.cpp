#include <platform/win_registry.h>

#include <windows.h>

#include <vector>

namespace platform {
namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

class WinRegistry final : public Registry {
public:
    long CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override {
        HKEY key = nullptr;
        LONG rc = RegCreateKeyExA(ToHkey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
        *result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }
    long CreateKey(RegKey root, const std::string& subKey, RegKey* result) override {
        HKEY key = nullptr;
        LONG rc = RegCreateKeyA(ToHkey(root), subKey.c_str(), &key);
        *result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }
    long OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override {
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExA(ToHkey(root), subKey.c_str(), 0, access, &key);
        *result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }
    long OpenKey(RegKey root, const std::string& subKey, RegKey* result) override {
        HKEY key = nullptr;
        LONG rc = RegOpenKeyA(ToHkey(root), subKey.c_str(), &key);
        *result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }
    long QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) override {
        DWORD winType = 0;
        DWORD winSize = size ? *size : 0;
        LONG rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &winType, static_cast<BYTE*>(data), size ? &winSize : nullptr);
        if (type) *type = winType;
        if (size) *size = winSize;
        return rc;
    }
    long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) override {
        return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    }
    long DeleteKey(RegKey root, const std::string& subKey) override {
        return RegDeleteKeyA(ToHkey(root), subKey.c_str());
    }
    long DeleteValue(RegKey key, const std::string& name) override {
        return RegDeleteValueA(ToHkey(key), name.c_str());
    }
    long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override {
        DWORD winSubKeys = 0, winValues = 0;
        LONG rc = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &winSubKeys, nullptr, nullptr, &winValues,
                                   nullptr, nullptr, nullptr, nullptr);
        if (subKeys) *subKeys = winSubKeys;
        if (values) *values = winValues;
        return rc;
    }
    long CloseKey(RegKey key) override { return RegCloseKey(ToHkey(key)); }

    long CreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) override {
        HKEY key = nullptr;
        LONG rc = ::RegCreateKeyExW(ToHkey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
        *result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }
    long OpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) override {
        HKEY key = nullptr;
        LONG rc = ::RegOpenKeyExW(ToHkey(root), subKey.c_str(), 0, access, &key);
        *result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }
    long QueryValueExW(RegKey key, const std::wstring& name, std::uint32_t* type, void* data, std::uint32_t* size) override {
        DWORD winType = 0;
        DWORD winSize = size ? *size : 0;
        LONG rc = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &winType, static_cast<BYTE*>(data), size ? &winSize : nullptr);
        if (type) *type = winType;
        if (size) *size = winSize;
        return rc;
    }
    long SetValueExW(RegKey key, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) override {
        return ::RegSetValueExW(ToHkey(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    }
    long DeleteKeyW(RegKey root, const std::wstring& subKey) override { return ::RegDeleteKeyW(ToHkey(root), subKey.c_str()); }
    long DeleteValueW(RegKey key, const std::wstring& name) override { return ::RegDeleteValueW(ToHkey(key), name.c_str()); }
    long EnumKeyExW(RegKey key, std::uint32_t index, std::wstring* name) override {
        wchar_t buffer[256];  // the longest key name, and its NUL
        DWORD length = 256;
        LONG rc = ::RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_SUCCESS) name->assign(buffer, length);
        return rc;
    }
    long EnumValueW(RegKey key, std::uint32_t index, std::wstring* name) override {
        std::vector<wchar_t> buffer(16384);  // the longest value name, and its NUL
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG rc = ::RegEnumValueW(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_SUCCESS) name->assign(buffer.data(), length);
        return rc;
    }
};

}  // namespace

Registry& SystemRegistry() {
    static WinRegistry registry;
    return registry;
}

}  // namespace platform
