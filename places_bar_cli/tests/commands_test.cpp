// The commands end to end over an in-memory machine: what they print, what
// they write, and what they refuse to write.
#include "commands.h"
#include "fake_host.h"
#include "policy.h"
#include "reg_file.h"

#include "registry_setup.h"

#include <places_bar/apply.h>
#include <places_bar/module1.h>
#include <places_bar/startup.h>

#include <gtest/gtest.h>

namespace {

using namespace lumbrake;
using namespace lumbrake::cli;
using namespace lumbrake::cli::testing;
using namespace platform;
using lumbrake::testing::DwordBytes;
using lumbrake::testing::kPlacesPath;
using lumbrake::testing::kPolicyPath;
using lumbrake::testing::Utf16Bytes;

bool AllLanded(Registry& registry, const std::vector<Step>& steps) {
    Module1 module(registry, SystemCodePage());
    return Execute(module, steps).Confirmed();
}

::testing::AssertionResult Contains(const std::wstring& text, const std::wstring& part) {
    if (text.find(part) != std::wstring::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << ::testing::PrintToString(part) << "\" is not in:\n" << ::testing::PrintToString(text);
}

class Commands : public ::testing::Test, protected lumbrake::testing::RegistrySetup {
protected:
    Commands() : RegistrySetup(host.registry) {}

    KeyState Policy() { return ReadKeyTree(host.registry, kHkeyCurrentUser, cli::kPolicyPath).state; }
    // Registry calls that change something, from the call log.
    std::size_t Writes() const {
        std::size_t writes = 0;
        for (const std::string& call : host.registry.Calls())
            for (const char* change : {"CreateKey", "SetValue", "DeleteKey", "DeleteValue"}) writes += call.starts_with(change);
        return writes;
    }
    // Exactly these bytes, a string without its NUL too.
    void StoreExactly(const std::wstring& keyPath, const std::wstring& name, RegValue value) {
        CreateKey(keyPath);
        ASSERT_TRUE(AllLanded(host.registry, {{Step::Kind::SetValue, keyPath.substr(5), name, std::nullopt, std::move(value), true}}));
    }
    void StoreTypical() {
        StoreDword(kPlacesPath, L"Place0", 17);
        StoreString(kPlacesPath, L"Place1", L"C:\\Tools");
        StoreDword(kPolicyPath, L"NoBackButton", 1);
    }

    FakeHost host;
};

bool Same(const KeyState& a, const KeyState& b) { return Diff(L"k", a, b).empty(); }


// The strings of a JSON text in order, their escapes read as a strict
// reader reads them; nothing when one is not JSON.
std::optional<std::vector<std::wstring>> JsonStrings(std::wstring_view text) {
    std::vector<std::wstring> strings;
    for (std::size_t i = text.find(L'"'); i != std::wstring_view::npos; i = text.find(L'"', i + 1)) {
        std::wstring string;
        for (++i; i < text.size() && text[i] != L'"'; ++i) {
            if (text[i] < 0x20) return std::nullopt;
            if (text[i] != L'\\') {
                string += text[i];
            } else if (++i < text.size() && text[i] == L'u' && i + 4 < text.size()) {
                string += static_cast<wchar_t>(std::stoul(std::wstring(text.substr(i + 1, 4)), nullptr, 16));
                i += 4;
            } else if (const auto escape = std::wstring_view(L"\"\\/n").find(i < text.size() ? text[i] : L'x'); escape != std::wstring_view::npos) {
                string += L"\"\\/\n"[escape];
            } else {
                return std::nullopt;
            }
        }
        if (i >= text.size()) return std::nullopt;
        strings.push_back(std::move(string));
    }
    return strings;
}

// What Lumbrake's window leaves when it applies the same mode and texts.
KeyState AsTheWindowApplies(const KeyState& before, std::int16_t mode, const SlotTexts& slots) {
    MemoryRegistry registry;
    EXPECT_TRUE(AllLanded(registry, Diff(cli::kPolicyPath, std::nullopt, before)));
    Module1 module(registry, SystemCodePage());
    PlacesBase base = BaseOf(ReadPlaces(module));
    EXPECT_EQ(ApplyMode(module, mode, ModeChoice::Chosen, slots, base), ApplyOutcome::Confirmed);
    return ReadKeyTree(registry, kHkeyCurrentUser, cli::kPolicyPath).state;
}

// As regedit imports a file: each line in turn onto what is there.
void ImportAsRegedit(MemoryRegistry& registry, const std::string& bytes) {
    const auto parsed = ParseRegFile(bytes, SystemCodePage());
    ASSERT_TRUE(std::holds_alternative<RegFile>(parsed));
    for (const RegOperation& op : std::get<RegFile>(parsed).operations) {
        const std::wstring path = op.keyPath.substr(op.keyPath.find(L'\\') + 1);
        using Kind = RegOperation::Kind;
        const Step step{op.kind == Kind::Key ? Step::Kind::CreateKey : op.kind == Kind::DeleteKey ? Step::Kind::DeleteKey
                        : op.kind == Kind::SetValue                    ? Step::Kind::SetValue
                                                                       : Step::Kind::DeleteValue,
                        path, op.valueName, std::nullopt, op.value, true};
        EXPECT_TRUE(AllLanded(registry, {step}));
    }
}

TEST_F(Commands, Show_TheSlotsAsTheWindowShowsThem_WhatIsStored_AndWhatItMeans) {
    StoreTypical();
    StoreDword(kPlacesPath, L"Place2", 36);
    const std::uint8_t bytes[] = {0x81, 0x20};
    Store(kPlacesPath, L"Place3", kRegBinary, bytes, 2);
    StoreString(kPlacesPath, L"Other", L"x");
    const std::size_t writes = Writes();
    EXPECT_EQ(host.Run({L"show"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"Places bar: custom places\n"));
    EXPECT_TRUE(Contains(host.out, L"Place0  shown as  我的电脑|17\n        stored    REG_DWORD 17\n        means     special folder 17: Computer (我的电脑)\n"));
    EXPECT_TRUE(Contains(host.out, L"Place1  shown as  C:\\Tools\n        stored    REG_SZ \"C:\\Tools\"\n        means     the folder C:\\Tools\n"));
    EXPECT_TRUE(Contains(host.out, L"means     special folder 36: Folder 36 (not in Lumbrake's list)"));
    EXPECT_TRUE(Contains(host.out, L"Place3  shown as  <REG_BINARY: 81 20>\n"));
    EXPECT_TRUE(Contains(host.out, L"not a place: the dialog drops a REG_BINARY value"));
    EXPECT_TRUE(Contains(host.out, L"Place4  (nothing stored)\n"));
    EXPECT_TRUE(Contains(host.out, L"comdlg32\\NoBackButton = REG_DWORD 1\n"));
    EXPECT_TRUE(Contains(host.out, L"comdlg32\\PlacesBar\\Other = REG_SZ \"x\"\n"));
    EXPECT_EQ(Writes(), writes);

    EXPECT_EQ(host.Run({L"show", L"--json"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"\"mode\": \"custom\""));
    EXPECT_TRUE(Contains(host.out, L"{\n      \"value\": \"Place0\",\n      \"shown\": \"我的电脑|17\",\n      \"stored\": {\n"
                                   L"        \"type\": \"REG_DWORD\",\n        \"data\": \"17\",\n        \"bytes\": \"11000000\"\n      },\n"
                                   L"      \"kind\": \"folderId\","));
    EXPECT_TRUE(Contains(host.out, L"\"kind\": \"path\""));
    EXPECT_TRUE(Contains(host.out, L"\"name\": \"NoBackButton\""));

    host.chinese = true;
    EXPECT_EQ(host.Run({L"show"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"常用位置栏：自定义\n"));
    EXPECT_TRUE(Contains(host.out, L"Place1  显示为  C:\\Tools\n        存储为  REG_SZ \"C:\\Tools\"\n        含义    文件夹 C:\\Tools\n"))
        << "lined up in the console's columns";
}

// What --json prints reads back exactly: a backslash, a quote and a
// control character in a stored path included.
TEST_F(Commands, ShowJson_ReadBack_GivesEachTextExactly) {
    const std::wstring path = L"C:\\a\"b\x01" L"c";
    StoreString(kPlacesPath, L"Place0", path);
    ASSERT_EQ(host.Run({L"show", L"--json"}), kExitDone);
    const auto strings = JsonStrings(host.out);
    ASSERT_TRUE(strings.has_value()) << ::testing::PrintToString(host.out);
    EXPECT_NE(std::find(strings->begin(), strings->end(), path), strings->end()) << ::testing::PrintToString(host.out);
}

TEST_F(Commands, Check_ExitsWithOne_WhenTheDialogWouldDropAPlace_SayingWhy) {
    StoreDword(kPlacesPath, L"Place0", 17);
    StoreString(kPlacesPath, L"Place1", L"C:\\nowhere");
    StoreDword(kPlacesPath, L"Place2", 99);
    const std::uint8_t shortDword[] = {5, 0};
    Store(kPlacesPath, L"Place3", kRegDword, shortDword, 2);
    StoreString(kPlacesPath, L"Place4", L"C:\\Tools");
    EXPECT_EQ(host.Run({L"check"}), kExitFailed);
    EXPECT_TRUE(Contains(host.out, L"Place0  REG_DWORD 17  found: Folder 17\n"));
    EXPECT_TRUE(Contains(host.out, L"Place1  REG_SZ \"C:\\nowhere\"  DROPPED: the dialog cannot find this path (0x80070002: error "));
    EXPECT_TRUE(Contains(host.out, L"Place2  REG_DWORD 99  DROPPED: the system has no special folder 99"));
    EXPECT_TRUE(Contains(host.out, L"DROPPED: a REG_DWORD of 2 bytes is not a folder id"));
    EXPECT_TRUE(Contains(host.out, L"Place4  REG_SZ \"C:\\Tools\"  found: Tools\n"));
    EXPECT_TRUE(Contains(host.out, L"3 of 5 stored places would be dropped"));
    EXPECT_EQ(host.Run({L"check", L"--json"}), kExitFailed);
    EXPECT_TRUE(Contains(host.out, L"\"found\": false,\n      \"reason\": \"the system has no special folder 99"));
    EXPECT_TRUE(Contains(host.out, L"\"dropped\": 3\n}"));

    host.existingPaths.insert(L"C:\\nowhere");
    host.knownFolders.insert(99);
    Store(kPlacesPath, L"Place3", kRegDword, DwordBytes(0).data(), 4);
    EXPECT_EQ(host.Run({L"check"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"The dialogs find all 5 stored places."));

    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    host.knownFolders.erase(99);
    EXPECT_EQ(host.Run({L"check"}), kExitFailed) << "stored places are checked while the bar is hidden too";

    host.registry.InjectFailure(RegOp::QueryValue, kPolicyPath, kErrorAccessDenied, L"NoPlacesBar");
    for (const wchar_t* command : {L"show", L"check", L"export"}) {
        EXPECT_EQ(host.Run({command}), kExitFailed) << "a value that is there but cannot be read";
        EXPECT_TRUE(Contains(host.err, L"comdlg32\\NoPlacesBar, which is there: error 5"));
    }
}

TEST_F(Commands, Set_StoresWhatTheWindowsApplyStores) {
    StoreTypical();
    StoreString(kPlacesPath, L"Place4", L"%SystemDrive%\\Data");
    const struct {
        std::vector<std::wstring> arguments;
        std::int16_t mode;
        SlotTexts slots;
    } cases[] = {
        {{L"custom", L"Computer", L"", L"D:\\下载", L"我的文档|05", L"c:\\Data"}, kModeCustom, {L"我的电脑|17", L"", L"D:\\下载", L"我的文档|05", L"c:\\Data"}},
        {{L"hidden"}, kModeNoPlacesBar, {}},
        {{L"custom", L"anything|99"}, kModeCustom, {L"anything|99"}},
        {{L"default"}, kModeSystemDefault, {}},
    };
    for (const auto& c : cases) {
        const KeyState expected = AsTheWindowApplies(Policy(), c.mode, c.slots);
        std::vector<std::wstring> arguments{L"set"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(host.Run(arguments), kExitDone) << host.err;
        EXPECT_TRUE(Same(Policy(), expected)) << ::testing::PrintToString(c.arguments);
    }
    EXPECT_TRUE(Contains(host.out, L"The places bar is now: the system default."));
    EXPECT_FALSE(host.registry.KeyExists(kPlacesPath));
}

TEST_F(Commands, Set_DryRun_ListsTheChanges_AndWritesNothing) {
    StoreTypical();
    const std::size_t writes = Writes();
    EXPECT_EQ(host.Run({L"set", L"custom", L"Desktop", L"C:\\Tools", L"--dry-run"}), kExitDone);
    EXPECT_EQ(host.out, L"Would change (dry run, nothing is written):\n"
                        L"  set value    HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\PlacesBar\\place0 = "
                        L"REG_DWORD 0 (was REG_DWORD 17)\n");
    EXPECT_EQ(Writes(), writes);
    EXPECT_TRUE(host.backups.empty());
}

TEST_F(Commands, Set_BacksUpTheWholeKeyBeforeItsFirstChange_AndOnlyThen) {
    StoreTypical();
    const KeyState before = Policy();
    EXPECT_EQ(host.Run({L"set", L"hidden"}), kExitDone);
    ASSERT_EQ(host.backups.size(), 1u);
    EXPECT_TRUE(Contains(host.out, L"Backup of the policy key: C:\\backups\\1.reg\n"));
    const auto parsed = ParseRegFile(host.backups[0], SystemCodePage());
    const auto restored = StateAfter(kPolicyFullPath, std::get<RegFile>(parsed).operations);
    EXPECT_TRUE(Same(std::get<KeyState>(restored), before)) << "the backup holds the key as it was";

    EXPECT_EQ(host.Run({L"set", L"hidden"}), kExitDone);
    EXPECT_EQ(host.out, L"Nothing to change: the registry already holds this.\n");
    EXPECT_EQ(host.Run({L"set", L"custom", L"Recent", L"--no-backup"}), kExitDone);
    EXPECT_EQ(host.backups.size(), 1u);

    host.backupFails = true;
    const std::size_t writes = Writes();
    EXPECT_EQ(host.Run({L"set", L"default"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"Cannot save the backup, so nothing was changed"));
    EXPECT_EQ(Writes(), writes);
}

TEST_F(Commands, Set_NamesEveryWriteThatDidNotTake_AndStillMakesTheOthers) {
    CreateKey(kPlacesPath);
    host.registry.InjectFailure(RegOp::SetValue, kPlacesPath, kErrorAccessDenied, L"place1");
    EXPECT_EQ(host.Run({L"set", L"custom", L"Desktop", L"C:\\Tools", L"Recent"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"Not done: set value    HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion"
                                   L"\\Policies\\comdlg32\\PlacesBar\\place1 = REG_SZ \"C:\\Tools\" (error 5)\n"));
    EXPECT_TRUE(Contains(host.err, L"Writing to the registry failed"));
    EXPECT_FALSE(Contains(host.out, L"The places bar is now"));
    EXPECT_TRUE(host.registry.Value(kPlacesPath, L"place2").has_value());
}

TEST_F(Commands, Set_AWriteReportedDoneButNotThere_IsAFailure) {
    host.forgetful.forgotten.insert("place0");
    EXPECT_EQ(host.Run({L"set", L"custom", L"Desktop", L"Recent"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"Not as expected afterwards: set value    HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion"
                                   L"\\Policies\\comdlg32\\PlacesBar\\place0 = REG_DWORD 0\n"));
    EXPECT_FALSE(Contains(host.out, L"The places bar is now"));
}

TEST_F(Commands, Set_RefusesTextTheCodePageCannotHold_BeforeWritingAnything) {
    StoreTypical();
    const std::size_t writes = Writes();
    EXPECT_EQ(host.Run({L"set", L"custom", L"Desktop", L"C:\\\x0E01\x0E02"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"\"C:\\\x0E01\x0E02\" has characters that the system's ANSI code page cannot hold"));
    EXPECT_EQ(Writes(), writes);
    EXPECT_TRUE(host.backups.empty());
}

TEST_F(Commands, UsageErrors_ExitWithTwo_InTheUsersLanguage) {
    EXPECT_EQ(host.Run({L"set", L"custom", L"Desktp"}), kExitUsage);
    EXPECT_TRUE(Contains(host.err, L"Not a place: \"Desktp\""));
    EXPECT_TRUE(Contains(host.err, L"lumbrake-cli --help"));
    host.chinese = true;
    EXPECT_EQ(host.Run({L"frobnicate"}), kExitUsage);
    EXPECT_TRUE(Contains(host.err, L"未知的命令：frobnicate"));
    EXPECT_EQ(host.Run({L"--help"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"退出码"));
    EXPECT_EQ(Writes(), 0u);
}

TEST_F(Commands, Export_ImportedAsRegeditImports_LeavesWhatSetLeaves) {
    const std::vector<std::vector<std::wstring>> configurations = {
        {L"custom", L"Computer", L"", L"C:\\Tools", L"Desktop"}, {L"hidden"}, {L"default"}};
    for (bool otherPolicies : {false, true}) {
        for (const auto& configuration : configurations) {
            // Already hidden, set changes nothing; the file still deletes the places key.
            if (otherPolicies && configuration.front() == L"hidden") continue;
            FakeHost set, imported;
            for (FakeHost* machine : {&set, &imported}) {
                if (!otherPolicies) continue;
                lumbrake::testing::RegistrySetup setup(machine->registry);
                setup.StoreDword(kPolicyPath, L"NoFileMru", 1);
                setup.StoreDword(kPolicyPath, L"NoPlacesBar", 1);
                setup.StoreString(kPlacesPath, L"place4", L"C:\\Old");
                setup.StoreString(kPlacesPath, L"Unrelated", L"kept");
            }
            std::vector<std::wstring> arguments{L"set", L"--no-backup"};
            arguments.insert(arguments.end(), configuration.begin(), configuration.end());
            ASSERT_EQ(set.Run(arguments), kExitDone);
            arguments[0] = L"export";
            arguments[1] = L"--format=reg";
            ASSERT_EQ(host.Run(arguments), kExitDone);
            ImportAsRegedit(imported.registry, host.stdoutBytes);

            const KeyState fromSet = ReadKeyTree(set.registry, kHkeyCurrentUser, cli::kPolicyPath).state;
            KeyState fromImport = ReadKeyTree(imported.registry, kHkeyCurrentUser, cli::kPolicyPath).state;
            if (!fromSet && fromImport && fromImport->values.empty() && fromImport->keys.empty()) fromImport.reset();  // see PolicySections
            EXPECT_TRUE(Same(fromImport, fromSet)) << ::testing::PrintToString(configuration) << " other policies: " << otherPolicies;
        }
    }
}

TEST_F(Commands, Export_TheCurrentConfiguration_ExactlyAsStored) {
    Store(kPolicyPath, L"NoPlacesBar", kRegSz, Utf16Bytes(std::wstring(L"1\0", 2)).data(), 4);
    StoreDword(kPlacesPath, L"Place0", 5);
    EXPECT_EQ(host.Run({L"export"}), kExitDone);
    const std::wstring root = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
    EXPECT_EQ(host.out, L"Windows Registry Editor Version 5.00\r\n\r\n[-" + root + L"\\PlacesBar]\r\n\r\n[" + root + L"]\r\n\"NoPlacesBar\"=\"1\"\r\n\r\n");
    host.outputFails = true;
    EXPECT_EQ(host.Run({L"export"}), kExitFailed) << "standard output that cannot be written";
    host.outputFails = false;

    ASSERT_EQ(host.Run({L"set", L"custom", L"Desktop", L"--no-backup"}), kExitDone);
    Store(kPlacesPath, L"Place0", kRegExpandSz, Utf16Bytes(std::wstring(L"%A%\0", 4)).data(), 8);
    EXPECT_EQ(host.Run({L"export", L"--output", L"out.reg"}), kExitDone);
    EXPECT_EQ(host.out, L"Wrote out.reg.\n");
    const auto parsed = ParseRegFile(host.files[L"out.reg"], SystemCodePage());
    const auto& operations = std::get<RegFile>(parsed).operations;
    ASSERT_EQ(operations.size(), 8u);
    EXPECT_EQ(operations[1].kind, RegOperation::Kind::DeleteValue);
    EXPECT_EQ(operations[3].valueName, L"Place0");
    EXPECT_EQ(operations[3].value, (RegValue{kRegExpandSz, Utf16Bytes(std::wstring(L"%A%\0", 4))}));
    EXPECT_EQ(operations[4].valueName, L"place1");
    EXPECT_EQ(operations[4].kind, RegOperation::Kind::DeleteValue);
}

TEST_F(Commands, Export_GroupPolicyPreferences_OrARefusalNamingTheValue) {
    EXPECT_EQ(host.Run({L"export", L"--format", L"gpp", L"custom", L"Computer", L"C:\\Tools"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"name=\"NoPlacesBar\" type=\"REG_SZ\" value=\"\"/>"));
    EXPECT_TRUE(Contains(host.out, L"action=\"U\" displayDecimal=\"0\" default=\"0\" hive=\"HKEY_CURRENT_USER\" "
                                   L"key=\"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\PlacesBar\" name=\"place0\" "
                                   L"type=\"REG_DWORD\" value=\"00000011\"/>"));
    EXPECT_TRUE(Contains(host.out, L"name=\"place1\" type=\"REG_SZ\" value=\"C:\\Tools\"/>"));
    EXPECT_TRUE(Contains(host.out, L"uid=\"{00000000-0000-0000-0000-000000000001}\""));
    EXPECT_EQ(host.stdoutBytes.substr(0, 5), "<?xml") << "UTF-8, as declared";

    StoreExactly(kPlacesPath, L"Place2", {kRegSz, Utf16Bytes(L"no NUL")});
    EXPECT_EQ(host.Run({L"export", L"--format", L"gpp"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"comdlg32\\PlacesBar\\Place2 cannot be expressed exactly"));
}

TEST_F(Commands, Backup_ThenRestore_GivesBackTheWholeKeyExactly) {
    StoreTypical();
    Store(kPolicyPath + L"\\Sub\\Deeper", L"名字", kRegMultiSz, Utf16Bytes(std::wstring(L"a\0b\0\0", 5)).data(), 10);
    StoreExactly(kPlacesPath, L"Odd", {kRegSz, {0x41, 0x00, 0x42}});
    const KeyState original = Policy();
    EXPECT_EQ(host.Run({L"backup", L"saved.reg"}), kExitDone);

    ASSERT_EQ(host.Run({L"set", L"custom", L"Desktop", L"--no-backup"}), kExitDone);
    StoreDword(kPolicyPath + L"\\Sub", L"added", 1);
    EXPECT_EQ(host.Run({L"restore", L"saved.reg"}), kExitDone) << host.err;
    EXPECT_TRUE(Contains(host.out, L"The policy key now holds exactly what saved.reg holds (read back and compared)."));
    EXPECT_TRUE(Same(Policy(), original));
    EXPECT_EQ(host.backups.size(), 1u) << "the key as it was before the restore";

    EXPECT_EQ(host.Run({L"restore", L"saved.reg"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"Nothing to change"));
}

TEST_F(Commands, Restore_RefusesBadFilesAndOutsideKeys_BeforeWritingAnything) {
    StoreTypical();
    const std::string head = "\xFF\xFE" + ToUtf16(L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows"
                                                  L"\\CurrentVersion\\Policies\\comdlg32]\r\n\"x\"=dword:1\r\n");
    host.files[L"outside.reg"] = head + ToUtf16(L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"x\"=\"evil.exe\"\r\n");
    host.files[L"bad.reg"] = head + ToUtf16(L"\"y\"=dword:xyz\r\n");
    host.files[L"empty.reg"] = "\xFF\xFE" + ToUtf16(L"Windows Registry Editor Version 5.00\r\n");
    const std::size_t writes = Writes();

    EXPECT_EQ(host.Run({L"restore", L"outside.reg"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"Refused, nothing was changed: outside.reg, line 5 names HKEY_CURRENT_USER\\Software\\Microsoft\\Windows"
                                   L"\\CurrentVersion\\Run, which is outside"));
    EXPECT_EQ(host.Run({L"restore", L"bad.reg"}), kExitUsage);
    EXPECT_TRUE(Contains(host.err, L"bad.reg, line 5: malformed value data. Nothing was changed."));
    EXPECT_EQ(host.Run({L"restore", L"empty.reg"}), kExitUsage);
    EXPECT_EQ(host.Run({L"restore", L"missing.reg"}), kExitUsage);
    EXPECT_TRUE(Contains(host.err, L"Cannot read missing.reg: error 2"));
    host.files[L"good.reg"] = head;
    EXPECT_EQ(host.Run({L"restore", L"good.reg", L"--dry-run"}), kExitDone);
    EXPECT_TRUE(Contains(host.out, L"delete key   HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\PlacesBar"));
    EXPECT_EQ(Writes(), writes);
    EXPECT_TRUE(host.backups.empty());
}

TEST_F(Commands, Restore_NamesWhatCouldNotBeWritten) {
    host.files[L"f.reg"] = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32]\r\n\"a\"=dword:1\r\n\"b\"=dword:2\r\n";
    CreateKey(kPolicyPath);
    host.registry.InjectFailure(RegOp::SetValue, kPolicyPath, kErrorAccessDenied, L"a");
    EXPECT_EQ(host.Run({L"restore", L"f.reg", L"--no-backup"}), kExitFailed);
    EXPECT_TRUE(Contains(host.err, L"Not done: set value    HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\a = REG_DWORD 1 (error 5)"));
    EXPECT_TRUE(Contains(host.err, L"The policy key does not hold what f.reg holds."));
    EXPECT_TRUE(host.registry.Value(kPolicyPath, L"b").has_value());
}

}  // namespace
