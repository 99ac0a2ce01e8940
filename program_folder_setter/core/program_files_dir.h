#pragma once
// What the dialog stores for each choice, without Windows: the path a
// fixed-path button stands for, whether a typed path may be stored, and the
// write of ProgramFilesDir itself.
#include <platform/registry.h>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarnvale {

inline constexpr char kProgramFilesKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kProgramFilesValue[] = "ProgramFilesDir";
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

}  // namespace tarnvale
