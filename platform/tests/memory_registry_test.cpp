// What the contract suite cannot check on the real registry: the stand-in's
// own bookkeeping.
#include <platform/memory_registry.h>

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(MemoryRegistry, FoldsLettersButNotTheBytesOfDoubleByteCharacters) {
    EXPECT_EQ(FoldRegistryName("place0"), "PLACE0");
    // 0xB0 0x61 and 0xB0 0x41 are two different characters in code page 936.
    EXPECT_NE(FoldRegistryName("\xB0\x61"), FoldRegistryName("\xB0\x41"));
    EXPECT_EQ(FoldRegistryName("\xB0\x61z"), "\xB0\x61Z");
}

TEST(MemoryRegistry, InjectedFailuresChangeNothing_AndMatchKeyAndValue) {
    MemoryRegistry registry;
    registry.InjectFailure(RegOp::SetValue, "hkcu\\A", kErrorAccessDenied, "x");
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKeyEx(kHkeyCurrentUser, "A", kKeyAccess, &key), kErrorSuccess);
    std::uint32_t one = 1;
    EXPECT_EQ(registry.SetValueEx(key, "X", kRegDword, &one, 4), kErrorAccessDenied);
    EXPECT_EQ(registry.SetValueEx(key, "y", kRegDword, &one, 4), kErrorSuccess);
    EXPECT_FALSE(registry.Value("HKCU\\A", "x").has_value());
    registry.ClearFailures();
    EXPECT_EQ(registry.SetValueEx(key, "x", kRegDword, &one, 4), kErrorSuccess);
    EXPECT_EQ(registry.CloseKey(key), kErrorSuccess);
    EXPECT_EQ(registry.CloseKey(key), kErrorInvalidHandle);
}

TEST(MemoryRegistry, HandleOfADeletedKey_ReportsItDeleted) {
    MemoryRegistry registry;
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKeyEx(kHkeyCurrentUser, "A\\B", kKeyAccess, &key), kErrorSuccess);
    ASSERT_EQ(registry.DeleteKey(kHkeyCurrentUser, "a\\b"), kErrorSuccess);
    std::uint32_t one = 1;
    EXPECT_EQ(registry.SetValueEx(key, "x", kRegDword, &one, 4), kErrorKeyDeleted);
    EXPECT_EQ(registry.CloseKey(key), kErrorSuccess);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
