#pragma once
// An in-memory registry that behaves like the one Windows (and Wine) keeps,
// as far as the programs can tell: names matched without regard to case,
// RegDeleteKeyA refusing a key with sub keys, the NUL that RegSetValueExA
// adds to a string passed without one, ERROR_MORE_DATA for a short buffer.
// Any call can be made to fail with a chosen code.
#include <platform/registry.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegOp { CreateKey, OpenKey, QueryValue, SetValue, DeleteKey, DeleteValue, QueryInfoKey };

class MemoryRegistry final : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    long CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override;
    long CreateKey(RegKey root, const std::string& subKey, RegKey* result) override;
    long OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override;
    long OpenKey(RegKey root, const std::string& subKey, RegKey* result) override;
    long QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) override;
    long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) override;
    long DeleteKey(RegKey root, const std::string& subKey) override;
    long DeleteValue(RegKey key, const std::string& name) override;
    long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override;
    long CloseKey(RegKey key) override;

    // Makes every later call of `op` on the key at `keyPath` fail with `code`
    // without changing anything. keyPath is "HKCU\..." or "HKLM\..." (case
    // does not matter); for value calls, an empty valueName means any value.
    void InjectFailure(RegOp op, const std::string& keyPath, long code, const std::string& valueName = {});
    void ClearFailures();

    // What tests look at without going through the calls.
    struct StoredValue {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        std::string name;  // as first created
    };
    bool KeyExists(const std::string& keyPath) const;
    std::optional<StoredValue> Value(const std::string& keyPath, const std::string& valueName) const;
    std::vector<std::string> ValueNames(const std::string& keyPath) const;
    std::size_t OpenHandleCount() const { return m_handles.size(); }
    // Every call made, one line each ("SetValueEx HKCU\...\PlacesBar place0"), in order.
    const std::vector<std::string>& Calls() const { return m_calls; }

private:
    struct Node;
    struct Failure {
        RegOp op;
        std::string keyPath;
        std::string valueName;
        long code;
    };

    Node* Resolve(RegKey key) const;
    std::shared_ptr<Node> Shared(RegKey key) const;
    std::string PathOf(RegKey key) const;
    std::optional<long> Injected(RegOp op, const std::string& keyPath, const std::string& valueName = {}) const;
    long OpenOrCreate(RegKey root, const std::string& subKey, bool create, RegKey* result);
    RegKey NewHandle(std::shared_ptr<Node> node);
    const Node* Find(const std::string& keyPath) const;

    std::shared_ptr<Node> m_currentUser;
    std::shared_ptr<Node> m_localMachine;
    std::map<RegKey, std::shared_ptr<Node>> m_handles;
    RegKey m_nextHandle = 0x1000;
    std::vector<Failure> m_failures;
    std::vector<std::string> m_calls;
};

// Case folding of registry names: ASCII letters only; the bytes of a
// double-byte character are left alone.
std::string FoldRegistryName(const std::string& name);

}  // namespace platform
