#pragma once
// The machine as the commands see it, in memory: the in-memory registry,
// files in a map, and what was written to the two streams.
#include "commands.h"
#include "host.h"

#include <platform/memory_registry.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace lumbrake::cli::testing {

// The in-memory registry, except that writes of the named values (through
// the A function) report success and store nothing: a write that did not
// take, as a key redirected or rewritten by someone else looks from here.
class ForgetfulRegistry final : public platform::Registry {
public:
    explicit ForgetfulRegistry(platform::MemoryRegistry& registry) : m_registry(registry) {}
    std::set<std::string> forgotten;

    using RegKey = platform::RegKey;
    long CreateKeyEx(RegKey r, const std::string& k, std::uint32_t a, RegKey* o) override { return m_registry.CreateKeyEx(r, k, a, o); }
    long CreateKey(RegKey r, const std::string& k, RegKey* o) override { return m_registry.CreateKey(r, k, o); }
    long OpenKeyEx(RegKey r, const std::string& k, std::uint32_t a, RegKey* o) override { return m_registry.OpenKeyEx(r, k, a, o); }
    long OpenKey(RegKey r, const std::string& k, RegKey* o) override { return m_registry.OpenKey(r, k, o); }
    long QueryValueEx(RegKey k, const std::string& n, std::uint32_t* t, void* d, std::uint32_t* s) override {
        return m_registry.QueryValueEx(k, n, t, d, s);
    }
    long SetValueEx(RegKey k, const std::string& n, std::uint32_t t, const void* d, std::uint32_t s) override {
        return forgotten.count(n) ? platform::kErrorSuccess : m_registry.SetValueEx(k, n, t, d, s);
    }
    long DeleteKey(RegKey r, const std::string& k) override { return m_registry.DeleteKey(r, k); }
    long DeleteValue(RegKey k, const std::string& n) override { return m_registry.DeleteValue(k, n); }
    long QueryInfoKey(RegKey k, std::uint32_t* s, std::uint32_t* v) override { return m_registry.QueryInfoKey(k, s, v); }
    long CloseKey(RegKey k) override { return m_registry.CloseKey(k); }
    long CreateKeyExW(RegKey r, const std::wstring& k, std::uint32_t a, RegKey* o) override { return m_registry.CreateKeyExW(r, k, a, o); }
    long OpenKeyExW(RegKey r, const std::wstring& k, std::uint32_t a, RegKey* o) override { return m_registry.OpenKeyExW(r, k, a, o); }
    long QueryValueExW(RegKey k, const std::wstring& n, std::uint32_t* t, void* d, std::uint32_t* s) override {
        return m_registry.QueryValueExW(k, n, t, d, s);
    }
    long SetValueExW(RegKey k, const std::wstring& n, std::uint32_t t, const void* d, std::uint32_t s) override {
        return m_registry.SetValueExW(k, n, t, d, s);
    }
    long DeleteKeyW(RegKey r, const std::wstring& k) override { return m_registry.DeleteKeyW(r, k); }
    long DeleteValueW(RegKey k, const std::wstring& n) override { return m_registry.DeleteValueW(k, n); }
    long EnumKeyExW(RegKey k, std::uint32_t i, std::wstring* n) override { return m_registry.EnumKeyExW(k, i, n); }
    long EnumValueW(RegKey k, std::uint32_t i, std::wstring* n) override { return m_registry.EnumValueW(k, i, n); }

private:
    platform::MemoryRegistry& m_registry;
};

// Each part of the host, as one machine.
class FakeHost final : public Console, public Files, public Clock, public platform::PlaceFinder, public OpenDialog {
public:
    platform::MemoryRegistry registry;
    ForgetfulRegistry forgetful{registry};
    bool chinese = false;
    std::wstring out, err;
    std::map<std::wstring, std::string> files;
    std::vector<std::string> backups;
    bool backupFails = false;
    bool outputFails = false;  // standard output closed, or its disk full
    std::set<std::uint32_t> knownFolders{0, 5, 17, 36};
    std::set<std::wstring> existingPaths{L"C:\\Tools", L"C:\\windows"};
    PreviewResult preview{true, 0, true, {L"Desktop", L"Tools"}};

    int Run(std::vector<std::wstring> arguments) {
        out.clear();
        err.clear();
        return cli::Run(arguments, Host{forgetful, platform::SystemCodePage(), *this, *this, *this, *this, *this});
    }

    bool Chinese() override { return chinese; }
    bool Write(Stream stream, std::wstring_view text) override {
        if (stream == Stream::Out && outputFails) return false;
        (stream == Stream::Out ? out : err) += text;
        return true;
    }
    bool WriteFileToOutput(std::string_view bytes, std::wstring_view text) override {
        if (outputFails) return false;
        stdoutBytes.assign(bytes);
        out += text;
        return true;
    }
    std::optional<std::string> ReadFile(const std::wstring& path, long& error) override {
        auto it = files.find(path);
        if (it != files.end()) return it->second;
        error = platform::kErrorFileNotFound;
        return std::nullopt;
    }
    long WriteFile(const std::wstring& path, std::string_view bytes) override {
        files[path] = std::string(bytes);
        return 0;
    }
    std::optional<std::wstring> SaveBackup(std::string_view bytes, long& error) override {
        if (backupFails) {
            error = platform::kErrorAccessDenied;
            return std::nullopt;
        }
        backups.emplace_back(bytes);
        return L"C:\\backups\\" + std::to_wstring(backups.size()) + L".reg";
    }
    platform::Resolution ResolveFolderId(std::uint32_t folderId) override {
        if (knownFolders.count(folderId)) return {true, L"Folder " + std::to_wstring(folderId), 0};
        return {false, {}, static_cast<long>(0x80070057)};
    }
    platform::Resolution ResolvePath(const std::wstring& text) override {
        if (existingPaths.count(text)) return {true, text.substr(text.rfind(L'\\') + 1), 0};
        return {false, {}, static_cast<long>(0x80070002)};
    }
    PreviewResult Preview(bool) override { return preview; }
    std::wstring ErrorText(long code) override { return L"error " + std::to_wstring(code); }
    std::wstring NewGuid() override { return L"{00000000-0000-0000-0000-00000000000" + std::to_wstring(++guids % 10) + L"}"; }
    std::wstring UtcNow() override { return L"2024-05-01 09:30:00"; }

    std::string stdoutBytes;
    int guids = 0;
};

}  // namespace lumbrake::cli::testing
