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
    tarnvale::EarlierValue earlier;
};

TEST_F(StoreProgramFilesDir, CreatesTheKey_StoresTextAndOneNul_AndClosesTheKey) {
    EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, "D:\\Program Files"));
    auto value = registry.Value(kKeyPath, L"ProgramFilesDir");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::kRegSz);
    EXPECT_EQ(value->data, Stored(L"D:\\Program Files"));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    EXPECT_EQ(registry.Calls(), (std::vector<std::string>{"CreateKey " + kLogPath, "SetValueEx " + kLogPath + " ProgramFilesDir",
                                                          "CloseKey " + kLogPath}));
}

TEST_F(StoreProgramFilesDir, AKeyThatCannotBeOpenedSkipsTheWrite_AndSaysSo) {
    EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, "C:\\Program Files"));
    registry.InjectFailure(platform::RegOp::CreateKey, kKeyPath, platform::kErrorAccessDenied);
    EXPECT_FALSE(tarnvale::StoreProgramFilesDir(registry, "E:\\Program Files"));
    EXPECT_EQ(registry.Value(kKeyPath, L"ProgramFilesDir")->data, Stored(L"C:\\Program Files"));
    EXPECT_EQ(registry.Calls().back(), "CreateKey " + kLogPath);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(StoreProgramFilesDir, AFailedWriteKeepsTheOldValue_StillClosesTheKey_AndSaysSo) {
    EXPECT_TRUE(tarnvale::StoreProgramFilesDir(registry, "C:\\Program Files"));
    registry.InjectFailure(platform::RegOp::SetValue, kKeyPath, platform::kErrorAccessDenied);
    EXPECT_FALSE(tarnvale::StoreProgramFilesDir(registry, "F:\\Program Files"));
    EXPECT_EQ(registry.Value(kKeyPath, L"ProgramFilesDir")->data, Stored(L"C:\\Program Files"));
    EXPECT_EQ(registry.Calls().back(), "CloseKey " + kLogPath);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(StoreProgramFilesDir, AnEmptiedPathPutsBackAValueThatWasAbsent_AndAPutBackThatFailsIsAFailure) {
    tarnvale::RememberProgramFilesDir(registry, earlier);
    EXPECT_EQ(tarnvale::StoreTypedPath(registry, earlier, "E"), tarnvale::TypedPathResult::Stored);
    registry.InjectFailure(platform::RegOp::DeleteValue, kKeyPath, platform::kErrorAccessDenied);
    EXPECT_EQ(tarnvale::StoreTypedPath(registry, earlier, ""), tarnvale::TypedPathResult::Failed);
    registry.ClearFailures();
    EXPECT_EQ(tarnvale::StoreTypedPath(registry, earlier, ""), tarnvale::TypedPathResult::Untold);
    EXPECT_FALSE(registry.Value(kKeyPath, L"ProgramFilesDir"));
}

// What reaches RegSetValueExA. Windows and Wine both add the NUL that a
// count leaves out, so no registry shows whether the text was handed over
// with it, as the function's documentation asks: only the call does.
struct RecordingRegistry {
    long CreateKey(platform::RegKey, const char*, platform::RegKey* result) {
        *result = 0x100;
        return platform::kErrorSuccess;
    }
    long SetValueEx(platform::RegKey, const char*, std::uint32_t, const void* data, std::uint32_t size) {
        handed.assign(static_cast<const char*>(data), size);
        return platform::kErrorSuccess;
    }
    long CloseKey(platform::RegKey) { return platform::kErrorSuccess; }
    std::string handed;
};

TEST(StoreProgramFilesDirCall, HandsOverTheTextWithItsNul) {
    RecordingRegistry registry;
    ASSERT_TRUE(tarnvale::StoreProgramFilesDir(registry, "D:\\Program Files"));
    EXPECT_EQ(registry.handed, std::string("D:\\Program Files\0", 17));
}

}  // namespace
