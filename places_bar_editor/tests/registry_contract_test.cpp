// One set of expectations for the registry, run against the in-memory
// registry everywhere and against the real one under Wine. Where the two
// disagree, the in-memory one is wrong.
#include <places_bar/module1.h>

#include <platform/ansi.h>
#include <platform/memory_registry.h>
#ifdef _WIN32
#include <e2e/driver.h>
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
    void SetReadOnly(const std::wstring& path, bool readOnly) { registry.SetReadOnly(L"HKCU\\" + path, readOnly); }
};

#ifdef _WIN32
struct SystemBackend {
    std::vector<std::wstring> readOnly;
    Registry& Get() { return SystemRegistry(); }
    void Clean() {
        for (const std::wstring& path : readOnly) e2e::SetKeyReadOnly(HKEY_CURRENT_USER, path, false);
        readOnly.clear();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\LumbrakeTests");
    }
    void SetReadOnly(const std::wstring& path, bool on) {
        if (on) readOnly.push_back(path);
        e2e::SetKeyReadOnly(HKEY_CURRENT_USER, path, on);
    }
};
#endif

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
std::vector<std::uint8_t> Utf16(std::wstring_view text) { return Bytes(ToUtf16(text)); }

template <typename Backend>
class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override { backend.Clean(); }
    void TearDown() override { backend.Clean(); }

    Registry& registry() { return backend.Get(); }
    std::string Ansi(const std::wstring& text) { return *SystemCodePage().ToAnsi(text); }

    // The type and bytes the registry keeps for a value (strings as UTF-16),
    // or what an A function hands back.
    struct Raw {
        long rc = -1;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    Raw ReadRaw(const std::wstring& keyPath, const std::wstring& name) {
        Raw raw;
        UniqueRegKey key(registry());
        raw.rc = registry().OpenKeyExW(kHkeyCurrentUser, keyPath, kKeyRead, key.put());
        if (raw.rc != kErrorSuccess) return raw;
        RegValue value;
        raw.rc = QueryValueW(registry(), key.get(), name, &value);
        raw.type = value.type;
        raw.data = value.data;
        return raw;
    }
    Raw ReadAnsi(const std::wstring& keyPath, const std::string& name) {
        Raw raw;
        UniqueRegKey key(registry());
        raw.rc = registry().OpenKeyEx(kHkeyCurrentUser, Ansi(keyPath), kKeyRead, key.put());
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
    long WriteWide(const std::wstring& keyPath, const std::wstring& name, std::uint32_t type, const void* data, std::uint32_t size) {
        UniqueRegKey key(registry());
        long rc = registry().CreateKeyExW(kHkeyCurrentUser, keyPath, kKeyAccess, key.put());
        if (rc != kErrorSuccess) return rc;
        return registry().SetValueExW(key.get(), name, type, data, size);
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

    auto raw = this->ReadRaw(kScratch, L"place0");
    ASSERT_EQ(raw.rc, kErrorSuccess);
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.data, Utf16(std::wstring(L"C:\\Tools\0", 9)));
    EXPECT_EQ(this->ReadAnsi(kScratch, "place0").data, Bytes(std::string("C:\\Tools\0", 9)));

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

TYPED_TEST(RegistryContract, OtherTypes_AreKeptAsStored_AndShownInAFormNoPathHas) {
    const char expand[] = "%SystemRoot%\\Temp";
    ASSERT_EQ(this->WriteRaw(kScratch, "Expand", kRegExpandSz, expand, sizeof expand), kErrorSuccess);
    const char binary[] = {'\x81', ' ', '\xFF', 'C', ':'};
    ASSERT_EQ(this->WriteRaw(kScratch, "Binary", kRegBinary, binary, sizeof binary), kErrorSuccess);
    const char multi[] = "C:\\One\0C:\\Two\0";
    ASSERT_EQ(this->WriteRaw(kScratch, "Multi", kRegMultiSz, multi, sizeof multi), kErrorSuccess);
    const std::uint64_t one = 1;
    ASSERT_EQ(this->WriteRaw(kScratch, "Qword", kRegQword, &one, sizeof one), kErrorSuccess);
    const std::string tab = ToUtf16(std::wstring(L"C:\\a\tb", 7));
    ASSERT_EQ(this->WriteWide(kScratch, L"Tab", kRegSz, tab.data(), static_cast<std::uint32_t>(tab.size())), kErrorSuccess);

    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Expand")), L"%SystemRoot%\\Temp");
    EXPECT_EQ(this->module.LastValueKind, 3);
    RegistryValue bytes = this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Binary");
    EXPECT_EQ(this->module.LastValueKind, 3);
    EXPECT_EQ(std::get<RegValue>(bytes), (RegValue{kRegBinary, Bytes(std::string_view(binary, sizeof binary))}));
    EXPECT_EQ(TextForm(bytes), L"<REG_BINARY: 81 20 FF 43 3A>");
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Multi")), L"<REG_MULTI_SZ: \"C:\\One\" \"C:\\Two\">");
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Qword")), L"<REG_QWORD: 1>");
    EXPECT_TRUE(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Tab")).starts_with(L"<REG_SZ: 43 00 3A 00"));
    EXPECT_EQ(this->module.LastValueKind, 1);
}

TYPED_TEST(RegistryContract, Dwords_ReadAsSignedIntegers_AndOddLengthsAsStored) {
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place1", std::wstring(L"05"), kRegDword), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"Negative", -7, kRegDword), kErrorSuccess);
    const std::uint64_t eight = 17;
    ASSERT_EQ(this->WriteRaw(kScratch, "Long", kRegDword, &eight, sizeof eight), kErrorSuccess);

    auto raw = this->ReadRaw(kScratch, L"Place1");
    EXPECT_EQ(raw.type, kRegDword);
    EXPECT_EQ(raw.data, (std::vector<std::uint8_t>{5, 0, 0, 0}));
    EXPECT_EQ(std::get<std::int32_t>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place1")), 5);
    EXPECT_EQ(this->module.LastValueKind, 2);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Negative")), L"-7");

    this->module.LastValueKind = 0;
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Long")), L"<REG_DWORD: 11 00 00 00 00 00 00 00>");
    EXPECT_EQ(this->module.LastValueKind, 2);
    ASSERT_EQ(this->WriteRaw(kScratch, "Empty", kRegDword, nullptr, 0), kErrorSuccess);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Empty")), L"");
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
    EXPECT_EQ(this->ReadRaw(kScratch, L"Binary").rc, kErrorFileNotFound);
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
    UniqueRegKey key(this->registry());
    ASSERT_EQ(this->registry().OpenKeyExW(kHkeyCurrentUser, kScratch, kKeyRead, key.put()), kErrorSuccess);
    std::wstring name;
    ASSERT_EQ(this->registry().EnumValueW(key.get(), 0, &name), kErrorSuccess);
    EXPECT_EQ(name, L"Place2");
    EXPECT_EQ(this->registry().EnumValueW(key.get(), 1, &name), kErrorNoMoreItems);
    key.reset();
    EXPECT_EQ(this->module.DeleteKeyValue(kHkeyCurrentUser, kScratch, L"pLaCe2"), kErrorSuccess);
    EXPECT_EQ(this->ReadRaw(kScratch, L"Place2").rc, kErrorFileNotFound);
}

TYPED_TEST(RegistryContract, ChineseText_CrossesInCodePage936) {
    const std::wstring path = L"D:\\下载\\我的文档";
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place3", path, kRegSz), kErrorSuccess);

    const std::string gbk = "D:\\\xcf\xc2\xd4\xd8\\\xce\xd2\xb5\xc4\xce\xc4\xb5\xb5";
    EXPECT_EQ(this->ReadAnsi(kScratch, "place3").data, Bytes(gbk + '\0'));
    EXPECT_EQ(this->ReadRaw(kScratch, L"place3").data, Utf16(path + L'\0'));
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place3")), path);
}

TYPED_TEST(RegistryContract, TextOutsideTheCodePage_IsNotWritten_ButIsReadWhole) {
    ASSERT_EQ(this->WriteRaw(kScratch, "place4", kRegSz, "kept", 4), kErrorSuccess);
    EXPECT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"place4", std::wstring(L"C:\\ไทย"), kRegSz),
              kErrorNoUnicodeTranslation);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"place4")), L"kept");

    const std::string korean = ToUtf16(std::wstring(L"C:\\한글", 6));
    ASSERT_EQ(this->WriteWide(kScratch, L"place5", kRegSz, korean.data(), static_cast<std::uint32_t>(korean.size())), kErrorSuccess);
    EXPECT_EQ(TextForm(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"place5")), L"C:\\한글");
    // What an A function would have handed back instead.
    EXPECT_EQ(this->ReadAnsi(kScratch, "place5").data, Bytes(std::string("C:\\??\0", 6)));
}

// The A functions convert as Windows does: a byte sequence the code page
// does not define, and a character it lacks, become '?'. A lead byte takes
// the byte after it as its trail, even the NUL that ends the text.
TYPED_TEST(RegistryContract, AnsiFunctions_ConvertThroughTheCodePageAsWindowsDoes) {
    struct Case {
        std::string ansi;
        std::wstring stored;
    };
    const Case cases[] = {
        {"\x80", std::wstring(L"\x20AC\0", 2)},
        {"\xFF", std::wstring(L"\xF8F5\0", 2)},
        {"\x81\x20", std::wstring(L"?\0", 2)},
        {"\xA1\x7F", std::wstring(L"?\0", 2)},
        {"x\x81", L"x?"},
        {"\xD6\xD0", std::wstring(L"中\0", 2)},
        {"\xA1\xA1", std::wstring(L"\x3000\0", 2)},
        {"\x81\x20\xFF\x43\x3A", std::wstring(L"?\xF8F5" L"C:\0", 5)},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(this->WriteRaw(kScratch, "v", kRegSz, c.ansi.c_str(), static_cast<std::uint32_t>(c.ansi.size())), kErrorSuccess);
        EXPECT_EQ(this->ReadRaw(kScratch, L"v").data, Utf16(c.stored)) << c.ansi;
    }
    struct Back {
        std::wstring stored;
        std::string ansi;
    };
    const Back backs[] = {{L"\xD55C", "?"}, {L"\x03AC", "?"}, {L"\xA0", "?"}, {L"\x20AC", "\x80"}, {L"\xE9", "\xA8\xA6"}, {L"\x3000", "\xA1\xA1"}};
    for (const Back& b : backs) {
        const std::string units = ToUtf16(b.stored + L'\0');
        ASSERT_EQ(this->WriteWide(kScratch, L"w", kRegSz, units.data(), static_cast<std::uint32_t>(units.size())), kErrorSuccess);
        EXPECT_EQ(this->ReadAnsi(kScratch, "w").data, Bytes(b.ansi + '\0')) << int(b.stored[0]);
    }
}

TYPED_TEST(RegistryContract, ReadOnlyKeys_OpenForReading_AndRefuseEveryChange) {
    ASSERT_EQ(this->module.CreateKey(kHkeyCurrentUser, kScratch), kErrorSuccess);
    ASSERT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"Place0", 17, kRegDword), kErrorSuccess);
    this->backend.SetReadOnly(kScratch, true);

    EXPECT_EQ(std::get<std::int32_t>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place0")), 17);
    EXPECT_EQ(this->module.ProbeKey(kHkeyCurrentUser, kScratch), Presence::Present);
    EXPECT_TRUE(this->KeyExists(kScratch)) << "RegOpenKeyA asks for no more than it may have";
    UniqueRegKey key(this->registry());
    EXPECT_EQ(this->registry().OpenKeyEx(kHkeyCurrentUser, this->Ansi(kScratch), kKeyAccess, key.put()), kErrorAccessDenied);
    EXPECT_EQ(this->registry().CreateKeyEx(kHkeyCurrentUser, this->Ansi(kScratch), kKeyAccess, key.put()), kErrorAccessDenied);
    ASSERT_EQ(this->registry().OpenKey(kHkeyCurrentUser, this->Ansi(kScratch), key.put()), kErrorSuccess);
    const std::uint32_t one = 1;
    EXPECT_EQ(this->registry().SetValueEx(key.get(), "Place0", kRegDword, &one, 4), kErrorAccessDenied);
    key.reset();

    EXPECT_EQ(this->module.SetKeyValue(kHkeyCurrentUser, kScratch, L"Place0", 5, kRegDword), kErrorAccessDenied);
    EXPECT_EQ(this->module.DeleteKeyValue(kHkeyCurrentUser, kScratch, L"Place0"), kErrorAccessDenied);
    // Making a key under it, or deleting it, is refused by Windows but not by
    // Wine, which does not look at the security for either; the in-memory
    // registry refuses as Windows does, and nothing here relies on either.
    EXPECT_EQ(std::get<std::int32_t>(this->module.GetKeyValue(kHkeyCurrentUser, kScratch, L"Place0")), 17);
}

TYPED_TEST(RegistryContract, WideNames_AreKeptWhole_AndEnumerated) {
    const std::uint32_t one = 1;
    ASSERT_EQ(this->WriteWide(kScratch + L"\\키", L"값", kRegDword, &one, 4), kErrorSuccess);
    UniqueRegKey key(this->registry());
    ASSERT_EQ(this->registry().OpenKeyExW(kHkeyCurrentUser, kScratch, kKeyRead, key.put()), kErrorSuccess);
    std::wstring name;
    ASSERT_EQ(this->registry().EnumKeyExW(key.get(), 0, &name), kErrorSuccess);
    EXPECT_EQ(name, L"키");
    EXPECT_EQ(this->registry().EnumKeyExW(key.get(), 1, &name), kErrorNoMoreItems);
    EXPECT_EQ(this->ReadRaw(kScratch + L"\\키", L"값").data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
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
    size = sizeof buffer;
    EXPECT_EQ(this->registry().QueryValueExW(key.get(), L"t", nullptr, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 14u);
}

}  // namespace
