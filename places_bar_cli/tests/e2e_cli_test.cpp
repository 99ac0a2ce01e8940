// lumbrake-cli.exe under Wine, as a script runs it: its output through
// pipes, its exit code, the registry read back with its exact types and
// bytes, and what programs nobody here wrote make of its work: Wine's own
// Open dialog and its regedit (xmllint, a host program, in gpp_xmllint.sh).
//
// LUMBRAKE_CLI_EXE in the environment names another build to test (a host
// or a Windows path); otherwise the one built beside these tests.
#include <e2e/driver.h>

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <filesystem>
#include <map>
#include <set>
#include <thread>

namespace {

const std::wstring kPolicyKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
const std::wstring kPlacesKey = kPolicyKey + L"\\PlacesBar";
const std::wstring kPolicyFull = L"HKEY_CURRENT_USER\\" + kPolicyKey;
const std::wstring kScratchKey = L"Software\\LumbrakeTests";

std::wstring ProgramUnderTest() { return e2e::WindowsPath(e2e::ProgramUnderTest("LUMBRAKE_CLI_EXE", LUMBRAKE_CLI_EXE)); }

using e2e::FromUtf8;
using e2e::Lines;
using e2e::Output;
using e2e::RunProgram;

Output RunCli(const std::vector<std::wstring>& arguments) { return RunProgram(ProgramUnderTest(), arguments); }

std::wstring SystemFolder(const wchar_t* program) {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + program;
}

// A key and everything under it, read with plain Win32 calls (not with the
// program's own reader): key paths, and values by "key|name" with their
// exact type and bytes. Names as stored, case included.
struct Snapshot {
    std::set<std::wstring> keys;
    std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>> values;
    bool operator==(const Snapshot&) const = default;
};

void Dump(const std::wstring& path, Snapshot& snapshot) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    snapshot.keys.insert(path);
    std::vector<std::wstring> subKeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(size + 2);
        DWORD got = size;
        RegQueryValueExW(key, std::wstring(name, nameLength).c_str(), nullptr, &type, data.data(), &got);
        data.resize(got);
        snapshot.values[path + L"|" + std::wstring(name, nameLength)] = {type, data};
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subKeys.emplace_back(name, length);
    }
    RegCloseKey(key);
    for (const std::wstring& sub : subKeys) Dump(path + L"\\" + sub, snapshot);
}

Snapshot Policy() {
    Snapshot snapshot;
    Dump(kPolicyKey, snapshot);
    return snapshot;
}

void PrintTo(const Snapshot& snapshot, std::ostream* os) {
    for (const auto& key : snapshot.keys) *os << "\n[" << ::testing::PrintToString(key) << "]";
    for (const auto& [name, value] : snapshot.values)
        *os << "\n" << ::testing::PrintToString(name) << " type " << value.first << " " << ::testing::PrintToString(value.second);
}

// Exactly these bytes: RegSetValueExW counts one more unit into a string
// whose next unit is NUL, so none follows them here.
void SetW(const std::wstring& key, const std::wstring& name, DWORD type, std::vector<BYTE> data) {
    const auto size = static_cast<DWORD>(data.size());
    data.insert(data.end(), 4, 0xFF);
    e2e::SetRawW(HKEY_CURRENT_USER, key, name, type, data.data(), size);
}
std::vector<BYTE> Units(std::wstring_view text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    return {bytes, bytes + text.size() * sizeof(wchar_t)};
}

::testing::AssertionResult Contains(const std::wstring& text, const std::wstring& part) {
    if (text.find(part) != std::wstring::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ::testing::PrintToString(part) << " is not in " << ::testing::PrintToString(text);
}

// Each test starts from a user without any places-bar policy and leaves none behind.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clean();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::filesystem::path(temp) / L"lumbrake-cli-tests";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override {
        Clean();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    static void Clean() {
        e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);
        e2e::DeleteTree(HKEY_CURRENT_USER, kScratchKey);
    }
    std::wstring File(const wchar_t* name) const { return (m_folder / name).wstring(); }

    std::filesystem::path m_folder;
};

TEST_F(CliTest, SetCustom_WinesOpenDialogShowsThosePlaces_AndPreviewListsTheSame) {
    const auto defaults = e2e::PlacesInOpenDialog();
    ASSERT_TRUE(defaults.has_value());
    Output preview = RunCli({L"preview", L"--list"});
    EXPECT_EQ(preview.exitCode, 0u) << preview.err;
    EXPECT_EQ(Lines(preview.out), *defaults) << "the system's own places without a policy";

    Output set = RunCli({L"set", L"--no-backup", L"custom", L"Computer", L"C:\\windows"});
    ASSERT_EQ(set.exitCode, 0u) << set.err;
    EXPECT_TRUE(Contains(set.out, L"你已经设置对话框的常用位置为 [ 自定义 ] ！"));
    const std::vector<std::wstring> expected{e2e::DisplayNameOfSpecialFolder(CSIDL_DRIVES), L"windows"};
    EXPECT_EQ(e2e::PlacesInOpenDialog(), expected);
    preview = RunCli({L"preview", L"--list"});
    EXPECT_EQ(preview.exitCode, 0u) << preview.err;
    EXPECT_EQ(Lines(preview.out), expected);

    ASSERT_EQ(RunCli({L"set", L"--no-backup", L"hidden"}).exitCode, 0u);
    EXPECT_FALSE(e2e::PlacesInOpenDialog().has_value());
    preview = RunCli({L"preview", L"--list"});
    EXPECT_EQ(preview.exitCode, 0u);
    EXPECT_EQ(preview.out, L"");
    EXPECT_EQ(preview.err, L"对话框没有显示常用位置栏。\r\n");
}

TEST_F(CliTest, Check_NamesAnUnknownFolderIdAndAMissingPath_AndPassesOnGoodOnes) {
    e2e::SetDword(HKEY_CURRENT_USER, kPlacesKey, L"Place0", CSIDL_DRIVES);
    e2e::SetString(HKEY_CURRENT_USER, kPlacesKey, L"Place1", L"C:\\windows");
    Output check = RunCli({L"check"});
    EXPECT_EQ(check.exitCode, 0u) << check.out << check.err;
    EXPECT_TRUE(Contains(check.out, L"Place0  REG_DWORD 17  能找到：" + e2e::DisplayNameOfSpecialFolder(CSIDL_DRIVES)));
    EXPECT_TRUE(Contains(check.out, L"Place1  REG_SZ \"C:\\windows\"  能找到：windows"));

    e2e::SetDword(HKEY_CURRENT_USER, kPlacesKey, L"Place2", 0x7E);
    e2e::SetString(HKEY_CURRENT_USER, kPlacesKey, L"Place3", L"C:\\no such folder\\here");
    check = RunCli({L"check", L"--json"});
    EXPECT_EQ(check.exitCode, 1u);
    EXPECT_TRUE(Contains(check.out, L"\"value\": \"Place2\""));
    EXPECT_TRUE(Contains(check.out, L"\"reason\": \"系统没有编号为 126 的特殊文件夹"));
    EXPECT_TRUE(Contains(check.out, L"\"reason\": \"对话框找不到这个路径"));
    EXPECT_TRUE(Contains(check.out, L"\"dropped\": 2"));
}

TEST_F(CliTest, Export_ImportedByWinesRegedit_GivesExactlyWhatSetGives) {
    const std::vector<std::vector<std::wstring>> configurations = {
        {L"custom", L"Computer", L"", L"C:\\windows", L"共享文档|46"}, {L"hidden"}, {L"default"}};
    for (bool emptiedKey : {false, true}) {
        for (const auto& configuration : configurations) {
            SCOPED_TRACE(::testing::PrintToString(configuration) + (emptiedKey ? " onto an emptied key" : " into an empty registry"));
            auto start = [&] {
                Clean();
                if (emptiedKey) e2e::CreateKey(HKEY_CURRENT_USER, kPolicyKey);
            };
            start();
            std::vector<std::wstring> arguments{L"set", L"--no-backup"};
            arguments.insert(arguments.end(), configuration.begin(), configuration.end());
            ASSERT_EQ(RunCli(arguments).exitCode, 0u);
            const Snapshot fromSet = Policy();

            start();
            arguments[0] = L"export";
            arguments[1] = L"--output=" + File(L"policy.reg");
            ASSERT_EQ(RunCli(arguments).exitCode, 0u);
            ASSERT_EQ(RunProgram(SystemFolder(L"regedit.exe"), {L"/s", File(L"policy.reg")}).exitCode, 0u);
            Snapshot fromImport = Policy();
            // A .reg file cannot delete a key only when it is empty: the
            // default mode leaves an empty policy key where set deletes it.
            if (fromSet.keys.empty() && fromImport.values.empty() && fromImport.keys == std::set<std::wstring>{kPolicyKey}) fromImport = {};
            EXPECT_EQ(fromImport, fromSet);
        }
    }
}

TEST_F(CliTest, WinesRegeditExport_IsRestoredExactly_AndABackupRestoresWhatWasThere) {
    SetW(kPolicyKey, L"NoPlacesBar", REG_DWORD, {1, 0, 0, 0});
    SetW(kPolicyKey, L"", REG_SZ, Units(std::wstring(L"默认\0", 3)));
    SetW(kPolicyKey, L"Expand", REG_EXPAND_SZ, Units(std::wstring(L"%SystemRoot%\\x\0", 15)));
    SetW(kPolicyKey, L"Multi", REG_MULTI_SZ, Units(std::wstring(L"one\0二\0\0", 8)));
    SetW(kPolicyKey, L"Binary", REG_BINARY, std::vector<BYTE>(100, 0xA5));
    SetW(kPolicyKey, L"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    SetW(kPolicyKey, L"None", REG_NONE, {7});
    SetW(kPlacesKey, L"Place0", REG_DWORD, {17, 0, 0, 0});
    SetW(kPlacesKey, L"位置 \"1\"", REG_SZ, Units(std::wstring(L"D:\\下载\\\"x\"\0", 10)));
    e2e::CreateKey(HKEY_CURRENT_USER, kPolicyKey + L"\\Empty\\Deeper");
    const Snapshot original = Policy();
    ASSERT_EQ(original.values.size(), 9u);

    ASSERT_EQ(RunProgram(SystemFolder(L"regedit.exe"), {L"/e", File(L"wine.reg"), kPolicyFull}).exitCode, 0u);
    Clean();
    // What regedit's string form cannot carry: a string without its NUL, half a character.
    SetW(kPolicyKey, L"Stray", REG_SZ, Units(L"C:\\Tools"));
    SetW(kPlacesKey, L"Place4", REG_SZ, {0x41, 0x00, 0x42});
    const Snapshot stray = Policy();
    ASSERT_EQ(stray.values.at(kPolicyKey + L"|Stray").second.size(), 16u) << "stored without a NUL";
    Output restore = RunCli({L"restore", File(L"wine.reg")});
    EXPECT_EQ(restore.exitCode, 0u) << restore.out << restore.err;
    EXPECT_TRUE(Contains(restore.out, L"（已读回核对）"));
    EXPECT_EQ(Policy(), original);

    // The backup that restore made first holds the key as it was then.
    const std::wstring marker = L"策略项已备份到：";
    const std::size_t at = restore.out.find(marker);
    ASSERT_NE(at, std::wstring::npos) << restore.out;
    const std::wstring backup = restore.out.substr(at + marker.size(), restore.out.find(L"\r\n", at) - at - marker.size());
    wchar_t local[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local), S_OK);
    EXPECT_EQ(backup.rfind(std::wstring(local) + L"\\Lumbrake\\Backups\\comdlg32-", 0), 0u) << ::testing::PrintToString(backup);
    EXPECT_EQ(RunCli({L"restore", L"--no-backup", backup}).exitCode, 0u);
    EXPECT_EQ(Policy(), stray);
    DeleteFileW(backup.c_str());
}

TEST_F(CliTest, Restore_RefusesAKeyOutsideThePolicyAndABadLine_LeavingTheRegistryAsItWas) {
    e2e::SetDword(HKEY_CURRENT_USER, kPlacesKey, L"Place0", 5);
    e2e::SetString(HKEY_CURRENT_USER, kPolicyKey, L"Other", L"kept");
    const Snapshot before = Policy();
    const std::wstring head = L"Windows Registry Editor Version 5.00\r\n\r\n[" + kPolicyFull + L"]\r\n\"NoPlacesBar\"=dword:00000001\r\n\r\n";
    auto write = [&](const wchar_t* name, const std::wstring& text) {
        const std::string bytes = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        HANDLE file = CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    };
    write(L"outside.reg", head + L"[HKEY_CURRENT_USER\\" + kScratchKey + L"\\Run]\r\n\"x\"=\"evil.exe\"\r\n");
    write(L"bad.reg", head + L"\"Place1\"=dword:not-hex\r\n");

    Output outside = RunCli({L"restore", File(L"outside.reg")});
    EXPECT_EQ(outside.exitCode, 1u);
    EXPECT_TRUE(Contains(outside.err, L"第 6 行指向 HKEY_CURRENT_USER\\" + kScratchKey + L"\\Run"));
    EXPECT_EQ(Policy(), before);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CURRENT_USER, kScratchKey));

    Output bad = RunCli({L"restore", File(L"bad.reg")});
    EXPECT_EQ(bad.exitCode, 2u);
    EXPECT_TRUE(Contains(bad.err, L"第 6 行：值数据的格式错误。没有做任何更改。"));
    EXPECT_EQ(Policy(), before);
}

TEST_F(CliTest, UsageErrors_ExitWithTwo_AndShowIsUtf8InAPipe) {
    Output usage = RunCli({L"set", L"custom", L"Desktp"});
    EXPECT_EQ(usage.exitCode, 2u);
    EXPECT_TRUE(Contains(usage.err, L"不是一个位置：\"Desktp\""));
    e2e::SetDword(HKEY_CURRENT_USER, kPlacesKey, L"Place0", CSIDL_DRIVES);
    Output show = RunCli({L"show"});
    EXPECT_EQ(show.exitCode, 0u);
    EXPECT_TRUE(Contains(show.out, L"常用位置栏：自定义\r\n"));
    EXPECT_TRUE(Contains(show.out, L"Place0  显示为  我的电脑|17\r\n"));
    EXPECT_EQ(RunCli({L"--version"}).out.rfind(L"lumbrake-cli ", 0), 0u);
}

}  // namespace
