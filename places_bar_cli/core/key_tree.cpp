#include "key_tree.h"

#include "text.h"

#include <algorithm>

namespace lumbrake::cli {

using namespace platform;

const NamedValue* KeyNode::FindValue(std::wstring_view valueName) const {
    auto it = std::find_if(values.begin(), values.end(), [&](const NamedValue& v) { return SameName(v.name, valueName); });
    return it == values.end() ? nullptr : &*it;
}

const KeyNode* KeyNode::FindKey(std::wstring_view keyName) const {
    auto it = std::find_if(keys.begin(), keys.end(), [&](const KeyNode& k) { return SameName(k.name, keyName); });
    return it == keys.end() ? nullptr : &*it;
}

KeyNode* KeyNode::FindKey(std::wstring_view keyName) {
    return const_cast<KeyNode*>(std::as_const(*this).FindKey(keyName));
}

namespace {

long ReadNode(Registry& registry, RegKey root, const std::wstring& path, KeyNode& node, std::wstring& failedPath) {
    UniqueRegKey key(registry);
    long rc = registry.OpenKeyExW(root, path, kKeyRead, key.put());
    std::vector<std::wstring> valueNames, keyNames;
    if (rc == kErrorSuccess) rc = EnumerateNames([&](std::uint32_t i, std::wstring* n) { return registry.EnumValueW(key.get(), i, n); }, valueNames);
    if (rc == kErrorSuccess) rc = EnumerateNames([&](std::uint32_t i, std::wstring* n) { return registry.EnumKeyExW(key.get(), i, n); }, keyNames);
    for (const std::wstring& name : valueNames) {
        if (rc != kErrorSuccess) break;
        NamedValue value{name, {}};
        rc = QueryValueW(registry, key.get(), name, &value.value);
        node.values.push_back(std::move(value));
    }
    if (rc != kErrorSuccess) {
        failedPath = path;
        return rc;
    }
    key.reset();
    for (const std::wstring& name : keyNames) {
        KeyNode child{name, {}, {}};
        if ((rc = ReadNode(registry, root, path + L"\\" + name, child, failedPath)) != kErrorSuccess) return rc;
        node.keys.push_back(std::move(child));
    }
    return kErrorSuccess;
}

Step Exactly(Step::Kind kind, const std::wstring& path, const std::wstring& name = {}, std::optional<RegValue> before = {},
             RegValue after = {}) {
    return {kind, path, name, std::move(before), std::move(after), true, -1};
}

void CreateTree(const std::wstring& path, const KeyNode& node, std::vector<Step>& changes) {
    changes.push_back(Exactly(Step::Kind::CreateKey, path));
    for (const NamedValue& value : node.values) changes.push_back(Exactly(Step::Kind::SetValue, path, value.name, {}, value.value));
    for (const KeyNode& key : node.keys) CreateTree(path + L"\\" + key.name, key, changes);
}

void DiffNode(const std::wstring& path, const KeyNode& from, const KeyNode& to, std::vector<Step>& changes) {
    for (const NamedValue& old : from.values) {
        const NamedValue* kept = to.FindValue(old.name);
        if (!kept || kept->name != old.name) changes.push_back(Exactly(Step::Kind::DeleteValue, path, old.name, old.value));
    }
    for (const NamedValue& wanted : to.values) {
        const NamedValue* old = from.FindValue(wanted.name);
        if (old && old->name == wanted.name) {
            if (old->value != wanted.value) changes.push_back(Exactly(Step::Kind::SetValue, path, wanted.name, old->value, wanted.value));
        } else {
            changes.push_back(Exactly(Step::Kind::SetValue, path, wanted.name, {}, wanted.value));
        }
    }
    for (const KeyNode& old : from.keys) {
        const KeyNode* kept = to.FindKey(old.name);
        if (!kept || kept->name != old.name) changes.push_back(Exactly(Step::Kind::DeleteKey, path + L"\\" + old.name));
    }
    for (const KeyNode& wanted : to.keys) {
        const KeyNode* old = from.FindKey(wanted.name);
        if (old && old->name == wanted.name) DiffNode(path + L"\\" + wanted.name, *old, wanted, changes);
        else CreateTree(path + L"\\" + wanted.name, wanted, changes);
    }
}

}  // namespace

ReadOutcome ReadKeyTree(Registry& registry, RegKey root, const std::wstring& path) {
    ReadOutcome outcome;
    {
        UniqueRegKey probe(registry);
        const long rc = registry.OpenKeyExW(root, path, kKeyRead, probe.put());
        if (rc == kErrorFileNotFound) return outcome;
    }
    KeyNode node{SplitKeyPath(path).back(), {}, {}};
    outcome.rc = ReadNode(registry, root, path, node, outcome.failedPath);
    if (outcome.rc == kErrorSuccess) outcome.state = std::move(node);
    return outcome;
}

std::vector<Step> Diff(const std::wstring& path, const KeyState& from, const KeyState& to) {
    std::vector<Step> changes;
    if (from && !to) changes.push_back(Exactly(Step::Kind::DeleteKey, path));
    else if (!from && to) CreateTree(path, *to, changes);
    else if (from && to) DiffNode(path, *from, *to, changes);
    return changes;
}

}  // namespace lumbrake::cli
