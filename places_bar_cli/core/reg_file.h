#pragma once
// Registry files as regedit writes and reads them. Written as "Windows
// Registry Editor Version 5.00": UTF-16LE with a byte-order mark, CRLF,
// long hexadecimal data continued with a backslash. Read in that form and
// as REGEDIT4 (text in the ANSI code page). The reader takes files from
// anyone: it refuses, with the line, anything it does not understand
// exactly, rather than skipping it as regedit does.
#include "key_tree.h"

#include <platform/ansi.h>
#include <platform/registry.h>

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lumbrake::cli {

struct RegOperation {
    enum class Kind { Key, DeleteKey, SetValue, DeleteValue };
    Kind kind;
    int line;              // where it starts, counted from 1
    std::wstring keyPath;  // as written: "HKEY_CURRENT_USER\Software\..."
    std::wstring valueName;
    platform::RegValue value;
};

struct RegFile {
    bool unicode = false;  // UTF-16 rather than the ANSI code page
    std::vector<RegOperation> operations;
};

enum class RegFileProblem {
    NotARegistryFile,   // no known header on the first line
    OddLength,          // UTF-16 with half a character at the end
    NotInCodePage,      // ANSI bytes the code page does not define
    NulCharacter,
    BadKeyLine,
    ValueWithoutKey,    // before any key, or after a key deletion
    BadValueName,
    BadEscape,
    BadData,
    UnknownLine,
};

struct RegFileError {
    int line = 0;
    RegFileProblem problem{};
};

std::variant<RegFile, RegFileError> ParseRegFile(std::string_view bytes, const platform::AnsiCodePage& codePage);

// One key section: "[path]" or "[-path]" and the values under it; a value
// without data is written as a deletion ("name"=-).
struct RegSection {
    std::wstring keyPath;
    bool deleteKey = false;
    std::vector<std::pair<std::wstring, std::optional<platform::RegValue>>> values;
};

std::wstring RegFileText(const std::vector<RegSection>& sections);
// The file's bytes: the text as UTF-16LE after its byte-order mark.
std::string RegFileBytes(const std::vector<RegSection>& sections);

// A key and everything under it, every value in its exact form; when
// `deleteFirst`, preceded by the key's deletion, so that importing the file
// leaves exactly this. An absent key is its deletion alone.
std::vector<RegSection> SectionsOfTree(const std::wstring& keyPath, const KeyState& state, bool deleteFirst);

// What the operations leave under `rootPath` (a full path, "HKEY_..."),
// starting from nothing, or the first operation that names a key outside it.
struct KeyOutside {
    int line;
    std::wstring keyPath;
};
std::variant<KeyState, KeyOutside> StateAfter(const std::wstring& rootPath, const std::vector<RegOperation>& operations);

}  // namespace lumbrake::cli
