#pragma once
// The registry routines of the places-bar editor. Every key they open is
// closed before they return. Reads go through the W functions with read
// rights only, so that what is stored is seen exactly and a key the user may
// not change still shows what it holds; writes cross into the A functions
// through the ANSI code page, and a text that cannot cross is never written.
#include <platform/ansi.h>
#include <platform/registry.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace lumbrake {

using platform::RegKey;

// A stored value that is neither a 4-byte DWORD nor a string: kept as stored,
// so that it can be shown for what it is and left alone.
struct OtherValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const OtherValue&) const = default;
};

// What the routines exchange: nothing read, a 32-bit signed integer, a text,
// or a value of another kind.
using RegistryValue = std::variant<std::monostate, std::int32_t, std::wstring, OtherValue>;

// Empty for nothing, decimal digits for an integer, the text up to its first
// NUL (Windows keeps strings with a NUL at the end, and a lone NUL is an
// empty string, not a character of a path), and for a value of another kind
// a form no path can have: "<REG_BINARY: 81 20 FF>" (empty when it holds no
// bytes at all).
std::wstring TextForm(const RegistryValue& value);

// "REG_BINARY" and the like, or "REG_0x1234" for a type without a name.
std::wstring RegTypeName(std::uint32_t type);
// The data of a value of any type as a user reads it: the text of a string,
// the strings of a REG_MULTI_SZ in quotes, the number of a DWORD or QWORD
// of the right length, and bytes in hexadecimal otherwise.
std::wstring DataText(std::uint32_t type, const std::vector<std::uint8_t>& data);

class Module1 {
public:
    Module1(platform::Registry& registry, const platform::AnsiCodePage& codePage)
        : m_registry(registry), m_codePage(codePage) {}

    // The type the last successful type query found: 1 REG_SZ, 2 REG_DWORD, 3 other.
    std::int16_t LastValueKind = 0;

    // The outer routines return the Win32 code of their last registry call,
    // so that the apply can tell a failed write from a successful one; a name
    // or text that the code page cannot hold fails with
    // kErrorNoUnicodeTranslation before any call.
    [[nodiscard]] long CreateKey(RegKey root, const std::wstring& keyPath);
    [[nodiscard]] long SetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName,
                                   const RegistryValue& value, std::uint32_t valueType);
    RegistryValue GetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName);
    [[nodiscard]] long DeleteKey(RegKey root, const std::wstring& keyPath);
    [[nodiscard]] long DeleteKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName);
    [[nodiscard]] long SetValueOnHandle(RegKey key, const std::wstring& valueName, std::uint32_t valueType, const RegistryValue& value);
    [[nodiscard]] long QueryValueOnHandle(RegKey key, const std::wstring& valueName, RegistryValue& value);

    // Whether the key exists, found with read rights only.
    bool KeyExists(RegKey root, const std::wstring& keyPath);

    platform::Registry& Registry() { return m_registry; }
    const platform::AnsiCodePage& CodePage() const { return m_codePage; }

private:
    platform::Registry& m_registry;
    const platform::AnsiCodePage& m_codePage;
};

}  // namespace lumbrake
