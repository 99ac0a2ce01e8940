#pragma once
// What the dialog stores for each choice, without Windows: the path a
// fixed-path button stands for, whether a typed path may be stored, the
// write of ProgramFilesDir itself, and what a typed path it cannot store
// leaves behind.
#include <platform/registry.h>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarnvale {

inline constexpr char kProgramFilesKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kProgramFilesValue[] = "ProgramFilesDir";
inline constexpr wchar_t kProgramFilesKeyW[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr wchar_t kProgramFilesValueW[] = L"ProgramFilesDir";
inline constexpr wchar_t kWriteFailed[] = L"写入注册表失败，设置没有生效！";

// The path of a fixed-path button (its own label), or null for any other id.
const char* FixedPath(int buttonId);

// Whether the text holds nothing but blanks of any kind (the ideographic and
// the no-break space, and the characters a user cannot see at all, among
// them). Such a path is never stored: it would wipe the folder that every
// installer relies on, and the dialog would not show it.
bool IsBlankText(std::wstring_view text);

// Stores the text and its NUL as REG_SZ under HKEY_LOCAL_MACHINE and tells
// whether it was stored. The key is created if missing and closed again
// here; a failed open skips the write, a failed write still closes.
// A template over the registry's shape (CreateKey, SetValueEx, CloseKey of
// platform::Registry), so that the program can call advapi32 with plain
// pointers (platform::Advapi32Registry), and tests the in-memory registry.
template <class Registry>
[[nodiscard]] bool StoreProgramFilesDir(Registry& registry, const char* text) {
    platform::BasicUniqueRegKey key(registry);
    if (registry.CreateKey(platform::kHkeyLocalMachine, kProgramFilesKey, key.put()) != platform::kErrorSuccess) return false;
    // The NUL counts: RegSetValueExA's documentation asks for it, although
    // Windows and Wine both add one that the count leaves out.
    return registry.SetValueEx(key.get(), kProgramFilesValue, platform::kRegSz, text, static_cast<std::uint32_t>(std::strlen(text) + 1)) ==
           platform::kErrorSuccess;
}

// ProgramFilesDir as it was when the custom button was chosen, type and bytes
// as the W functions give them, so that nothing is lost to the code page.
struct EarlierValue {
    // Unread: it could not be read, or is longer than any path; then no typed
    // path is stored, since nothing could be put back in its place.
    enum class Kind { Unread, Absent, Held } kind = Kind::Unread;
    bool replaced = false;  // a typed path has been stored over it
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::uint8_t data[65536];  // 32,767 UTF-16 units and a NUL: the longest path Windows takes
};

template <class Registry>
void RememberProgramFilesDir(Registry& registry, EarlierValue& earlier) {
    earlier.kind = EarlierValue::Kind::Unread;
    earlier.replaced = false;
    platform::BasicUniqueRegKey key(registry);
    long rc = registry.OpenKeyExW(platform::kHkeyLocalMachine, kProgramFilesKeyW, platform::kKeyQueryValue, key.put());
    if (rc == platform::kErrorSuccess) {
        earlier.size = sizeof earlier.data;
        rc = registry.QueryValueExW(key.get(), kProgramFilesValueW, &earlier.type, earlier.data, &earlier.size);
    }
    if (rc == platform::kErrorSuccess) earlier.kind = EarlierValue::Kind::Held;
    if (rc == platform::kErrorFileNotFound) earlier.kind = EarlierValue::Kind::Absent;
}

// Puts the earlier value back where a typed path replaced it (deletes it
// again if there was none); whether ProgramFilesDir holds it now.
template <class Registry>
[[nodiscard]] bool PutBackProgramFilesDir(Registry& registry, EarlierValue& earlier) {
    if (!earlier.replaced) return true;
    const bool absent = earlier.kind == EarlierValue::Kind::Absent;
    platform::BasicUniqueRegKey key(registry);
    long rc = registry.OpenKeyExW(platform::kHkeyLocalMachine, kProgramFilesKeyW, platform::kKeySetValue, key.put());
    if (rc == platform::kErrorSuccess) {
        rc = absent ? registry.DeleteValueW(key.get(), kProgramFilesValueW)
                    : registry.SetValueExW(key.get(), kProgramFilesValueW, earlier.type, earlier.data, earlier.size);
    }
    if (rc == platform::kErrorSuccess || (absent && rc == platform::kErrorFileNotFound)) earlier.replaced = false;
    return !earlier.replaced;
}

enum class TypedPathResult { Stored, Failed, Untold };

// The custom choice's write, for the typed path as ANSI text: "" when nothing
// is typed, null when it cannot be stored exactly. Anything but a stored text
// puts the earlier value back, so no fragment of a longer text stays; only
// an emptied edit whose value is back is no failure.
template <class Registry>
[[nodiscard]] TypedPathResult StoreTypedPath(Registry& registry, EarlierValue& earlier, const char* text) {
    if (text && *text && earlier.kind != EarlierValue::Kind::Unread) {
        const bool stored = StoreProgramFilesDir(registry, text);
        earlier.replaced |= stored;
        return stored ? TypedPathResult::Stored : TypedPathResult::Failed;
    }
    const bool putBack = PutBackProgramFilesDir(registry, earlier);
    return putBack && text && !*text ? TypedPathResult::Untold : TypedPathResult::Failed;
}

}  // namespace tarnvale
