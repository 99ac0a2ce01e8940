#include "place_names.h"

#include <platform/registry.h>

namespace lumbrake::cli {

using platform::SameName;

namespace {

bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// A drive ("C:", "C:\..."), a share ("\\server\..."), a path starting
// with an environment variable, or a shell namespace path ("::{...}").
bool IsFullPath(std::wstring_view text) {
    if (text.size() >= 2 && IsLetter(text[0]) && text[1] == L':') return text.size() == 2 || text[2] == L'\\' || text[2] == L'/';
    return text.starts_with(L"\\\\") || text.starts_with(L"%") || text.starts_with(L"::");
}

}  // namespace

std::wstring_view ListedName(std::size_t index) {
    const std::wstring_view entry = kPlaceEntries.at(index);
    return entry.substr(0, entry.size() - 3);
}

std::optional<std::wstring> SlotTextFor(std::wstring_view argument) {
    const std::wstring text = TrimSpaces(argument);
    for (std::size_t i = 0; i < kPlaceEntries.size(); ++i)
        if (SameName(text, ListedName(i)) || SameName(text, kEnglishPlaceNames[i])) return std::wstring(kPlaceEntries[i]);
    if (text.empty() || IsPlaceEntry(text) || IsFullPath(text)) return text;
    return std::nullopt;
}

}  // namespace lumbrake::cli
