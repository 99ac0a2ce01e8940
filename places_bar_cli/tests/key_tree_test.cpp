#include "key_tree.h"

#include <platform/ansi.h>
#include <platform/memory_registry.h>
#ifdef _WIN32
#include <platform/win_registry.h>
#include <windows.h>
#endif

#include <gtest/gtest.h>

namespace {

using namespace lumbrake::cli;
using namespace platform;

const std::wstring kKey = L"Software\\LumbrakeTests\\KeyTree";

RegValue Bytes(std::uint32_t type, std::vector<std::uint8_t> data) { return {type, std::move(data)}; }

// The steps carried out by the engine's executor; whether all landed.
bool AllLanded(Registry& registry, const std::vector<lumbrake::Step>& steps) {
    lumbrake::Module1 module(registry, SystemCodePage());
    return lumbrake::Execute(module, steps).Confirmed();
}

struct MemoryBackend {
    MemoryRegistry registry;
    Registry& Get() { return registry; }
    void Clean() {}
};

#ifdef _WIN32
// The same expectations against the real registry under Wine: where the
// two disagree, the in-memory one is wrong.
struct SystemBackend {
    Registry& Get() { return SystemRegistry(); }
    void Clean() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\LumbrakeTests"); }
};
using Backends = ::testing::Types<MemoryBackend, SystemBackend>;
#else
using Backends = ::testing::Types<MemoryBackend>;
#endif

template <typename Backend>
class KeyTreeOn : public ::testing::Test {
protected:
    void SetUp() override { backend.Clean(); }
    void TearDown() override { backend.Clean(); }
    Registry& registry() { return backend.Get(); }
    KeyState Read() {
        ReadOutcome read = ReadKeyTree(registry(), kHkeyCurrentUser, kKey);
        EXPECT_EQ(read.rc, kErrorSuccess) << "while reading " << ::testing::PrintToString(read.failedPath);
        return read.state;
    }
    void Make(const KeyState& state) { EXPECT_TRUE(AllLanded(registry(), Diff(kKey, Read(), state))); }
    RegValue Stored(RegKey key, const std::wstring& name) {
        RegValue value;
        EXPECT_EQ(QueryValueW(registry(), key, name, &value), kErrorSuccess);
        return value;
    }

    Backend backend;
};
TYPED_TEST_SUITE(KeyTreeOn, Backends);

TYPED_TEST(KeyTreeOn, StringsWithoutTheirNul_AreStoredExactly) {
    // The control: handed over plainly, a string whose next unit is NUL
    // gains that NUL, as Windows does it.
    UniqueRegKey key(this->registry());
    ASSERT_EQ(this->registry().CreateKeyExW(kHkeyCurrentUser, kKey, kKeyAccess, key.put()), kErrorSuccess);
    const std::uint8_t plain[] = {0x41, 0x00, 0x00, 0x00};
    ASSERT_EQ(this->registry().SetValueExW(key.get(), L"plain", kRegSz, plain, 2), kErrorSuccess);
    ASSERT_EQ(this->Stored(key.get(), L"plain").data.size(), 4u);

    const RegValue values[] = {
        Bytes(kRegSz, {0x41, 0x00}), Bytes(kRegSz, {0x41, 0x00, 0x42}), Bytes(kRegSz, {0x41}), Bytes(kRegSz, {}),
        Bytes(kRegExpandSz, {0x25, 0x00, 0x41, 0x00}), Bytes(kRegMultiSz, {0x61, 0x00, 0x00, 0x00, 0x62, 0x00}),
    };
    for (const RegValue& value : values) {
        ASSERT_EQ(SetValueExactly(this->registry(), key.get(), L"v", value), kErrorSuccess);
        EXPECT_EQ(this->Stored(key.get(), L"v"), value) << ::testing::PrintToString(value.data);
    }
}

TYPED_TEST(KeyTreeOn, ChangesMakeOneTreeIntoAnother_WithNoChangeForWhatIsAlike) {
    KeyNode before{L"KeyTree", {{L"same", Bytes(kRegDword, {1, 0, 0, 0})}, {L"changed", Bytes(kRegBinary, {1})}, {L"gone", Bytes(kRegBinary, {2})},
                                {L"Spelling", Bytes(kRegBinary, {3})}}, {}};
    before.keys.push_back({L"Old", {{L"x", Bytes(kRegBinary, {4})}}, {{L"Deep", {}, {{L"Deeper", {}, {}}}}}});
    before.keys.push_back({L"Kept", {{L"y", Bytes(kRegBinary, {5})}}, {}});
    this->Make(before);
    ASSERT_TRUE(Diff(kKey, this->Read(), before).empty()) << "read back as made";

    KeyNode after{L"KeyTree", {{L"same", Bytes(kRegDword, {1, 0, 0, 0})}, {L"changed", Bytes(kRegSz, {0x41, 0})}, {L"spelling", Bytes(kRegBinary, {3})},
                               {L"new", Bytes(kRegQword, {1, 2, 3, 4, 5, 6, 7, 8})}}, {}};
    after.keys.push_back({L"Kept", {{L"y", Bytes(kRegBinary, {5})}}, {{L"New", {{L"z", Bytes(kRegBinary, {6})}}, {}}}});
    const std::vector<lumbrake::Step> changes = Diff(kKey, this->Read(), after);
    std::vector<std::pair<lumbrake::Step::Kind, std::wstring>> listed;
    for (const auto& change : changes) listed.emplace_back(change.kind, change.keyPath.substr(kKey.size()) + L":" + change.valueName);
    using K = lumbrake::Step::Kind;
    EXPECT_EQ(listed, (std::vector<std::pair<K, std::wstring>>{
                          {K::DeleteValue, L":gone"}, {K::DeleteValue, L":Spelling"}, {K::SetValue, L":changed"}, {K::SetValue, L":spelling"},
                          {K::SetValue, L":new"}, {K::DeleteKey, L"\\Old:"}, {K::CreateKey, L"\\Kept\\New:"}, {K::SetValue, L"\\Kept\\New:z"}}))
        << "one deletion takes a key with its sub keys; a name spelled otherwise is made anew";

    EXPECT_TRUE(AllLanded(this->registry(), changes));
    const KeyState read = this->Read();
    EXPECT_TRUE(Diff(kKey, read, after).empty());
    EXPECT_EQ(read->FindValue(L"spelling")->name, L"spelling");

    this->Make(std::nullopt);
    EXPECT_FALSE(this->Read().has_value()) << "the whole key, whatever is under it";
    UniqueRegKey parent(this->registry());
    EXPECT_EQ(this->registry().OpenKeyExW(kHkeyCurrentUser, L"Software\\LumbrakeTests", kKeyRead, parent.put()), kErrorSuccess);
}

class KeyTree : public ::testing::Test {
protected:
    void Make(const KeyState& state) {
        const KeyState now = ReadKeyTree(registry, kHkeyCurrentUser, kKey).state;
        EXPECT_TRUE(AllLanded(registry, Diff(kKey, now, state)));
    }
    MemoryRegistry registry;
};

TEST_F(KeyTree, AFailedReadIsReported_NeverTakenForAnAbsentKey) {
    EXPECT_EQ(ReadKeyTree(registry, kHkeyCurrentUser, kKey).rc, kErrorSuccess) << "absent: nothing, and no failure";
    Make(KeyNode{L"KeyTree", {{L"v", Bytes(kRegBinary, {1})}}, {{L"Sub", {}, {}}}});
    registry.InjectFailure(RegOp::OpenKey, L"HKCU\\" + kKey + L"\\Sub", kErrorAccessDenied);
    const ReadOutcome read = ReadKeyTree(registry, kHkeyCurrentUser, kKey);
    EXPECT_EQ(read.rc, kErrorAccessDenied);
    EXPECT_EQ(read.failedPath, kKey + L"\\Sub");
    EXPECT_FALSE(read.state.has_value());
}

}  // namespace
