#pragma once
// The registry routines of the places-bar editor. Every key they open is
// closed before they return; text crosses into the A functions through the
// ANSI code page.
#include <platform/ansi.h>
#include <platform/registry.h>

#include <cstdint>
#include <string>
#include <variant>

namespace lumbrake {

using platform::RegKey;

// What the routines exchange: nothing read, a 32-bit signed integer, or a text.
using RegistryValue = std::variant<std::monostate, std::int32_t, std::wstring>;

// Empty for nothing, decimal digits for an integer, the text up to its first
// NUL otherwise: Windows keeps strings with a NUL at the end, and a lone NUL
// is an empty string, not a character of a path.
std::wstring TextForm(const RegistryValue& value);

class Module1 {
public:
    Module1(platform::Registry& registry, const platform::AnsiCodePage& codePage)
        : m_registry(registry), m_codePage(codePage) {}

    // The type the last successful type query found: 1 REG_SZ, 2 REG_DWORD, 3 other.
    std::int16_t LastValueKind = 0;

    // The outer routines return the Win32 code of their last registry call,
    // so that the apply can tell a failed write from a successful one.
    long CreateKey(RegKey root, const std::wstring& keyPath);
    long SetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName, const RegistryValue& value,
                     std::uint32_t valueType);
    RegistryValue GetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName);
    long DeleteKey(RegKey root, const std::wstring& keyPath);
    long DeleteKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName);
    long SetValueOnHandle(RegKey key, const std::wstring& valueName, std::uint32_t valueType, const RegistryValue& value);
    long QueryValueOnHandle(RegKey key, const std::wstring& valueName, RegistryValue& value);

    platform::Registry& Registry() { return m_registry; }
    const platform::AnsiCodePage& CodePage() const { return m_codePage; }

private:
    // Names and paths are plain ASCII here; one that the code page cannot hold
    // becomes an empty name, which then names nothing that exists.
    std::string Ansi(const std::wstring& text) const;

    platform::Registry& m_registry;
    const platform::AnsiCodePage& m_codePage;
};

}  // namespace lumbrake
