#pragma once
// A registry key with everything under it, as a value: read whole through
// the W functions (so nothing is lost to the code page), compared with
// another, and turned into it with the fewest changes.
#include <platform/registry.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

struct NamedValue {
    std::wstring name;  // as stored; "" is the key's default value
    platform::RegValue value;
    bool operator==(const NamedValue&) const = default;
};

struct KeyNode {
    std::wstring name;  // as stored
    std::vector<NamedValue> values;
    std::vector<KeyNode> keys;

    // By name, without regard to case, as the registry finds them.
    const NamedValue* FindValue(std::wstring_view valueName) const;
    const KeyNode* FindKey(std::wstring_view keyName) const;
    KeyNode* FindKey(std::wstring_view keyName);
};

// A key and everything under it, or nothing when the key does not exist.
using KeyState = std::optional<KeyNode>;

struct ReadOutcome {
    long rc = platform::kErrorSuccess;  // of the read that failed, if any
    std::wstring failedPath;
    KeyState state;
};
// Reads with read rights only. A key that is absent reads as nothing; any
// other failure is reported, never taken for an absent key.
ReadOutcome ReadKeyTree(platform::Registry& registry, platform::RegKey root, const std::wstring& path);

struct Change {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind;
    std::wstring keyPath;  // under the root
    std::wstring valueName;
    std::optional<platform::RegValue> before;  // what a value change replaces
    std::optional<platform::RegValue> after;   // what it stores
};

// The changes that make `from` into `to`, in an order that can be carried
// out: deletions before the writes that could collide with them, a key
// before its values. Names match without regard to case, but a name spelled
// differently is deleted and made anew, so that the result is exact.
std::vector<Change> Diff(const std::wstring& path, const KeyState& from, const KeyState& to);

struct FailedChange {
    Change change;
    long rc;
};
// Carries out every change through the W functions, going on after a
// failure, and returns the ones that failed. A key is deleted with
// everything under it.
std::vector<FailedChange> ApplyChanges(platform::Registry& registry, platform::RegKey root, const std::vector<Change>& changes);

// Stores exactly these bytes. The W function, like Windows, counts one more
// unit into a string whose next unit is NUL; the data are handed over in a
// buffer where no NUL follows them.
[[nodiscard]] long SetValueExactly(platform::Registry& registry, platform::RegKey key, const std::wstring& name,
                                   const platform::RegValue& value);

}  // namespace lumbrake::cli
