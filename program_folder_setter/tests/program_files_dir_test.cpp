#include "program_files_dir.h"

#include <platform/ansi.h>
#include <platform/memory_registry.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::MemoryRegistry;

const std::wstring kKeyPath = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kLogPath = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// What the registry keeps for a string written with its NUL: UTF-16 units.
std::vector<std::uint8_t> Stored(const std::wstring& text) {
    const std::string units = platform::ToUtf16(text + L'\0');
    return {units.begin(), units.end()};
}

TEST(IsBlankText, RefusesEmptyAndBlankTextsOfEveryKind_AcceptsAnythingElse) {
    EXPECT_TRUE(tarnvale::IsBlankText(L""));
    EXPECT_TRUE(tarnvale::IsBlankText(L" "));
    EXPECT_TRUE(tarnvale::IsBlankText(L" \t  "));
    EXPECT_TRUE(tarnvale::IsBlankText(L"\x3000\x3000"));  // ideographic spaces
    EXPECT_TRUE(tarnvale::IsBlankText(L"\xA0"));          // no-break space
    EXPECT_TRUE(tarnvale::IsBlankText(L"\x200B\xFEFF"));  // seen by nobody
    EXPECT_FALSE(tarnvale::IsBlankText(L"D"));
    EXPECT_FALSE(tarnvale::IsBlankText(L"  D:\\Apps  "));
    EXPECT_FALSE(tarnvale::IsBlankText(L"\x3000中"));
    EXPECT_FALSE(tarnvale::IsBlankText(L"nonsense"));  // not validated beyond blankness
}

class StoreProgramFilesDir : public ::testing::Test {
protected:
    MemoryRegistry registry;
    tarnvale::EarlierFolder earlier;
};

TEST_F(StoreProgramFilesDir, CreatesTheKey_StoresTextAndOneNul_AndClosesTheKey) {
    EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, false, "D:\\Program Files"));
    auto value = registry.Value(kKeyPath, L"ProgramFilesDir");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::kRegSz);
    EXPECT_EQ(value->data, Stored(L"D:\\Program Files"));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    EXPECT_EQ(registry.Calls(), (std::vector<std::string>{"CreateKey " + kLogPath, "SetValueEx " + kLogPath + " ProgramFilesDir",
                                                          "CloseKey " + kLogPath}));
}

TEST_F(StoreProgramFilesDir, AKeyThatCannotBeOpenedSkipsTheWrite_AndSaysSo) {
    EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, false, "C:\\Program Files"));
    registry.InjectFailure(platform::RegOp::CreateKey, kKeyPath, platform::kErrorAccessDenied);
    EXPECT_FALSE(tarnvale::StoreProgramFilesDir(registry, false, "E:\\Program Files"));
    EXPECT_EQ(registry.Value(kKeyPath, L"ProgramFilesDir")->data, Stored(L"C:\\Program Files"));
    EXPECT_EQ(registry.Calls().back(), "CreateKey " + kLogPath);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(StoreProgramFilesDir, AFailedWriteKeepsTheOldValue_StillClosesTheKey_AndSaysSo) {
    EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, false, "C:\\Program Files"));
    registry.InjectFailure(platform::RegOp::SetValue, kKeyPath, platform::kErrorAccessDenied);
    EXPECT_FALSE(tarnvale::StoreProgramFilesDir(registry, false, "F:\\Program Files"));
    EXPECT_EQ(registry.Value(kKeyPath, L"ProgramFilesDir")->data, Stored(L"C:\\Program Files"));
    EXPECT_EQ(registry.Calls().back(), "CloseKey " + kLogPath);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(StoreProgramFilesDir, AnEmptiedPathPutsBackAValueThatWasAbsent_AndAPutBackThatFailsIsAFailure) {
    tarnvale::RememberProgramFilesDir(registry, false, earlier);
    EXPECT_EQ(tarnvale::StoreTypedPath(registry, false, earlier, "E"), tarnvale::TypedPathResult::Stored);
    registry.InjectFailure(platform::RegOp::DeleteValue, kKeyPath, platform::kErrorAccessDenied);
    EXPECT_EQ(tarnvale::StoreTypedPath(registry, false, earlier, ""), tarnvale::TypedPathResult::Failed);
    registry.ClearFailures();
    EXPECT_EQ(tarnvale::StoreTypedPath(registry, false, earlier, ""), tarnvale::TypedPathResult::Untold);
    EXPECT_FALSE(registry.Value(kKeyPath, L"ProgramFilesDir"));
}

// On 64-bit Windows, as the 32-bit program sees it: the choice lands in the
// 64-bit view that the system reads, ProgramW6432Dir follows where it was in
// step, the 32-bit view stays, and an emptied path puts back both exactly.
TEST_F(StoreProgramFilesDir, OnWindows64_TheSystemsViewChanges_ProgramW6432DirFollowsWhereInStep) {
    registry.SetWow64Process();
    const std::wstring view32 = L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion";
    auto set = [&](const std::wstring& key, const wchar_t* name, const std::wstring& text) {
        platform::UniqueRegKey handle(registry);
        const auto data = Stored(text);
        ASSERT_EQ(registry.CreateKeyExW(platform::kHkeyLocalMachine, key.substr(5), platform::kKeyAllAccess | platform::kKeyWow64_64Key, handle.put()), 0);
        ASSERT_EQ(registry.SetValueExW(handle.get(), name, platform::kRegExpandSz, data.data(), static_cast<std::uint32_t>(data.size())), 0);
    };
    auto holds = [&](const std::wstring& key, const wchar_t* name, const std::wstring& text) { return registry.Value(key, name)->data == Stored(text); };
    for (const bool inStep : {true, false}) {
        SCOPED_TRACE(inStep);
        const std::wstring other = inStep ? L"" : L"C:\\Other";
        set(kKeyPath, L"ProgramFilesDir", L"C:\\Program Files");
        set(kKeyPath, L"ProgramW6432Dir", inStep ? L"C:\\Program Files" : other);
        set(view32, L"ProgramFilesDir", L"C:\\Program Files (x86)");
        EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, true, "D:\\Program Files"));
        EXPECT_TRUE(holds(kKeyPath, L"ProgramFilesDir", L"D:\\Program Files"));
        EXPECT_TRUE(holds(kKeyPath, L"ProgramW6432Dir", inStep ? L"D:\\Program Files" : other));

        tarnvale::RememberProgramFilesDir(registry, true, earlier);
        EXPECT_EQ(tarnvale::StoreTypedPath(registry, true, earlier, "D:\\Apps"), tarnvale::TypedPathResult::Stored);
        EXPECT_TRUE(holds(kKeyPath, L"ProgramW6432Dir", inStep ? L"D:\\Apps" : other));
        EXPECT_EQ(tarnvale::StoreTypedPath(registry, true, earlier, ""), tarnvale::TypedPathResult::Untold);
        EXPECT_TRUE(holds(kKeyPath, L"ProgramFilesDir", L"D:\\Program Files"));
        EXPECT_TRUE(holds(kKeyPath, L"ProgramW6432Dir", inStep ? L"D:\\Program Files" : other));
        EXPECT_TRUE(holds(view32, L"ProgramFilesDir", L"C:\\Program Files (x86)"));

        // Half a change is none: ProgramFilesDir goes back when its twin refuses.
        registry.InjectFailure(platform::RegOp::SetValue, kKeyPath, platform::kErrorAccessDenied, L"ProgramW6432Dir");
        EXPECT_EQ(tarnvale::StoreProgramFilesDir(registry, true, "E:\\Program Files"), !inStep);
        EXPECT_TRUE(holds(kKeyPath, L"ProgramFilesDir", inStep ? L"D:\\Program Files" : L"E:\\Program Files"));
        registry.ClearFailures();
    }
}

// What reaches RegSetValueExA. Windows and Wine both add the NUL that a
// count leaves out, so no registry shows whether the text was handed over
// with it, as the function's documentation asks: only the call does.
struct RecordingRegistry {
    long CreateKey(platform::RegKey, const char*, platform::RegKey* result) {
        *result = 0x100;
        return platform::kErrorSuccess;
    }
    long CreateKeyEx(platform::RegKey root, const char* path, std::uint32_t, platform::RegKey* result) { return CreateKey(root, path, result); }
    long QueryValueExW(platform::RegKey, const wchar_t*, std::uint32_t*, void*, std::uint32_t*) { return platform::kErrorFileNotFound; }
    long SetValueExW(platform::RegKey, const wchar_t*, std::uint32_t, const void*, std::uint32_t) { return platform::kErrorSuccess; }
    long SetValueEx(platform::RegKey, const char*, std::uint32_t, const void* data, std::uint32_t size) {
        handed.assign(static_cast<const char*>(data), size);
        return platform::kErrorSuccess;
    }
    long CloseKey(platform::RegKey) { return platform::kErrorSuccess; }
    std::string handed;
};

TEST(StoreProgramFilesDirCall, HandsOverTheTextWithItsNul) {
    for (const bool windows64 : {false, true}) {
        RecordingRegistry registry;
        ASSERT_TRUE(tarnvale::StoreProgramFilesDir(registry, windows64, "D:\\Program Files"));
        EXPECT_EQ(registry.handed, std::string("D:\\Program Files\0", 17));
    }
}

}  // namespace
