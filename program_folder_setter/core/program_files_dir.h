#pragma once
// What the dialog stores for each choice, without Windows: the path a
// fixed-path button stands for, whether a typed path may be stored, and the
// write of ProgramFilesDir itself.
#include <platform/registry.h>

#include <cstdint>
#include <cstring>

namespace tarnvale {

inline constexpr char kProgramFilesKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kProgramFilesValue[] = "ProgramFilesDir";

// The path of a fixed-path button (its own label), or null for any other id.
const char* FixedPath(int buttonId);

// An empty or blank typed path is never stored: it would wipe the folder
// that every installer relies on, and the dialog would not show it.
bool IsStorablePath(const char* text);

// Stores the text and its NUL as REG_SZ under HKEY_LOCAL_MACHINE. The key is
// created if missing and closed again here; a failed open skips the write,
// a failed write still closes. Results are not reported: nothing is shown.
// A template over the registry's shape (CreateKey, SetValueEx, CloseKey of
// platform::Registry), so that the program can call advapi32 with plain
// pointers: the std::string of the shared seam would triple its size.
template <class Registry>
void StoreProgramFilesDir(Registry& registry, const char* text) {
    platform::RegKey key = 0;
    if (registry.CreateKey(platform::kHkeyLocalMachine, kProgramFilesKey, &key) != platform::kErrorSuccess) return;
    struct Closer {
        Registry& registry;
        platform::RegKey key;
        ~Closer() { registry.CloseKey(key); }
    } closer{registry, key};
    registry.SetValueEx(key, kProgramFilesValue, platform::kRegSz, text, static_cast<std::uint32_t>(std::strlen(text) + 1));
}

}  // namespace tarnvale
