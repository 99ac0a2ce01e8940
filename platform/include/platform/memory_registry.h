#pragma once
// An in-memory registry that behaves like the one Windows (and Wine) keeps,
// as far as the programs can tell: names and strings kept as Unicode, with
// the A functions converting through the ANSI code page as Windows does
// (undecodable bytes and missing characters become '?'); names matched
// without regard to case; RegDeleteKeyA refusing a key with sub keys; the NUL
// that RegSetValueExA adds to a string passed without one; ERROR_MORE_DATA
// for a short buffer; access rights per handle, and keys that may be read but
// not changed. Any call can be made to fail with a chosen code.
#include <platform/ansi.h>
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
    explicit MemoryRegistry(const AnsiCodePage& codePage = SystemCodePage());
    ~MemoryRegistry() override;

    [[nodiscard]] long CreateKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override;
    [[nodiscard]] long CreateKey(RegKey root, const std::string& subKey, RegKey* result) override;
    [[nodiscard]] long OpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* result) override;
    [[nodiscard]] long OpenKey(RegKey root, const std::string& subKey, RegKey* result) override;
    [[nodiscard]] long QueryValueEx(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) override;
    [[nodiscard]] long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) override;
    [[nodiscard]] long DeleteKey(RegKey root, const std::string& subKey) override;
    [[nodiscard]] long DeleteValue(RegKey key, const std::string& name) override;
    [[nodiscard]] long QueryInfoKey(RegKey key, std::uint32_t* subKeys, std::uint32_t* values) override;
    [[nodiscard]] long CloseKey(RegKey key) override;

    [[nodiscard]] long CreateKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) override;
    [[nodiscard]] long OpenKeyExW(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) override;
    [[nodiscard]] long QueryValueExW(RegKey key, const std::wstring& name, std::uint32_t* type, void* data, std::uint32_t* size) override;
    [[nodiscard]] long SetValueExW(RegKey key, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) override;
    [[nodiscard]] long DeleteKeyW(RegKey root, const std::wstring& subKey) override;
    [[nodiscard]] long DeleteValueW(RegKey key, const std::wstring& name) override;
    [[nodiscard]] long EnumKeyExW(RegKey key, std::uint32_t index, std::wstring* name) override;
    [[nodiscard]] long EnumValueW(RegKey key, std::uint32_t index, std::wstring* name) override;

    // Makes every later call of `op` on the key at `keyPath` fail with `code`
    // without changing anything. keyPath is "HKCU\..." or "HKLM\..." (case
    // does not matter); for value calls, an empty valueName means any value.
    void InjectFailure(RegOp op, const std::wstring& keyPath, long code, const std::wstring& valueName = {});
    void ClearFailures();
    // As a key whose security lets the user read it and nothing more: opening
    // it for more than reading, creating keys under it, and deleting it are
    // refused with access denied.
    void SetReadOnly(const std::wstring& keyPath, bool readOnly = true);
    // As a 32-bit program on 64-bit Windows sees it: HKLM\SOFTWARE opened
    // without KEY_WOW64_64KEY is the 32-bit view, HKLM\SOFTWARE\WOW6432Node.
    // (KEY_WOW64_32KEY asks for that view in any process.)
    void SetWow64Process(bool wow64 = true) { m_wow64 = wow64; }

    // What tests look at without going through the calls.
    struct KeptValue : RegValue {
        std::wstring name;  // as first created
    };
    bool KeyExists(const std::wstring& keyPath) const;
    std::optional<KeptValue> Value(const std::wstring& keyPath, const std::wstring& valueName) const;
    std::vector<std::wstring> ValueNames(const std::wstring& keyPath) const;  // in the order they were created
    std::size_t OpenHandleCount() const { return m_handles.size(); }
    // Every call made, one line each ("SetValueEx HKCU\...\PlacesBar place0"), in order.
    const std::vector<std::string>& Calls() const { return m_calls; }

private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        std::uint32_t access;
    };
    struct Failure {
        RegOp op;
        std::wstring keyPath;
        std::wstring valueName;
        long code;
    };

    std::optional<Handle> Resolve(RegKey key) const;
    std::string PathOf(RegKey key) const;
    std::optional<long> Injected(RegOp op, const std::wstring& keyPath, const std::wstring& valueName = {}) const;
    [[nodiscard]] long OpenOrCreate(RegKey root, const std::wstring& subKey, bool create, std::uint32_t access, RegKey* result, const char* call);
    [[nodiscard]] long Query(RegKey key, const std::wstring& name, bool ansi, std::uint32_t* type, void* data, std::uint32_t* size, const char* call);
    [[nodiscard]] long Set(RegKey key, const std::wstring& name, std::uint32_t type, std::vector<std::uint8_t> data, const char* call);
    [[nodiscard]] long Delete(RegKey root, const std::wstring& subKey, const char* call);
    [[nodiscard]] long RemoveValue(RegKey key, const std::wstring& name, const char* call);
    std::wstring Wide(const std::string& ansi) const { return m_codePage.FromAnsi(ansi); }
    const Node* Find(const std::wstring& keyPath) const;
    Node* Find(const std::wstring& keyPath);

    const AnsiCodePage& m_codePage;
    std::shared_ptr<Node> m_currentUser;
    std::shared_ptr<Node> m_localMachine;
    std::map<RegKey, Handle> m_handles;
    RegKey m_nextHandle = 0x1000;
    std::vector<Failure> m_failures;
    std::vector<std::string> m_calls;
    bool m_wow64 = false;
};

}  // namespace platform
