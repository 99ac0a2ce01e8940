// What the contract suite cannot check on the real registry: the stand-in's
// own bookkeeping.
#include <platform/memory_registry.h>

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(MemoryRegistry, InjectedFailuresChangeNothing_AndMatchKeyAndValue) {
    MemoryRegistry registry;
    registry.InjectFailure(RegOp::SetValue, L"hkcu\\A", kErrorAccessDenied, L"x");
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKeyEx(kHkeyCurrentUser, "A", kKeyAccess, &key), kErrorSuccess);
    std::uint32_t one = 1;
    EXPECT_EQ(registry.SetValueEx(key, "X", kRegDword, &one, 4), kErrorAccessDenied);
    EXPECT_EQ(registry.SetValueEx(key, "y", kRegDword, &one, 4), kErrorSuccess);
    EXPECT_FALSE(registry.Value(L"HKCU\\A", L"x").has_value());
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

TEST(MemoryRegistry, KeepsValuesInTheOrderTheyWereMade_AndTheirFirstSpelling) {
    MemoryRegistry registry;
    UniqueRegKey key(registry);
    ASSERT_EQ(registry.CreateKeyExW(kHkeyCurrentUser, L"A", kKeyAccess, key.put()), kErrorSuccess);
    std::uint32_t one = 1;
    for (const wchar_t* name : {L"b", L"A", L"c", L"B"}) ASSERT_EQ(registry.SetValueExW(key.get(), name, kRegDword, &one, 4), kErrorSuccess);
    EXPECT_EQ(registry.ValueNames(L"HKCU\\A"), (std::vector<std::wstring>{L"b", L"A", L"c"}));
    std::wstring name;
    EXPECT_EQ(registry.EnumValueW(key.get(), 2, &name), kErrorSuccess);
    EXPECT_EQ(name, L"c");
    EXPECT_EQ(registry.EnumValueW(key.get(), 3, &name), kErrorNoMoreItems);
}

}  // namespace
