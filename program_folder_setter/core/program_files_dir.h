#pragma once
// What the dialog stores for each choice, without Windows: the path a
// fixed-path button stands for, whether a typed path may be stored, the
// write of ProgramFilesDir itself, and what a typed path it cannot store
// leaves behind.
//
// On 64-bit Windows a 32-bit program's HKLM\SOFTWARE is the 32-bit view
// (SOFTWARE\WOW6432Node), whose ProgramFilesDir only 32-bit programs read.
// The folder that the system, 64-bit programs and their installers read is
// in the 64-bit view: there (`windows64`) every read and write asks for it.
#include <platform/registry.h>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarnvale {

inline constexpr char kProgramFilesKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kProgramFilesValue[] = "ProgramFilesDir";
inline constexpr char kProgramW6432Value[] = "ProgramW6432Dir";
inline constexpr wchar_t kProgramFilesKeyW[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr wchar_t kProgramFilesValueW[] = L"ProgramFilesDir";
inline constexpr wchar_t kProgramW6432ValueW[] = L"ProgramW6432Dir";
inline constexpr wchar_t kWriteFailed[] = L"写入注册表失败，设置没有生效！";

// The path of a fixed-path button (its own label), or null for any other id.
const char* FixedPath(int buttonId);

// Whether the text holds nothing but blanks of any kind (the ideographic and
// the no-break space, and the characters a user cannot see at all, among
// them). Such a path is never stored: it would wipe the folder that every
// installer relies on, and the dialog would not show it.
bool IsBlankText(std::wstring_view text);

// Whether two stored values are strings of the same text (up to the first NUL).
bool SameText(std::uint32_t type1, const std::uint8_t* data1, std::uint32_t size1, std::uint32_t type2, const std::uint8_t* data2,
              std::uint32_t size2);

inline std::uint32_t InView(bool windows64, std::uint32_t access) { return windows64 ? access | platform::kKeyWow64_64Key : access; }

// A value as the W functions give it, type and bytes, so that nothing is lost
// to the code page. All zero until read, so that a static one stays in .bss.
template <std::uint32_t Capacity>
struct ValueBytes {
    long rc = 0;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::uint8_t data[Capacity];

    template <class Registry>
    void Read(Registry& registry, platform::RegKey key, const wchar_t* name) {
        size = Capacity;
        rc = registry.QueryValueExW(key, name, &type, data, &size);
    }
    bool SameTextAs(const ValueBytes& other) const {
        return rc == platform::kErrorSuccess && other.rc == platform::kErrorSuccess && SameText(type, data, size, other.type, other.data, other.size);
    }
};

enum class Stored { Nothing, ProgramFilesDir, Both };

// Stores the text and its NUL as REG_SZ in ProgramFilesDir and tells what it
// stored. The key is created if missing and closed again here; a failed
// open skips the write, a failed write still closes. On 64-bit Windows
// ProgramW6432Dir, from which Windows sets a 64-bit program's %ProgramFiles%,
// gets the same text where it held the same as ProgramFilesDir (and
// `mayMoveW6432`); if it cannot, ProgramFilesDir gets back what it held, so
// that a failure leaves the two as they were.
// A template over the registry's shape (CreateKey, SetValueEx, CloseKey of
// platform::Registry), so that the program can call advapi32 with plain
// pointers (platform::Advapi32Registry), and tests the in-memory registry.
template <class Registry>
[[nodiscard]] Stored StoreFolder(Registry& registry, bool windows64, const char* text, bool mayMoveW6432 = true) {
    platform::BasicUniqueRegKey key(registry);
    const auto size = static_cast<std::uint32_t>(std::strlen(text) + 1);
    // The NUL counts: RegSetValueExA's documentation asks for it, although
    // Windows and Wine both add one that the count leaves out.
    if (!windows64) {
        if (registry.CreateKey(platform::kHkeyLocalMachine, kProgramFilesKey, key.put()) != platform::kErrorSuccess) return Stored::Nothing;
        return registry.SetValueEx(key.get(), kProgramFilesValue, platform::kRegSz, text, size) == platform::kErrorSuccess ? Stored::ProgramFilesDir
                                                                                                                          : Stored::Nothing;
    }
    const std::uint32_t access = InView(true, platform::kKeyQueryValue | platform::kKeySetValue);
    if (registry.CreateKeyEx(platform::kHkeyLocalMachine, kProgramFilesKey, access, key.put()) != platform::kErrorSuccess) return Stored::Nothing;
    // Longer values than any path stored here are never in step.
    ValueBytes<4096> before, w6432;
    if (mayMoveW6432) {
        before.Read(registry, key.get(), kProgramFilesValueW);
        w6432.Read(registry, key.get(), kProgramW6432ValueW);
    }
    const bool inStep = mayMoveW6432 && w6432.SameTextAs(before);
    if (registry.SetValueEx(key.get(), kProgramFilesValue, platform::kRegSz, text, size) != platform::kErrorSuccess) return Stored::Nothing;
    if (!inStep) return Stored::ProgramFilesDir;
    if (registry.SetValueEx(key.get(), kProgramW6432Value, platform::kRegSz, text, size) == platform::kErrorSuccess) return Stored::Both;
    static_cast<void>(registry.SetValueExW(key.get(), kProgramFilesValueW, before.type, before.data, before.size));
    return Stored::Nothing;
}

template <class Registry>
[[nodiscard]] bool StoreProgramFilesDir(Registry& registry, bool windows64, const char* text) {
    return StoreFolder(registry, windows64, text) != Stored::Nothing;
}

// A value as it was when the custom button was chosen.
struct EarlierValue {
    // Unread: it could not be read, or is longer than any path; then nothing
    // is stored over it, since nothing could be put back in its place.
    enum class Kind { Unread, Absent, Held } kind = Kind::Unread;
    bool replaced = false;  // a typed path has been stored over it
    ValueBytes<65536> bytes;  // 32,767 UTF-16 units and a NUL: the longest path Windows takes

    template <class Registry>
    void Remember(Registry& registry, long openRc, platform::RegKey key, const wchar_t* name) {
        replaced = false;
        if (openRc == platform::kErrorSuccess) bytes.Read(registry, key, name);
        const long rc = openRc == platform::kErrorSuccess ? bytes.rc : openRc;
        kind = rc == platform::kErrorSuccess ? Kind::Held : rc == platform::kErrorFileNotFound ? Kind::Absent : Kind::Unread;
    }
    // Puts it back where a typed path replaced it (deletes it again if there was none).
    template <class Registry>
    void PutBack(Registry& registry, long openRc, platform::RegKey key, const wchar_t* name) {
        if (!replaced || openRc != platform::kErrorSuccess) return;
        const bool absent = kind == Kind::Absent;
        const long rc = absent ? registry.DeleteValueW(key, name) : registry.SetValueExW(key, name, bytes.type, bytes.data, bytes.size);
        if (rc == platform::kErrorSuccess || (absent && rc == platform::kErrorFileNotFound)) replaced = false;
    }
};

// ProgramFilesDir and, on 64-bit Windows, ProgramW6432Dir as the custom
// choice found them.
struct EarlierFolder {
    EarlierValue programFilesDir;
    EarlierValue programW6432Dir;
};

template <class Registry>
void RememberProgramFilesDir(Registry& registry, bool windows64, EarlierFolder& earlier) {
    platform::BasicUniqueRegKey key(registry);
    const long rc = registry.OpenKeyExW(platform::kHkeyLocalMachine, kProgramFilesKeyW, InView(windows64, platform::kKeyQueryValue), key.put());
    earlier.programFilesDir.Remember(registry, rc, key.get(), kProgramFilesValueW);
    // On 32-bit Windows it is never touched.
    earlier.programW6432Dir.Remember(registry, windows64 ? rc : platform::kErrorInvalidHandle, key.get(), kProgramW6432ValueW);
}

// Puts back what a typed path replaced; whether the earlier values are back.
template <class Registry>
[[nodiscard]] bool PutBackProgramFilesDir(Registry& registry, bool windows64, EarlierFolder& earlier) {
    if (!earlier.programFilesDir.replaced && !earlier.programW6432Dir.replaced) return true;
    platform::BasicUniqueRegKey key(registry);
    const long rc = registry.OpenKeyExW(platform::kHkeyLocalMachine, kProgramFilesKeyW, InView(windows64, platform::kKeySetValue), key.put());
    earlier.programFilesDir.PutBack(registry, rc, key.get(), kProgramFilesValueW);
    earlier.programW6432Dir.PutBack(registry, rc, key.get(), kProgramW6432ValueW);
    return !earlier.programFilesDir.replaced && !earlier.programW6432Dir.replaced;
}

enum class TypedPathResult { Stored, Failed, Untold };

// The custom choice's write, for the typed path as ANSI text: "" when nothing
// is typed, null when it cannot be stored exactly. Anything but a stored text
// puts the earlier values back, so no fragment of a longer text stays; only
// an emptied edit whose values are back is no failure.
template <class Registry>
[[nodiscard]] TypedPathResult StoreTypedPath(Registry& registry, bool windows64, EarlierFolder& earlier, const char* text) {
    if (text && *text && earlier.programFilesDir.kind != EarlierValue::Kind::Unread) {
        const bool w6432Known = earlier.programW6432Dir.kind == EarlierValue::Kind::Held;
        const Stored stored = StoreFolder(registry, windows64, text, w6432Known);
        earlier.programFilesDir.replaced |= stored != Stored::Nothing;
        earlier.programW6432Dir.replaced |= stored == Stored::Both;
        return stored != Stored::Nothing ? TypedPathResult::Stored : TypedPathResult::Failed;
    }
    const bool putBack = PutBackProgramFilesDir(registry, windows64, earlier);
    return putBack && text && !*text ? TypedPathResult::Untold : TypedPathResult::Failed;
}

}  // namespace tarnvale
