#pragma once
// The registry routines of the places-bar editor. Every key they open is
// closed before they return. Reads go through the W functions with read
// rights only, so that what is stored is seen exactly and a key the user may
// not change still shows what it holds; writes cross into the A functions
// through the ANSI code page, and a text that cannot cross is never written.
#include <platform/ansi.h>
#include <platform/reg_value.h>
#include <platform/registry.h>

#include <cstdint>
#include <string>
#include <variant>

namespace lumbrake {

using platform::Presence;
using platform::RegKey;
using platform::StoredValue;

// What the routines exchange: nothing read, a 32-bit signed integer, a text,
// or a value of another kind (a DWORD of another length among them), kept
// as stored so that it can be shown for what it is and left alone.
using RegistryValue = std::variant<std::monostate, std::int32_t, std::wstring, platform::RegValue>;

// Empty for nothing, decimal digits for an integer, the text up to its first
// NUL, and a value of another kind in a form no path can have.
std::wstring TextForm(const RegistryValue& value);

// What a stored value means to the routines' callers: a 4-byte DWORD is an
// integer, a string without control characters a text, anything else itself.
RegistryValue Decode(const platform::RegValue& stored);

class Module1 {
public:
    Module1(platform::Registry& registry, const platform::AnsiCodePage& codePage)
        : m_registry(registry), m_codePage(codePage) {}

    // The type the last successful type query found: 1 REG_SZ, 2 REG_DWORD,
    // 3 other. Start-up needs it no more: the value read carries its kind.
    std::int16_t LastValueKind = 0;

    // The outer routines return the Win32 code of their last registry call,
    // so that the apply can tell a failed write from a successful one; a name
    // or text that the code page cannot hold fails with
    // kErrorNoUnicodeTranslation before any call.
    [[nodiscard]] long CreateKey(RegKey root, const std::wstring& keyPath);
    [[nodiscard]] long SetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName,
                                   const RegistryValue& value, std::uint32_t valueType);
    // `stored`, when given, receives the value exactly, or whether it is
    // absent or could not be read.
    RegistryValue GetKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName, StoredValue* stored = nullptr);
    [[nodiscard]] long DeleteKey(RegKey root, const std::wstring& keyPath);
    [[nodiscard]] long DeleteKeyValue(RegKey root, const std::wstring& keyPath, const std::wstring& valueName);
    [[nodiscard]] long SetValueOnHandle(RegKey key, const std::wstring& valueName, std::uint32_t valueType, const RegistryValue& value);
    [[nodiscard]] long QueryValueOnHandle(RegKey key, const std::wstring& valueName, RegistryValue& value, platform::RegValue* stored = nullptr);

    // Whether the key exists, found with read rights only; `error` receives
    // the code of an open that failed for another reason than absence.
    Presence ProbeKey(RegKey root, const std::wstring& keyPath, long* error = nullptr);

    platform::Registry& Registry() { return m_registry; }
    const platform::AnsiCodePage& CodePage() const { return m_codePage; }

private:
    platform::Registry& m_registry;
    const platform::AnsiCodePage& m_codePage;
};

}  // namespace lumbrake
