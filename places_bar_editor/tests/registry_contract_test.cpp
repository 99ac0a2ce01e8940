// One set of expectations for the registry, run against the in-memory
// registry everywhere and against the real one under Wine. Where the two
// disagree, the in-memory one is wrong.
#include "module1.h"

#include <platform/ansi.h>
#include <platform/memory_registry.h>
#ifdef _WIN32
#include <platform/win_registry.h>
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace lumbrake;
using namespace platform;

const std::wstring kScratch = L"Software\\LumbrakeTests\\Contract";
const std::wstring kScratchSub = L"Software\\LumbrakeTests\\Contract\\Sub";

struct MemoryBackend {
    MemoryRegistry registry;
    Registry& Get() { return registry; }
    void Clean() {}
};

#ifdef _WIN32
struct SystemBackend {
    Registry& Get() { return SystemRegistry(); }
    void Clean() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\LumbrakeTests"); }
};
#endif

template <typename Backend>
class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override { backend.Clean(); }
    void TearDown() override { backend.Clean(); }

    Registry& registry() { return backend.Get(); }
    std::string Ansi(const std::wstring& text) { return *SystemCodePage().ToAnsi(text); }

    // The raw bytes and type the registry keeps for a value.
    struct Raw {
        long rc = -1;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    Raw ReadRaw(const std::wstring& keyPath, const std::string& name) {
        Raw raw;
        UniqueRegKey key(registry());
        raw.rc = registry().OpenKeyEx(kHkeyCurrentUser, Ansi(keyPath), kKeyAccess, key.put());
        if (raw.rc != kErrorSuccess) return raw;
        std::uint32_t size = 0;
        raw.rc = registry().QueryValueEx(key.get(), name, &raw.type, nullptr, &size);
        if (raw.rc != kErrorSuccess) return raw;
        raw.data.resize(size);
        raw.rc = registry().QueryValueEx(key.get(), name, nullptr, raw.data.data(), &size);
        raw.data.resize(size);
        return raw;
    }
    long WriteRaw(const std::wstring& keyPath, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) {
        UniqueRegKey key(registry());
        long rc = registry().CreateKeyEx(kHkeyCurrentUser, Ansi(keyPath), kKeyAccess, key.put());
        if (rc != kErrorSuccess) return rc;
        return registry().SetValueEx(key.get(), name, type, data, size);
    }
    bool KeyExists(const std::wstring& keyPath) {
        UniqueRegKey key(registry());
        return registry().OpenKey(kHkeyCurrentUser, Ansi(keyPath), key.put()) == kErrorSuccess;
    }

    Backend backend;
    Module1 module{backend.Get(), SystemCodePage()};
};

#ifdef _WIN32
using Backends = ::testing::Types<MemoryBackend, SystemBackend>;
#else
using Backends = ::testing::Types<MemoryBackend>;
#endif
TYPED_TEST_SUITE(RegistryContract, Backends);

TYPED_TEST(RegistryContract, TextWrittenWithoutNul_IsKeptWithTheNulThatFollowedIt) {
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place0", std::wstring(L"C:\\Tools"), kRegSz), kErrorSuccess);

    auto raw = this->ReadRaw(kScratch, "place0");
    ASSERT_EQ(raw.rc, kErrorSuccess);
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(std::string(raw.data.begin(), raw.data.end()), std::string("C:\\Tools\0", 9));

    RegistryValue value = this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place0");
    EXPECT_EQ(std::get<std::wstring>(value), std::wstring(L"C:\\Tools\0", 9));
    EXPECT_EQ(TextForm(value), L"C:\\Tools");
    EXPECT_EQ(this->module.LastValueKind, 1);
}

TYPED_TEST(RegistryContract, EmptyStrings_ReadAsEmptyText) {
    ASSERT_EQ(this->WriteRaw(kScratch, "Empty", kRegSz, "", 0), kErrorSuccess);
    ASSERT_EQ(this->WriteRaw(kScratch, "LoneNul", kRegSz, "", 1), kErrorSuccess);

    this->module.LastValueKind = 0;
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Empty")), L"");
    EXPECT_EQ(this->module.LastValueKind, 1);
    RegistryValue loneNul = this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"LoneNul");
    EXPECT_EQ(std::get<std::wstring>(loneNul), std::wstring(1, L'\0'));
    EXPECT_EQ(TextForm(loneNul), L"");
}

TYPED_TEST(RegistryContract, OtherTypes_ReadAsTextOfKindThree) {
    const char expand[] = "%SystemRoot%\\Temp";
    ASSERT_EQ(this->WriteRaw(kScratch, "Expand", kRegExpandSz, expand, sizeof expand), kErrorSuccess);
    const char binary[] = {'a', 'b', 'c'};
    ASSERT_EQ(this->WriteRaw(kScratch, "Binary", kRegBinary, binary, sizeof binary), kErrorSuccess);

    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Expand")), L"%SystemRoot%\\Temp");
    EXPECT_EQ(this->module.LastValueKind, 3);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Binary")), L"abc");
    EXPECT_EQ(this->module.LastValueKind, 3);
}

TYPED_TEST(RegistryContract, Dwords_ReadAsSignedIntegers_AndLongOnesAsNothing) {
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place1", std::wstring(L"05"), kRegDword), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"Negative", -7, kRegDword), kErrorSuccess);
    const std::uint64_t eight = 17;
    ASSERT_EQ(this->WriteRaw(kScratch, "Long", kRegDword, &eight, sizeof eight), kErrorSuccess);

    auto raw = this->ReadRaw(kScratch, "Place1");
    EXPECT_EQ(raw.type, kRegDword);
    EXPECT_EQ(raw.data, (std::vector<std::uint8_t>{5, 0, 0, 0}));
    EXPECT_EQ(std::get<std::int32_t>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place1")), 5);
    EXPECT_EQ(this->module.LastValueKind, 2);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Negative")), L"-7");

    this->module.LastValueKind = 0;
    EXPECT_TRUE(std::holds_alternative<std::monostate>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Long")));
    EXPECT_EQ(this->module.LastValueKind, 2);
    ASSERT_EQ(this->WriteRaw(kScratch, "Empty", kRegDword, nullptr, 0), kErrorSuccess);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Empty")));
}

TYPED_TEST(RegistryContract, AbsentValuesAndKeys_ReadAsNothing_AndKeepTheLastKind) {
    ASSERT_EQ(this->WriteRaw(kScratch, "Text", kRegSz, "x", 1), kErrorSuccess);
    this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Text");
    ASSERT_EQ(this->module.LastValueKind, 1);

    EXPECT_TRUE(std::holds_alternative<std::monostate>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Missing")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(this->module.GetKeyValue(kHkeyCurrentUser, kScratchSub, L"Text")));
    EXPECT_EQ(this->module.LastValueKind, 1);
}

TYPED_TEST(RegistryContract, Writes_NeverCreateKeys_AndSkipUnknownTypes) {
    EXPECT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place0", 17, kRegDword), kErrorFileNotFound);
    EXPECT_FALSE(this->KeyExists(kScratch));

    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratchSub), kErrorSuccess);  // with the key above it
    EXPECT_TRUE(this->KeyExists(kScratch));
    EXPECT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);      // existing: left alone
    EXPECT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"Binary", std::wstring(L"x"), kRegBinary), kErrorSuccess);
    EXPECT_EQ(this->ReadRaw(kScratch, "Binary").rc, kErrorFileNotFound);
}

TYPED_TEST(RegistryContract, Deletes_RefuseKeysWithSubKeys_AndMissValuesQuietly) {
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratchSub), kErrorSuccess);
    EXPECT_NE(this->module.DeleteKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    EXPECT_TRUE(this->KeyExists(kScratchSub));

    EXPECT_EQ(this->module.DeleteKeyValue(kHkeyCurrentUser, kScratch, L"Missing"), kErrorFileNotFound);
    EXPECT_EQ(this->module.DeleteKeyValue(kHkeyCurrentUser, L"Software\\LumbrakeTests\\Nowhere", L"x"), kErrorFileNotFound);
    EXPECT_EQ(this->module.DeleteKey(kHkeyCurrentUser, L"Software\\LumbrakeTests\\Nowhere"), kErrorFileNotFound);

    EXPECT_EQ(this->module.DeleteKey(kHkeyCurrentUser, kScratchSub), kErrorSuccess);
    EXPECT_EQ(this->module.DeleteKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    EXPECT_FALSE(this->KeyExists(kScratch));
}

TYPED_TEST(RegistryContract, ValueNames_MatchWithoutRegardToCase_AndKeepTheirFirstSpelling) {
    ASSERT_EQ(this->WriteRaw(kScratch, "Place2", kRegSz, "old", 3), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place2", std::wstring(L"new"), kRegSz), kErrorSuccess);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"PLACE2")), L"new");
    EXPECT_EQ(this->module.DeleteKeyValue(kHkeyCurrentUser, kScratch, L"pLaCe2"), kErrorSuccess);
    EXPECT_EQ(this->ReadRaw(kScratch, "Place2").rc, kErrorFileNotFound);
}

TYPED_TEST(RegistryContract, ChineseText_CrossesInCodePage936) {
    const std::wstring path = L"D:\\下载\\我的文档";
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place3", path, kRegSz), kErrorSuccess);

    auto raw = this->ReadRaw(kScratch, "place3");
    const std::string gbk = "D:\\\xcf\xc2\xd4\xd8\\\xce\xd2\xb5\xc4\xce\xc4\xb5\xb5";
    EXPECT_EQ(std::string(raw.data.begin(), raw.data.end()), gbk + '\0');
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place3")), path);
}

TYPED_TEST(RegistryContract, TextOutsideTheCodePage_IsNotWritten) {
    ASSERT_EQ(this->WriteRaw(kScratch, "place4", kRegSz, "kept", 4), kErrorSuccess);
    EXPECT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place4", std::wstring(L"C:\\ไทย"), kRegSz),
              kErrorNoUnicodeTranslation);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"place4")), L"kept");
}

TYPED_TEST(RegistryContract, QueryInfoKey_CountsSubKeysAndValues) {
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratchSub), kErrorSuccess);
    ASSERT_EQ(this->WriteRaw(kScratch, "a", kRegSz, "1", 1), kErrorSuccess);
    ASSERT_EQ(this->WriteRaw(kScratch, "b", kRegSz, "2", 1), kErrorSuccess);
    UniqueRegKey key(this->registry());
    ASSERT_EQ(this->registry().OpenKeyEx(kHkeyCurrentUser, this->Ansi(kScratch), kKeyAccess, key.put()), kErrorSuccess);
    std::uint32_t subKeys = 0, values = 0;
    ASSERT_EQ(this->registry().QueryInfoKey(key.get(), &subKeys, &values), kErrorSuccess);
    EXPECT_EQ(subKeys, 1u);
    EXPECT_EQ(values, 2u);
}

TYPED_TEST(RegistryContract, ShortBuffer_ReportsMoreDataAndTheSize) {
    ASSERT_EQ(this->WriteRaw(kScratch, "t", kRegSz, "abcdef", 7), kErrorSuccess);
    UniqueRegKey key(this->registry());
    ASSERT_EQ(this->registry().OpenKeyEx(kHkeyCurrentUser, this->Ansi(kScratch), kKeyAccess, key.put()), kErrorSuccess);
    char buffer[4] = {};
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(this->registry().QueryValueEx(key.get(), "t", nullptr, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 7u);
}

}  // namespace
