#pragma once
// What a stored value holds, read one way everywhere: whether it is there at
// all, a DWORD only when it is one of four bytes, a string up to its first
// NUL, and the forms in which people see any value.
#include <platform/registry.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// "Absent" and "could not be read" are different answers: a value that is
// there but cannot be read is never taken for one that is not.
enum class Presence { Absent, Present, Unreadable };
// What the code of an open or a query says: only "not found" is absent.
inline Presence PresenceOf(long rc) {
    return rc == kErrorSuccess ? Presence::Present : rc == kErrorFileNotFound ? Presence::Absent : Presence::Unreadable;
}

// A value exactly as the registry keeps it, or why there is none to see.
struct StoredValue {
    Presence presence = Presence::Absent;
    RegValue value;  // when present
    long error = 0;  // when unreadable
    bool operator==(const StoredValue&) const = default;
};

// The number of a REG_DWORD of exactly four bytes; nothing for any other value.
std::optional<std::uint32_t> DwordOf(const RegValue& value);
RegValue DwordValue(std::uint32_t number);

// REG_SZ and REG_EXPAND_SZ: one text each.
inline bool IsTextType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }
// The text of a value's units up to its first NUL: Windows keeps strings
// with a NUL at the end, and a lone NUL is an empty string.
std::wstring StringOf(const RegValue& value);
// A string as the system's own tools store it: the text and one NUL.
RegValue StringValue(std::wstring_view text, std::uint32_t type = kRegSz);

// Below a blank: no path holds one, and an edit field would not keep it.
bool HasControlCharacter(std::wstring_view text);

// "REG_BINARY" and the like, or "REG_0x1234" for a type without a name.
std::wstring RegTypeName(std::uint32_t type);
// The data of a value of any type as a user reads it: the text of a string,
// the strings of a REG_MULTI_SZ in quotes, the number of a DWORD or QWORD
// of the right length, and bytes in hexadecimal otherwise.
std::wstring DataText(std::uint32_t type, const std::vector<std::uint8_t>& data);
// Any value in a form that no path can have ('<' and '>' never stand in a
// Windows path): "<REG_BINARY: 81 20 FF>"; empty when it holds no bytes.
std::wstring DisplayForm(const RegValue& value);

}  // namespace platform
