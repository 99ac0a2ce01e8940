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

std::wstring LastPart(const std::wstring& path) {
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Every name that `enumerate` gives, up to the end of the list.
template <typename Enumerate>
long Names(Enumerate&& enumerate, std::vector<std::wstring>& names) {
    for (std::uint32_t index = 0;; ++index) {
        std::wstring name;
        const long rc = enumerate(index, &name);
        if (rc == kErrorNoMoreItems) return kErrorSuccess;
        if (rc != kErrorSuccess) return rc;
        names.push_back(std::move(name));
    }
}

long ReadNode(Registry& registry, RegKey root, const std::wstring& path, KeyNode& node, std::wstring& failedPath) {
    UniqueRegKey key(registry);
    long rc = registry.OpenKeyExW(root, path, kKeyRead, key.put());
    std::vector<std::wstring> valueNames, keyNames;
    if (rc == kErrorSuccess) rc = Names([&](std::uint32_t i, std::wstring* n) { return registry.EnumValueW(key.get(), i, n); }, valueNames);
    if (rc == kErrorSuccess) rc = Names([&](std::uint32_t i, std::wstring* n) { return registry.EnumKeyExW(key.get(), i, n); }, keyNames);
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

void CreateTree(const std::wstring& path, const KeyNode& node, std::vector<Change>& changes) {
    changes.push_back({Change::Kind::CreateKey, path, {}, {}, {}});
    for (const NamedValue& value : node.values) changes.push_back({Change::Kind::SetValue, path, value.name, {}, value.value});
    for (const KeyNode& key : node.keys) CreateTree(path + L"\\" + key.name, key, changes);
}

void DiffNode(const std::wstring& path, const KeyNode& from, const KeyNode& to, std::vector<Change>& changes) {
    for (const NamedValue& old : from.values) {
        const NamedValue* kept = to.FindValue(old.name);
        if (!kept || kept->name != old.name) changes.push_back({Change::Kind::DeleteValue, path, old.name, old.value, {}});
    }
    for (const NamedValue& wanted : to.values) {
        const NamedValue* old = from.FindValue(wanted.name);
        if (old && old->name == wanted.name) {
            if (old->value != wanted.value) changes.push_back({Change::Kind::SetValue, path, wanted.name, old->value, wanted.value});
        } else {
            changes.push_back({Change::Kind::SetValue, path, wanted.name, {}, wanted.value});
        }
    }
    for (const KeyNode& old : from.keys) {
        const KeyNode* kept = to.FindKey(old.name);
        if (!kept || kept->name != old.name) changes.push_back({Change::Kind::DeleteKey, path + L"\\" + old.name, {}, {}, {}});
    }
    for (const KeyNode& wanted : to.keys) {
        const KeyNode* old = from.FindKey(wanted.name);
        if (old && old->name == wanted.name) DiffNode(path + L"\\" + wanted.name, *old, wanted, changes);
        else CreateTree(path + L"\\" + wanted.name, wanted, changes);
    }
}

long DeleteTree(Registry& registry, RegKey root, const std::wstring& path) {
    std::vector<std::wstring> keyNames;
    {
        UniqueRegKey key(registry);
        long rc = registry.OpenKeyExW(root, path, kKeyRead, key.put());
        if (rc == kErrorFileNotFound) return kErrorSuccess;
        if (rc == kErrorSuccess) rc = Names([&](std::uint32_t i, std::wstring* n) { return registry.EnumKeyExW(key.get(), i, n); }, keyNames);
        if (rc != kErrorSuccess) return rc;
    }
    for (const std::wstring& name : keyNames)
        if (long rc = DeleteTree(registry, root, path + L"\\" + name); rc != kErrorSuccess) return rc;
    const long rc = registry.DeleteKeyW(root, path);
    return rc == kErrorFileNotFound ? kErrorSuccess : rc;
}

long Carry(Registry& registry, RegKey root, const Change& change) {
    UniqueRegKey key(registry);
    switch (change.kind) {
    case Change::Kind::CreateKey:
        return registry.CreateKeyExW(root, change.keyPath, kKeyQueryValue, key.put());
    case Change::Kind::DeleteKey:
        return DeleteTree(registry, root, change.keyPath);
    case Change::Kind::SetValue:
        if (long rc = registry.OpenKeyExW(root, change.keyPath, kKeySetValue, key.put()); rc != kErrorSuccess) return rc;
        return SetValueExactly(registry, key.get(), change.valueName, *change.after);
    case Change::Kind::DeleteValue:
        if (long rc = registry.OpenKeyExW(root, change.keyPath, kKeySetValue, key.put()); rc != kErrorSuccess) return rc;
        if (long rc = registry.DeleteValueW(key.get(), change.valueName); rc != kErrorFileNotFound) return rc;
        return kErrorSuccess;
    }
    return kErrorInvalidParameter;
}

}  // namespace

ReadOutcome ReadKeyTree(Registry& registry, RegKey root, const std::wstring& path) {
    ReadOutcome outcome;
    {
        UniqueRegKey probe(registry);
        const long rc = registry.OpenKeyExW(root, path, kKeyRead, probe.put());
        if (rc == kErrorFileNotFound) return outcome;
    }
    KeyNode node{LastPart(path), {}, {}};
    outcome.rc = ReadNode(registry, root, path, node, outcome.failedPath);
    if (outcome.rc == kErrorSuccess) outcome.state = std::move(node);
    return outcome;
}

std::vector<Change> Diff(const std::wstring& path, const KeyState& from, const KeyState& to) {
    std::vector<Change> changes;
    if (from && !to) changes.push_back({Change::Kind::DeleteKey, path, {}, {}, {}});
    else if (!from && to) CreateTree(path, *to, changes);
    else if (from && to) DiffNode(path, *from, *to, changes);
    return changes;
}

std::vector<FailedChange> ApplyChanges(Registry& registry, RegKey root, const std::vector<Change>& changes) {
    std::vector<FailedChange> failed;
    for (const Change& change : changes)
        if (long rc = Carry(registry, root, change); rc != kErrorSuccess) failed.push_back({change, rc});
    return failed;
}

long SetValueExactly(Registry& registry, RegKey key, const std::wstring& name, const RegValue& value) {
    // One NUL unit before the data (so that a one-byte string, whose "last
    // unit" starts before it, is not extended either) and no NUL after.
    std::vector<std::uint8_t> buffer(2, 0);
    buffer.insert(buffer.end(), value.data.begin(), value.data.end());
    buffer.insert(buffer.end(), 4, 0xFF);
    return registry.SetValueExW(key, name, value.type, buffer.data() + 2, static_cast<std::uint32_t>(value.data.size()));
}

}  // namespace lumbrake::cli
