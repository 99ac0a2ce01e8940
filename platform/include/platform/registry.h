#pragma once
// The registry calls the programs make, shaped like their ANSI ("A") Win32
// counterparts: names and paths are ANSI bytes, results are Win32 codes.
// One implementation calls advapi32; another keeps an in-memory tree for tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// The value of an HKEY. The predefined roots are the Win32 numbers.
using RegKey = std::uintptr_t;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;

// Value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// The specific key rights only (query, set, create sub key, enumerate,
// notify, create link), without the standard rights of KEY_ALL_ACCESS: what
// the places-bar routines ask for where they write.
inline constexpr std::uint32_t kKeyAccess = 0x3F;
// Reading needs no more than this (KEY_READ), so that a key the user may
// read but not change still shows what it holds.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyQueryValue = 0x1;
inline constexpr std::uint32_t kKeySetValue = 0x2;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x4;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x8;
inline constexpr std::uint32_t kKeyDelete = 0x10000;  // DELETE
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;
// The registry view of HKLM\SOFTWARE to open on 64-bit Windows, whatever the
// program's own bitness (ignored on 32-bit Windows).
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;

// Win32 result codes that callers tell apart.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorKeyDeleted = 1018;
inline constexpr long kErrorNoUnicodeTranslation = 1113;

class Registry {
public:
    virtual ~Registry() = default;

    [[nodiscard]] virtual long CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) = 0;  // RegCreateKeyExA
    [[nodiscard]] virtual long CreateKey(RegKey root, const std::string& subKey, RegKey* result) = 0;                         // RegCreateKeyA
    [[nodiscard]] virtual long OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) = 0;    // RegOpenKeyExA
    [[nodiscard]] virtual long OpenKey(RegKey root, const std::string& subKey, RegKey* result) = 0;                           // RegOpenKeyA
    // RegQueryValueExA: data may be null to learn type and size only.
    [[nodiscard]] virtual long QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) = 0;
    [[nodiscard]] virtual long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) = 0;
    [[nodiscard]] virtual long DeleteKey(RegKey root, const std::string& subKey) = 0;                                         // RegDeleteKeyA
    [[nodiscard]] virtual long DeleteValue(RegKey key, const std::string& name) = 0;                                          // RegDeleteValueA
    [[nodiscard]] virtual long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) = 0;                   // RegQueryInfoKeyA
    [[nodiscard]] virtual long CloseKey(RegKey key) = 0;

    // The W functions, for what the code page cannot carry: reading what is
    // stored exactly, and keys and values whose names it lacks. Strings are
    // UTF-16 code units, as the registry keeps them.
    [[nodiscard]] virtual long CreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) = 0;
    [[nodiscard]] virtual long OpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) = 0;
    [[nodiscard]] virtual long QueryValueExW(RegKey key, const std::wstring& name, std::uint32_t* type, void* data, std::uint32_t* size) = 0;
    [[nodiscard]] virtual long SetValueExW(RegKey key, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) = 0;
    [[nodiscard]] virtual long DeleteKeyW(RegKey root, const std::wstring& subKey) = 0;
    [[nodiscard]] virtual long DeleteValueW(RegKey key, const std::wstring& name) = 0;
    // The name of the sub key or value at `index`; kErrorNoMoreItems past the last.
    [[nodiscard]] virtual long EnumKeyExW(RegKey key, std::uint32_t index, std::wstring* name) = 0;
    [[nodiscard]] virtual long EnumValueW(RegKey key, std::uint32_t index, std::wstring* name) = 0;
};

// A value as the registry keeps it: its type and its bytes, strings as
// UTF-16 code units.
struct RegValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValue&) const = default;
};

// Reads a whole value of an open key through the W function, however long it
// is; the Win32 code of the last call.
[[nodiscard]] long QueryValueW(Registry& registry, RegKey key, const std::wstring& name, RegValue* value);

// Stores exactly these bytes through the W function. Like Windows, it counts
// one more unit into a string whose next unit is NUL; the data are handed
// over in a buffer where no NUL follows them.
[[nodiscard]] long SetValueExactly(Registry& registry, RegKey key, const std::wstring& name, const RegValue& value);

// Registry names match without regard to case, of ASCII letters only as far
// as the programs need it; compared in place, since files with many keys
// compare names very often.
bool SameName(std::wstring_view a, std::wstring_view b);
// The same folding, as a name to look another up by.
std::wstring FoldRegistryName(std::wstring_view name);
// The names between the backslashes of a key path, empty ones included.
std::vector<std::wstring> SplitKeyPath(std::wstring_view path);

// Deletes the key with everything under it; a key already gone is success.
[[nodiscard]] long DeleteTree(Registry& registry, RegKey root, const std::wstring& path);

// Every name that enumerate(index, &name) gives, up to the end of the list.
template <typename Enumerate>
[[nodiscard]] long EnumerateNames(Enumerate&& enumerate, std::vector<std::wstring>& names) {
    for (std::uint32_t index = 0;; ++index) {
        std::wstring name;
        const long rc = enumerate(index, &name);
        if (rc == kErrorNoMoreItems) return kErrorSuccess;
        if (rc != kErrorSuccess) return rc;
        names.push_back(std::move(name));
    }
}

// Owns an open key of a registry (a Registry, or anything with its
// CloseKey); closes it once. Never wraps a predefined root.
template <class Keys>
class BasicUniqueRegKey {
public:
    explicit BasicUniqueRegKey(Keys& registry) : m_registry(&registry) {}
    BasicUniqueRegKey(const BasicUniqueRegKey&) = delete;
    BasicUniqueRegKey& operator=(const BasicUniqueRegKey&) = delete;
    BasicUniqueRegKey(BasicUniqueRegKey&& other) noexcept : m_registry(other.m_registry), m_key(std::exchange(other.m_key, 0)) {}
    ~BasicUniqueRegKey() { reset(); }

    RegKey get() const { return m_key; }
    RegKey* put() {
        reset();
        return &m_key;
    }
    explicit operator bool() const { return m_key != 0; }
    // A key that fails to close is gone all the same: there is nothing to retry.
    void reset() {
        if (m_key != 0) static_cast<void>(m_registry->CloseKey(std::exchange(m_key, 0)));
    }

private:
    Keys* m_registry;
    RegKey m_key = 0;
};
using UniqueRegKey = BasicUniqueRegKey<Registry>;

}  // namespace platform
