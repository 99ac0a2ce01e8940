#include <platform/memory_registry.h>

#include <cstring>

namespace platform {

struct MemoryRegistry::Node {
    std::string path;  // "HKCU\Software\..." as first created
    bool deleted = false;
    std::map<std::string, std::shared_ptr<Node>> children;  // by folded name
    std::map<std::string, StoredValue> values;              // by folded name
};

namespace {

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

}  // namespace

std::string FoldRegistryName(const std::string& name) {
    std::string folded = name;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 0x81 && byte <= 0xFE) {
            ++i;  // lead byte: its trail byte may look like a letter
        } else if (byte >= 'a' && byte <= 'z') {
            folded[i] = static_cast<char>(byte - 'a' + 'A');
        }
    }
    return folded;
}

MemoryRegistry::MemoryRegistry()
    : m_currentUser(std::make_shared<Node>()), m_localMachine(std::make_shared<Node>()) {
    m_currentUser->path = "HKCU";
    m_localMachine->path = "HKLM";
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Resolve(RegKey key) const {
    if (key == kHkeyCurrentUser) return m_currentUser.get();
    if (key == kHkeyLocalMachine) return m_localMachine.get();
    auto it = m_handles.find(key);
    return it == m_handles.end() ? nullptr : it->second.get();
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Shared(RegKey key) const {
    if (key == kHkeyCurrentUser) return m_currentUser;
    if (key == kHkeyLocalMachine) return m_localMachine;
    auto it = m_handles.find(key);
    return it == m_handles.end() ? nullptr : it->second;
}

std::string MemoryRegistry::PathOf(RegKey key) const {
    Node* node = Resolve(key);
    return node ? node->path : std::string("?");
}

std::optional<long> MemoryRegistry::Injected(RegOp op, const std::string& keyPath, const std::string& valueName) const {
    for (const Failure& failure : m_failures) {
        if (failure.op != op || FoldRegistryName(failure.keyPath) != FoldRegistryName(keyPath)) continue;
        if (!failure.valueName.empty() && FoldRegistryName(failure.valueName) != FoldRegistryName(valueName)) continue;
        return failure.code;
    }
    return std::nullopt;
}

RegKey MemoryRegistry::NewHandle(std::shared_ptr<Node> node) {
    RegKey handle = m_nextHandle;
    m_nextHandle += 4;
    m_handles[handle] = std::move(node);
    return handle;
}

long MemoryRegistry::OpenOrCreate(RegKey root, const std::string& subKey, bool create, RegKey* result) {
    std::shared_ptr<Node> node = Shared(root);
    m_calls.push_back(std::string(create ? "CreateKey " : "OpenKey ") + PathOf(root) + (subKey.empty() ? "" : "\\" + subKey));
    if (result) *result = 0;
    if (!node) return kErrorInvalidHandle;
    if (node->deleted) return kErrorKeyDeleted;
    std::string target = node->path + (subKey.empty() ? "" : "\\" + subKey);
    if (auto code = Injected(create ? RegOp::CreateKey : RegOp::OpenKey, target)) return *code;
    if (!subKey.empty()) {
        std::string path = node->path;
        for (const std::string& part : SplitPath(subKey)) {
            if (part.empty()) return create ? kErrorInvalidParameter : kErrorFileNotFound;
            path += "\\" + part;
            auto it = node->children.find(FoldRegistryName(part));
            if (it == node->children.end()) {
                if (!create) return kErrorFileNotFound;
                auto child = std::make_shared<Node>();
                child->path = path;
                it = node->children.emplace(FoldRegistryName(part), std::move(child)).first;
            }
            path = it->second->path;
            node = it->second;
        }
    }
    if (result) *result = NewHandle(node);
    return kErrorSuccess;
}

long MemoryRegistry::CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t, RegKey* result) {
    return OpenOrCreate(root, subKey, true, result);
}

long MemoryRegistry::CreateKey(RegKey root, const std::string& subKey, RegKey* result) {
    return OpenOrCreate(root, subKey, true, result);
}

long MemoryRegistry::OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t, RegKey* result) {
    return OpenOrCreate(root, subKey, false, result);
}

long MemoryRegistry::OpenKey(RegKey root, const std::string& subKey, RegKey* result) {
    return OpenOrCreate(root, subKey, false, result);
}

long MemoryRegistry::QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) {
    Node* node = Resolve(key);
    m_calls.push_back("QueryValueEx " + PathOf(key) + " " + name);
    if (!node) return kErrorInvalidHandle;
    if (node->deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::QueryValue, node->path, name)) return *code;
    auto it = node->values.find(FoldRegistryName(name));
    if (it == node->values.end()) return kErrorFileNotFound;
    const StoredValue& value = it->second;
    if (type) *type = value.type;
    auto stored = static_cast<std::uint32_t>(value.data.size());
    if (data) {
        if (!size) return kErrorInvalidParameter;
        if (*size < stored) {
            *size = stored;
            return kErrorMoreData;
        }
        if (stored) std::memcpy(data, value.data.data(), stored);
    }
    if (size) *size = stored;
    return kErrorSuccess;
}

long MemoryRegistry::SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) {
    Node* node = Resolve(key);
    m_calls.push_back("SetValueEx " + PathOf(key) + " " + name);
    if (!node) return kErrorInvalidHandle;
    if (node->deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::SetValue, node->path, name)) return *code;
    if (size && !data) return kErrorInvalidParameter;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    // Like Windows: a string given without its NUL, with a NUL right after
    // the counted bytes, is stored with that NUL.
    if (size && IsStringType(type) && bytes[size - 1] != 0 && bytes[size] == 0) ++size;
    StoredValue& value = node->values[FoldRegistryName(name)];
    if (value.name.empty()) value.name = name;
    value.type = type;
    value.data.assign(bytes, bytes + size);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteKey(RegKey root, const std::string& subKey) {
    Node* parent = Resolve(root);
    m_calls.push_back("DeleteKey " + PathOf(root) + "\\" + subKey);
    if (!parent) return kErrorInvalidHandle;
    if (parent->deleted) return kErrorKeyDeleted;
    std::vector<std::string> parts = SplitPath(subKey);
    if (subKey.empty()) return kErrorAccessDenied;  // cannot delete a root through itself
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto it = parent->children.find(FoldRegistryName(parts[i]));
        if (it == parent->children.end()) return kErrorFileNotFound;
        parent = it->second.get();
    }
    auto it = parent->children.find(FoldRegistryName(parts.back()));
    if (it == parent->children.end()) return kErrorFileNotFound;
    if (auto code = Injected(RegOp::DeleteKey, it->second->path)) return *code;
    if (!it->second->children.empty()) return kErrorAccessDenied;
    // Open handles keep the node, as Windows keeps a deleted key's handle valid.
    it->second->deleted = true;
    parent->children.erase(it);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
    Node* node = Resolve(key);
    m_calls.push_back("DeleteValue " + PathOf(key) + " " + name);
    if (!node) return kErrorInvalidHandle;
    if (node->deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::DeleteValue, node->path, name)) return *code;
    return node->values.erase(FoldRegistryName(name)) ? kErrorSuccess : kErrorFileNotFound;
}

long MemoryRegistry::QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) {
    Node* node = Resolve(key);
    m_calls.push_back("QueryInfoKey " + PathOf(key));
    if (!node) return kErrorInvalidHandle;
    if (node->deleted) return kErrorKeyDeleted;
    if (auto code = Injected(RegOp::QueryInfoKey, node->path)) return *code;
    if (subKeys) *subKeys = static_cast<std::uint32_t>(node->children.size());
    if (values) *values = static_cast<std::uint32_t>(node->values.size());
    return kErrorSuccess;
}

long MemoryRegistry::CloseKey(RegKey key) {
    m_calls.push_back("CloseKey " + PathOf(key));
    if (key == kHkeyCurrentUser || key == kHkeyLocalMachine) return kErrorSuccess;
    return m_handles.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

void MemoryRegistry::InjectFailure(RegOp op, const std::string& keyPath, long code, const std::string& valueName) {
    m_failures.push_back({op, keyPath, valueName, code});
}

void MemoryRegistry::ClearFailures() { m_failures.clear(); }

const MemoryRegistry::Node* MemoryRegistry::Find(const std::string& keyPath) const {
    std::vector<std::string> parts = SplitPath(keyPath);
    const Node* node = nullptr;
    std::string root = FoldRegistryName(parts.front());
    if (root == "HKCU" || root == "HKEY_CURRENT_USER") node = m_currentUser.get();
    else if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") node = m_localMachine.get();
    if (!node) return nullptr;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        auto it = node->children.find(FoldRegistryName(parts[i]));
        if (it == node->children.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

bool MemoryRegistry::KeyExists(const std::string& keyPath) const { return Find(keyPath) != nullptr; }

std::optional<MemoryRegistry::StoredValue> MemoryRegistry::Value(const std::string& keyPath, const std::string& valueName) const {
    const Node* node = Find(keyPath);
    if (!node) return std::nullopt;
    auto it = node->values.find(FoldRegistryName(valueName));
    if (it == node->values.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> MemoryRegistry::ValueNames(const std::string& keyPath) const {
    std::vector<std::string> names;
    if (const Node* node = Find(keyPath)) {
        for (const auto& [folded, value] : node->values) names.push_back(value.name);
    }
    return names;
}

}  // namespace platform
