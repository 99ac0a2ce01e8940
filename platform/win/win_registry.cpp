#include <platform/win_registry.h>

#include <platform/win/advapi32.h>

#include <vector>

namespace platform {
namespace {

// The Registry interface over advapi32: strings become the pointers the calls take.
class WinRegistry final : public Registry {
public:
    long CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override {
        return m_api.CreateKeyEx(root, subKey.c_str(), access, result);
    }
    long CreateKey(RegKey root, const std::string& subKey, RegKey* result) override { return m_api.CreateKey(root, subKey.c_str(), result); }
    long OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override {
        return m_api.OpenKeyEx(root, subKey.c_str(), access, result);
    }
    long OpenKey(RegKey root, const std::string& subKey, RegKey* result) override { return m_api.OpenKey(root, subKey.c_str(), result); }
    long QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) override {
        return m_api.QueryValueEx(key, name.c_str(), type, data, size);
    }
    long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) override {
        return m_api.SetValueEx(key, name.c_str(), type, data, size);
    }
    long DeleteKey(RegKey root, const std::string& subKey) override { return m_api.DeleteKey(root, subKey.c_str()); }
    long DeleteValue(RegKey key, const std::string& name) override { return m_api.DeleteValue(key, name.c_str()); }
    long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override { return m_api.QueryInfoKey(key, subKeys, values); }
    long CloseKey(RegKey key) override { return m_api.CloseKey(key); }

    long CreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) override {
        return m_api.CreateKeyExW(root, subKey.c_str(), access, result);
    }
    long OpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) override {
        return m_api.OpenKeyExW(root, subKey.c_str(), access, result);
    }
    long QueryValueExW(RegKey key, const std::wstring& name, std::uint32_t* type, void* data, std::uint32_t* size) override {
        return m_api.QueryValueExW(key, name.c_str(), type, data, size);
    }
    long SetValueExW(RegKey key, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) override {
        return m_api.SetValueExW(key, name.c_str(), type, data, size);
    }
    long DeleteKeyW(RegKey root, const std::wstring& subKey) override { return m_api.DeleteKeyW(root, subKey.c_str()); }
    long DeleteValueW(RegKey key, const std::wstring& name) override { return m_api.DeleteValueW(key, name.c_str()); }
    long EnumKeyExW(RegKey key, std::uint32_t index, std::wstring* name) override {
        wchar_t buffer[256];  // the longest key name, and its NUL
        DWORD length = 256;
        const long rc = m_api.EnumKeyExW(key, index, buffer, &length);
        if (rc == ERROR_SUCCESS) name->assign(buffer, length);
        return rc;
    }
    long EnumValueW(RegKey key, std::uint32_t index, std::wstring* name) override {
        std::vector<wchar_t> buffer(16384);  // the longest value name, and its NUL
        DWORD length = static_cast<DWORD>(buffer.size());
        const long rc = m_api.EnumValueW(key, index, buffer.data(), &length);
        if (rc == ERROR_SUCCESS) name->assign(buffer.data(), length);
        return rc;
    }

private:
    Advapi32Registry m_api;
};

}  // namespace

Registry& SystemRegistry() {
    static WinRegistry registry;
    return registry;
}

}  // namespace platform
