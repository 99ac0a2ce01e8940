#pragma once
// Setting up the in-memory registry as other programs leave it, for the
// native tests of the start-up reading and the apply.
#include <places_bar/places.h>

#include <platform/ansi.h>
#include <platform/memory_registry.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumbrake::testing {

inline const std::wstring kPolicyPath = L"HKCU\\" + std::wstring(kPolicyKey);
inline const std::wstring kPlacesPath = L"HKCU\\" + std::wstring(kPlacesKey);

inline std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text) {
    const std::string units = platform::ToUtf16(text);
    return {units.begin(), units.end()};
}
inline std::vector<std::uint8_t> DwordBytes(std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

class RegistrySetup {
public:
    explicit RegistrySetup(platform::MemoryRegistry& registry) : m_registry(registry) {}

    // A value with exactly these bytes and type, through the W function;
    // keyPath is "HKCU\...".
    void Store(const std::wstring& keyPath, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) {
        platform::UniqueRegKey key(m_registry);
        ASSERT_EQ(m_registry.CreateKeyExW(platform::kHkeyCurrentUser, keyPath.substr(5), platform::kKeyAccess, key.put()),
                  platform::kErrorSuccess);
        ASSERT_EQ(m_registry.SetValueExW(key.get(), name, type, data, size), platform::kErrorSuccess);
    }
    // The same through the A function, as a program of the code page writes it.
    void StoreAnsi(const std::wstring& keyPath, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) {
        platform::UniqueRegKey key(m_registry);
        ASSERT_EQ(m_registry.CreateKeyExW(platform::kHkeyCurrentUser, keyPath.substr(5), platform::kKeyAccess, key.put()),
                  platform::kErrorSuccess);
        const std::string ansiName = platform::SystemCodePage().ToAnsiLossy(name);
        ASSERT_EQ(m_registry.SetValueEx(key.get(), ansiName, type, data, size), platform::kErrorSuccess);
    }
    void StoreDword(const std::wstring& keyPath, const std::wstring& name, std::int32_t value) {
        Store(keyPath, name, platform::kRegDword, &value, sizeof value);
    }
    // With its NUL, as the system's own tools store strings.
    void StoreString(const std::wstring& keyPath, const std::wstring& name, const std::wstring& text,
                     std::uint32_t type = platform::kRegSz) {
        const std::string units = platform::ToUtf16(text + L'\0');
        Store(keyPath, name, type, units.data(), static_cast<std::uint32_t>(units.size()));
    }
    void CreateKey(const std::wstring& keyPath) {
        platform::UniqueRegKey key(m_registry);
        ASSERT_EQ(m_registry.CreateKeyExW(platform::kHkeyCurrentUser, keyPath.substr(5), platform::kKeyAccess, key.put()),
                  platform::kErrorSuccess);
    }

private:
    platform::MemoryRegistry& m_registry;
};

}  // namespace lumbrake::testing
