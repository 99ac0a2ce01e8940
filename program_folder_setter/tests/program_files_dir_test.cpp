#include "program_files_dir.h"

#include <platform/memory_registry.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::MemoryRegistry;

constexpr char kKeyPath[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::vector<std::uint8_t> Bytes(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

TEST(IsStorablePath, RefusesEmptyAndBlankTexts_AcceptsAnythingElse) {
    EXPECT_FALSE(tarnvale::IsStorablePath(""));
    EXPECT_FALSE(tarnvale::IsStorablePath(" "));
    EXPECT_FALSE(tarnvale::IsStorablePath(" \t  "));
    EXPECT_TRUE(tarnvale::IsStorablePath("D"));
    EXPECT_TRUE(tarnvale::IsStorablePath("  D:\\Apps  "));
    EXPECT_TRUE(tarnvale::IsStorablePath("\xD6\xD0"));  // a Chinese character in code page 936
    EXPECT_TRUE(tarnvale::IsStorablePath("nonsense"));  // not validated beyond blankness
}

class StoreProgramFilesDir : public ::testing::Test {
protected:
    MemoryRegistry registry;
};

TEST_F(StoreProgramFilesDir, CreatesTheKey_StoresTextAndOneNul_AndClosesTheKey) {
    tarnvale::StoreProgramFilesDir(registry, "D:\\Program Files");
    auto value = registry.Value(kKeyPath, "ProgramFilesDir");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::kRegSz);
    EXPECT_EQ(value->data, Bytes("D:\\Program Files"));
    EXPECT_EQ(value->data.size(), 17u);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    EXPECT_EQ(registry.Calls(), (std::vector<std::string>{"CreateKey " + std::string(kKeyPath),
                                                          "SetValueEx " + std::string(kKeyPath) + " ProgramFilesDir",
                                                          "CloseKey " + std::string(kKeyPath)}));
}

TEST_F(StoreProgramFilesDir, AKeyThatCannotBeOpenedSkipsTheWrite) {
    tarnvale::StoreProgramFilesDir(registry, "C:\\Program Files");
    registry.InjectFailure(platform::RegOp::CreateKey, kKeyPath, platform::kErrorAccessDenied);
    tarnvale::StoreProgramFilesDir(registry, "E:\\Program Files");
    EXPECT_EQ(registry.Value(kKeyPath, "ProgramFilesDir")->data, Bytes("C:\\Program Files"));
    EXPECT_EQ(registry.Calls().back(), "CreateKey " + std::string(kKeyPath));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(StoreProgramFilesDir, AFailedWriteKeepsTheOldValue_AndStillClosesTheKey) {
    tarnvale::StoreProgramFilesDir(registry, "C:\\Program Files");
    registry.InjectFailure(platform::RegOp::SetValue, kKeyPath, platform::kErrorAccessDenied);
    tarnvale::StoreProgramFilesDir(registry, "F:\\Program Files");
    EXPECT_EQ(registry.Value(kKeyPath, "ProgramFilesDir")->data, Bytes("C:\\Program Files"));
    EXPECT_EQ(registry.Calls().back(), "CloseKey " + std::string(kKeyPath));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
