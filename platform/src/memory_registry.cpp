#include <platform/memory_registry.h>

#include <algorithm>
#include <cstring>

namespace platform {

struct MemoryRegistry::Node {
    std::wstring path;  // "HKCU\Software\..." as first created
    std::wstring name;  // the last part of the path
    bool deleted = false;
    bool readOnly = false;
    std::map<std::wstring, std::shared_ptr<Node>> children;  // by folded name
    std::vector<KeptValue> values;                          // in the order they were created
};

namespace {

constexpr std::uint32_t kWow64Flags = kKeyWow64_64Key | kKeyWow64_32Key;

bool IsStringType(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

}  // namespace

MemoryRegistry::MemoryRegistry(const AnsiCodePage& codePage)
    : m_codePage(codePage), m_currentUser(std::make_shared<Node>()), m_localMachine(std::make_shared<Node>()) {
    m_currentUser->path = m_currentUser->name = L"HKCU";
    m_localMachine->path = m_localMachine->name = L"HKLM";
}

MemoryRegistry::~MemoryRegistry() = default;

std::optional<MemoryRegistry::Handle> MemoryRegistry::Resolve(RegKey key) const {
    if (key == kHkeyCurrentUser) return Handle{m_currentUser, kKeyAllAccess};
    if (key == kHkeyLocalMachine) return Handle{m_localMachine, kKeyAllAccess};
    auto it = m_handles.find(key);
    if (it == m_handles.end()) return std::nullopt;
    return it->second;
}

std::string MemoryRegistry::PathOf(RegKey key) const {
    const std::optional<Handle> handle = Resolve(key);
    return handle ? ToUtf8(handle->node->path) : std::string("?");
}

std::optional<long> MemoryRegistry::Injected(RegOp op, const std::wstring& keyPath, const std::wstring& valueName) const {
    for (const Failure& failure : m_failures) {
        if (failure.op != op || !SameName(failure.keyPath, keyPath)) continue;
        if (!failure.valueName.empty() && !SameName(failure.valueName, valueName)) continue;
        return failure.code;
    }
    return std::nullopt;
}

long MemoryRegistry::OpenOrCreate(RegKey root, const std::wstring& subKey, bool create, std::uint32_t access, RegKey* result,
                                  const char* call) {
    std::vector<std::wstring> parts;
    if (!subKey.empty()) parts = SplitKeyPath(subKey);
    std::wstring path = subKey;
    const bool view32 = (access & kKeyWow64_32Key) || (m_wow64 && !(access & kKeyWow64_64Key));
    if (view32 && root == kHkeyLocalMachine && !parts.empty() && FoldRegistryName(parts[0]) == L"SOFTWARE" &&
        (parts.size() < 2 || FoldRegistryName(parts[1]) != L"WOW6432NODE")) {
        parts.insert(parts.begin() + 1, L"WOW6432Node");
        path.insert(parts[0].size(), L"\\WOW6432Node");
    }

    m_calls.push_back(std::string(call) + " " + PathOf(root) + (path.empty() ? "" : "\\" + ToUtf8(path)));
    if (result) *result = 0;
    const std::optional<Handle> parent = Resolve(root);
    if (!parent) return kErrorInvalidHandle;
    std::shared_ptr<Node> node = parent->node;
    if (node->deleted) return kErrorKeyDeleted;
    const std::wstring target = node->path + (path.empty() ? L"" : L"\\" + path);
    if (auto code = Injected(create ? RegOp::CreateKey : RegOp::OpenKey, target)) return *code;
    std::size_t found = 0;
    for (; found < parts.size(); ++found) {
        if (parts[found].empty()) return create ? kErrorInvalidParameter : kErrorFileNotFound;
        auto it = node->children.find(FoldRegistryName(parts[found]));
        if (it == node->children.end()) break;
        node = it->second;
    }
    bool created = false;
    if (found < parts.size()) {
        if (!create) return kErrorFileNotFound;
        // A key is made under one that lets the caller make keys there.
        const bool parentIsHandle = found == 0;
        if (node->readOnly || (parentIsHandle && !(parent->access & kKeyCreateSubKey))) return kErrorAccessDenied;
        for (; found < parts.size(); ++found) {
            if (parts[found].empty()) return kErrorInvalidParameter;
            auto child = std::make_shared<Node>();
            child->name = parts[found];
            child->path = node->path + L"\\" + parts[found];
            node = node->children.emplace(FoldRegistryName(parts[found]), child).first->second;
        }
        created = true;
    }

    const std::uint32_t rights = node->readOnly ? kKeyRead : kKeyAllAccess;
    std::uint32_t granted = access & ~kWow64Flags;
    if (granted & kMaximumAllowed) {
        granted = rights;
    } else if (!created && (granted & ~rights)) {
        return kErrorAccessDenied;
    }
    if (result) {
        const RegKey handle = m_nextHandle;
        m_nextHandle += 4;
        m_handles[handle] = {node, granted};
        *result = handle;
    }
    return kErrorSuccess;
}

long MemoryRegistry::CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) {
    return OpenOrCreate(root, Wide(subKey), true, access, result, "CreateKey");
}

long MemoryRegistry::CreateKey(RegKey root, const std::string& subKey, RegKey* result) {
    return OpenOrCreate(root, Wide(subKey), true, kMaximumAllowed, result, "CreateKey");
}

long MemoryRegistry::OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) {
    return OpenOrCreate(root, Wide(subKey), false, access, result, "OpenKey");
}

long MemoryRegistry::OpenKey(RegKey root, const std::string& subKey, RegKey* result) {
    return OpenOrCreate(root, Wide(subKey), false, kMaximumAllowed, result, "OpenKey");
}

long MemoryRegistry::CreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) {
    return OpenOrCreate(root, subKey, true, access, result, "CreateKeyW");
}

long MemoryRegistry::OpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) {
    return OpenOrCreate(root, subKey, false, access, result, "OpenKeyW");
}

long MemoryRegistry::Query(RegKey key, const std::wstring& name, bool ansi, std::uint32_t* type, void* data, std::uint32_t* size,
                           const char* call) {
    m_calls.push_back(std::string(call) + " " + PathOf(key) + " " + ToUtf8(name));
    const std::optional<Handle> handle = Resolve(key);
    if (!handle) return kErrorInvalidHandle;
    const Node& node = *handle->node;
    if (node.deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::QueryValue, node.path, name)) return *code;
    if (!(handle->access & kKeyQueryValue)) return kErrorAccessDenied;
    auto it = std::find_if(node.values.begin(), node.values.end(), [&](const KeptValue& v) { return SameName(v.name, name); });
    if (it == node.values.end()) return kErrorFileNotFound;

    std::string ansiText;
    const std::uint8_t* bytes = it->data.data();
    auto stored = static_cast<std::uint32_t>(it->data.size());
    if (ansi && IsStringType(it->type)) {
        // The A functions hand strings back in the code page, '?' for what it lacks.
        ansiText = m_codePage.ToAnsiLossy(FromUtf16(it->data.data(), it->data.size()));
        bytes = reinterpret_cast<const std::uint8_t*>(ansiText.data());
        stored = static_cast<std::uint32_t>(ansiText.size());
    }
    if (type) *type = it->type;
    if (data) {
        if (!size) return kErrorInvalidParameter;
        if (*size < stored) {
            *size = stored;
            return kErrorMoreData;
        }
        if (stored) std::memcpy(data, bytes, stored);
    }
    if (size) *size = stored;
    return kErrorSuccess;
}

long MemoryRegistry::QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) {
    return Query(key, Wide(name), true, type, data, size, "QueryValueEx");
}

long MemoryRegistry::QueryValueExW(RegKey key, const std::wstring& name, std::uint32_t* type, void* data, std::uint32_t* size) {
    return Query(key, name, false, type, data, size, "QueryValueExW");
}

long MemoryRegistry::Set(RegKey key, const std::wstring& name, std::uint32_t type, std::vector<std::uint8_t> data, const char* call) {
    m_calls.push_back(std::string(call) + " " + PathOf(key) + " " + ToUtf8(name));
    const std::optional<Handle> handle = Resolve(key);
    if (!handle) return kErrorInvalidHandle;
    Node& node = *handle->node;
    if (node.deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::SetValue, node.path, name)) return *code;
    if (!(handle->access & kKeySetValue)) return kErrorAccessDenied;
    auto it = std::find_if(node.values.begin(), node.values.end(), [&](const KeptValue& v) { return SameName(v.name, name); });
    if (it == node.values.end()) {
        node.values.emplace_back();
        it = std::prev(node.values.end());
        it->name = name;
    }
    it->type = type;
    it->data = std::move(data);
    return kErrorSuccess;
}

long MemoryRegistry::SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) {
    if (size && !data) return kErrorInvalidParameter;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (!IsStringType(type)) return Set(key, Wide(name), type, {bytes, bytes + size}, "SetValueEx");
    // Like Windows: a string given without its NUL, with a NUL right after
    // the counted bytes, is stored with that NUL; then it is kept as Unicode.
    if (size && bytes[size - 1] != 0 && bytes[size] == 0) ++size;
    const std::string unicode = ToUtf16(m_codePage.FromAnsi({reinterpret_cast<const char*>(bytes), size}));
    return Set(key, Wide(name), type, {unicode.begin(), unicode.end()}, "SetValueEx");
}

long MemoryRegistry::SetValueExW(RegKey key, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) {
    if (size && !data) return kErrorInvalidParameter;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    // The same for UTF-16: the unit after the counted ones is looked at.
    if (IsStringType(type) && size >= 2) {
        const std::size_t last = size / 2 - 1;
        const bool lastNonNul = bytes[2 * last] || bytes[2 * last + 1];
        if (lastNonNul && !bytes[2 * last + 2] && !bytes[2 * last + 3]) size = static_cast<std::uint32_t>(2 * last + 4);
    }
    return Set(key, name, type, {bytes, bytes + size}, "SetValueExW");
}

long MemoryRegistry::Delete(RegKey root, const std::wstring& subKey, const char* call) {
    m_calls.push_back(std::string(call) + " " + PathOf(root) + "\\" + ToUtf8(subKey));
    const std::optional<Handle> handle = Resolve(root);
    if (!handle) return kErrorInvalidHandle;
    Node* parent = handle->node.get();
    if (parent->deleted) return kErrorKeyDeleted;
    if (subKey.empty()) return kErrorAccessDenied;  // cannot delete a root through itself
    std::vector<std::wstring> parts = SplitKeyPath(subKey);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto it = parent->children.find(FoldRegistryName(parts[i]));
        if (it == parent->children.end()) return kErrorFileNotFound;
        parent = it->second.get();
    }
    auto it = parent->children.find(FoldRegistryName(parts.back()));
    if (it == parent->children.end()) return kErrorFileNotFound;
    if (auto code = Injected(RegOp::DeleteKey, it->second->path)) return *code;
    if (it->second->readOnly || !it->second->children.empty()) return kErrorAccessDenied;
    // Open handles keep the node, as Windows keeps a deleted key's handle valid.
    it->second->deleted = true;
    parent->children.erase(it);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteKey(RegKey root, const std::string& subKey) { return Delete(root, Wide(subKey), "DeleteKey"); }

long MemoryRegistry::DeleteKeyW(RegKey root, const std::wstring& subKey) { return Delete(root, subKey, "DeleteKeyW"); }

long MemoryRegistry::RemoveValue(RegKey key, const std::wstring& name, const char* call) {
    m_calls.push_back(std::string(call) + " " + PathOf(key) + " " + ToUtf8(name));
    const std::optional<Handle> handle = Resolve(key);
    if (!handle) return kErrorInvalidHandle;
    Node& node = *handle->node;
    if (node.deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::DeleteValue, node.path, name)) return *code;
    if (!(handle->access & kKeySetValue)) return kErrorAccessDenied;
    auto it = std::find_if(node.values.begin(), node.values.end(), [&](const KeptValue& v) { return SameName(v.name, name); });
    if (it == node.values.end()) return kErrorFileNotFound;
    node.values.erase(it);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey key, const std::string& name) { return RemoveValue(key, Wide(name), "DeleteValue"); }

long MemoryRegistry::DeleteValueW(RegKey key, const std::wstring& name) { return RemoveValue(key, name, "DeleteValueW"); }

long MemoryRegistry::QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) {
    m_calls.push_back("QueryInfoKey " + PathOf(key));
    const std::optional<Handle> handle = Resolve(key);
    if (!handle) return kErrorInvalidHandle;
    const Node& node = *handle->node;
    if (node.deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::QueryInfoKey, node.path)) return *code;
    if (!(handle->access & kKeyQueryValue)) return kErrorAccessDenied;
    if (subKeys) *subKeys = static_cast<std::uint32_t>(node.children.size());
    if (values) *values = static_cast<std::uint32_t>(node.values.size());
    return kErrorSuccess;
}

long MemoryRegistry::EnumKeyExW(RegKey key, std::uint32_t index, std::wstring* name) {
    m_calls.push_back("EnumKeyW " + PathOf(key));
    const std::optional<Handle> handle = Resolve(key);
    if (!handle) return kErrorInvalidHandle;
    const Node& node = *handle->node;
    if (node.deleted) return kErrorKeyDeleted;
    if (!(handle->access & kKeyEnumerateSubKeys)) return kErrorAccessDenied;
    if (index >= node.children.size()) return kErrorNoMoreItems;
    *name = std::next(node.children.begin(), index)->second->name;
    return kErrorSuccess;
}

long MemoryRegistry::EnumValueW(RegKey key, std::uint32_t index, std::wstring* name) {
    m_calls.push_back("EnumValueW " + PathOf(key));
    const std::optional<Handle> handle = Resolve(key);
    if (!handle) return kErrorInvalidHandle;
    const Node& node = *handle->node;
    if (node.deleted) return kErrorKeyDeleted;
    if (!(handle->access & kKeyQueryValue)) return kErrorAccessDenied;
    if (index >= node.values.size()) return kErrorNoMoreItems;
    *name = node.values[index].name;
    return kErrorSuccess;
}

long MemoryRegistry::CloseKey(RegKey key) {
    m_calls.push_back("CloseKey " + PathOf(key));
    if (key == kHkeyCurrentUser || key == kHkeyLocalMachine) return kErrorSuccess;
    return m_handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

void MemoryRegistry::InjectFailure(RegOp op, const std::wstring& keyPath, long code, const std::wstring& valueName) {
    m_failures.push_back({op, keyPath, valueName, code});
}

void MemoryRegistry::ClearFailures() { m_failures.clear(); }

void MemoryRegistry::SetReadOnly(const std::wstring& keyPath, bool readOnly) {
    if (Node* node = Find(keyPath)) node->readOnly = readOnly;
}

const MemoryRegistry::Node* MemoryRegistry::Find(const std::wstring& keyPath) const {
    std::vector<std::wstring> parts = SplitKeyPath(keyPath);
    const Node* node = nullptr;
    const std::wstring& root = parts.front();
    if (SameName(root, L"HKCU") || SameName(root, L"HKEY_CURRENT_USER")) node = m_currentUser.get();
    else if (SameName(root, L"HKLM") || SameName(root, L"HKEY_LOCAL_MACHINE")) node = m_localMachine.get();
    if (!node) return nullptr;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        auto it = node->children.find(FoldRegistryName(parts[i]));
        if (it == node->children.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

MemoryRegistry::Node* MemoryRegistry::Find(const std::wstring& keyPath) {
    return const_cast<Node*>(std::as_const(*this).Find(keyPath));
}

bool MemoryRegistry::KeyExists(const std::wstring& keyPath) const { return Find(keyPath) != nullptr; }

std::optional<MemoryRegistry::KeptValue> MemoryRegistry::Value(const std::wstring& keyPath, const std::wstring& valueName) const {
    const Node* node = Find(keyPath);
    if (!node) return std::nullopt;
    for (const KeptValue& value : node->values)
        if (SameName(value.name, valueName)) return value;
    return std::nullopt;
}

std::vector<std::wstring> MemoryRegistry::ValueNames(const std::wstring& keyPath) const {
    std::vector<std::wstring> names;
    if (const Node* node = Find(keyPath)) {
        for (const KeptValue& value : node->values) names.push_back(value.name);
    }
    return names;
}

}  // namespace platform
