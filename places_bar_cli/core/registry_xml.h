#pragma once
// A Group Policy Preferences registry collection (Registry.xml): one item
// per value to update or delete, or per key to delete, in the order given,
// which is the order in which a client carries them out.
#include <platform/registry.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lumbrake::cli {

struct GppItem {
    std::wstring keyPath;    // under HKEY_CURRENT_USER
    bool wholeKey = false;   // the item deletes the key itself
    std::wstring valueName;  // "" is the key's default value
    std::optional<platform::RegValue> value;  // set: Update; none: Delete
};

// The value that the collection cannot carry exactly (a type it has no
// form for, a string without its one terminating NUL, a character XML
// cannot hold).
struct GppUnfit {
    std::wstring keyPath;
    std::wstring valueName;
};

// `uids` holds one fresh GUID ("{...}") per item; `changed` is the time
// stamp every item bears ("2024-05-01 09:30:00", UTC).
// The document's text, to be written as UTF-8 as its declaration says.
std::variant<std::wstring, GppUnfit> RegistryXml(const std::vector<GppItem>& items, const std::vector<std::wstring>& uids,
                                                const std::wstring& changed);

}  // namespace lumbrake::cli
