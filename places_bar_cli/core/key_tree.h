#pragma once
// A registry key with everything under it, as a value: read whole through
// the W functions (so nothing is lost to the code page), compared with
// another, and turned into it with the fewest steps.
#include <places_bar/apply.h>
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

// The steps that make `from` into `to` under HKEY_CURRENT_USER, exactly
// (carried out by the engine's executor, lumbrake::Execute), in an order
// that can be carried out: deletions before the writes that could collide
// with them, a key before its values. Names match without regard to case,
// but a name spelled differently is deleted and made anew, so that the
// result is exact.
std::vector<Step> Diff(const std::wstring& path, const KeyState& from, const KeyState& to);

}  // namespace lumbrake::cli
