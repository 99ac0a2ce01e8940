#include "apply.h"
#include "module1.h"
#include "places.h"

#include <platform/ansi.h>
#include <platform/memory_registry.h>

#include <gtest/gtest.h>

namespace {

using namespace lumbrake;
using namespace platform;

const std::string kPolicy = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
const std::string kPlaces = kPolicy + "\\PlacesBar";

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::vector<std::uint8_t> DwordBytes(std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

class Applying : public ::testing::Test {
protected:
    ApplyOutcome Apply(std::int16_t mode, SlotTexts slots = {}) {
        ApplyOutcome outcome = ApplyMode(module, mode, slots);
        EXPECT_EQ(registry.OpenHandleCount(), 0u) << "every key is closed again";
        return outcome;
    }
    void Put(const std::string& keyPath, const std::string& name, std::int32_t value) {
        UniqueRegKey key(registry);
        ASSERT_EQ(registry.CreateKeyEx(kHkeyCurrentUser, keyPath.substr(5), kKeyAccess, key.put()), kErrorSuccess);
        if (!name.empty()) {
            ASSERT_EQ(registry.SetValueEx(key.get(), name, kRegDword, &value, sizeof value), kErrorSuccess);
        }
    }
    void ExpectSlot(int slot, std::uint32_t type, const std::vector<std::uint8_t>& data) {
        auto value = registry.Value(kPlaces, "place" + std::to_string(slot));
        ASSERT_TRUE(value.has_value()) << "slot " << slot;
        EXPECT_EQ(value->type, type) << "slot " << slot;
        EXPECT_EQ(value->data, data) << "slot " << slot;
    }

    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
};

TEST_F(Applying, SystemDefault_RemovesThePlacesBarPolicy_ButKeepsOtherPolicies) {
    Put(kPlaces, "place0", 17);
    Put(kPolicy, "NoPlacesBar", 1);
    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.KeyExists(kPolicy));

    Put(kPlaces, "place0", 17);
    Put(kPolicy, "NoPlacesBar", 1);
    Put(kPolicy, "NoBackButton", 1);
    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.KeyExists(kPlaces));
    EXPECT_EQ(registry.ValueNames(kPolicy), std::vector<std::string>{"NoBackButton"});

    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Confirmed) << "nothing left to remove is still success";
}

TEST_F(Applying, NoPlacesBar_RemovesThePlaces_AndStoresTheSwitch) {
    Put(kPlaces, "place3", 5);
    EXPECT_EQ(Apply(kModeNoPlacesBar), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.KeyExists(kPlaces));
    auto value = registry.Value(kPolicy, "NoPlacesBar");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, kRegDword);
    EXPECT_EQ(value->data, DwordBytes(1));
}

TEST_F(Applying, Custom_StoresEachSlotByItsKind) {
    Put(kPolicy, "NoPlacesBar", 1);
    Put(kPlaces, "Place2", 6);  // spelled as start-up reads it: the same value
    SlotTexts slots = {L"我的电脑|17", L"  D:\\My Files  ", L"", L"   ", L"a|b|05"};
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);

    EXPECT_FALSE(registry.Value(kPolicy, "NoPlacesBar").has_value());
    ExpectSlot(0, kRegDword, DwordBytes(17));
    ExpectSlot(1, kRegSz, Bytes(std::string("D:\\My Files\0", 12)));
    EXPECT_FALSE(registry.Value(kPlaces, "place2").has_value());
    EXPECT_FALSE(registry.Value(kPlaces, "place3").has_value());
    ExpectSlot(4, kRegDword, DwordBytes(5));
    EXPECT_EQ(registry.ValueNames(kPlaces), (std::vector<std::string>{"place0", "place1", "place4"}));
}

TEST_F(Applying, Custom_TypedTextsThatAreNotEntries_AreStoredAsPaths) {
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'长');
    SlotTexts slots = {L"x|ab", L"|5", L"a|bc", L"D:\\下载\\文档", longPath};
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);
    ExpectSlot(0, kRegSz, Bytes(std::string("x|ab\0", 5)));
    ExpectSlot(1, kRegSz, Bytes(std::string("|5\0", 3)));
    ExpectSlot(2, kRegSz, Bytes(std::string("a|bc\0", 5)));
    ExpectSlot(3, kRegSz, Bytes(*SystemCodePage().ToAnsi(L"D:\\下载\\文档") + '\0'));
    ExpectSlot(4, kRegSz, Bytes(*SystemCodePage().ToAnsi(longPath) + '\0'));
}

TEST_F(Applying, Custom_OnEmptyRegistry_CreatesBothKeys_EvenWithNoSlots) {
    EXPECT_EQ(Apply(kModeCustom, {L"", L" ", L"", L"", L""}), ApplyOutcome::Confirmed);
    EXPECT_TRUE(registry.KeyExists(kPlaces));
    EXPECT_TRUE(registry.ValueNames(kPlaces).empty());
}

TEST_F(Applying, ModesInTurn_LeaveExactlyTheLastOne) {
    SlotTexts slots = {L"桌面|00", L"C:\\Tools", L"", L"", L""};
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);
    EXPECT_EQ(Apply(kModeNoPlacesBar, slots), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.KeyExists(kPlaces));
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.Value(kPolicy, "NoPlacesBar").has_value());
    ExpectSlot(0, kRegDword, DwordBytes(0));
    ExpectSlot(1, kRegSz, Bytes(std::string("C:\\Tools\0", 9)));
    EXPECT_EQ(registry.ValueNames(kPlaces).size(), 2u);
}

TEST_F(Applying, UnknownMode_WritesNothing) {
    for (std::int16_t mode : {0, 4, -1}) EXPECT_EQ(Apply(mode), ApplyOutcome::UnknownMode);
    for (const std::string& call : registry.Calls()) ADD_FAILURE() << call;
}

TEST_F(Applying, Failures_AreReported_AndTheRemainingStepsStillRun) {
    // Access denied on the policy key: the switch cannot be written.
    registry.InjectFailure(RegOp::SetValue, kPolicy, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeNoPlacesBar), ApplyOutcome::Failed);
    registry.ClearFailures();

    // The places key cannot be created: the slot writes are still tried.
    registry.InjectFailure(RegOp::CreateKey, kPlaces, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeCustom, {L"C:\\A", L"", L"", L"", L""}), ApplyOutcome::Failed);
    EXPECT_FALSE(registry.KeyExists(kPlaces));
    registry.ClearFailures();

    // One slot refused: the others are written all the same.
    registry.InjectFailure(RegOp::SetValue, kPlaces, kErrorAccessDenied, "place1");
    EXPECT_EQ(Apply(kModeCustom, {L"C:\\A", L"C:\\B", L"C:\\C", L"", L""}), ApplyOutcome::Failed);
    ExpectSlot(0, kRegSz, Bytes(std::string("C:\\A\0", 5)));
    EXPECT_FALSE(registry.Value(kPlaces, "place1").has_value());
    ExpectSlot(2, kRegSz, Bytes(std::string("C:\\C\0", 5)));
    registry.ClearFailures();

    // A delete refused for a reason other than absence.
    registry.InjectFailure(RegOp::DeleteValue, kPlaces, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeCustom, {L"", L"", L"", L"", L""}), ApplyOutcome::Failed);
    registry.ClearFailures();
    registry.InjectFailure(RegOp::DeleteKey, kPlaces, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Failed);
}

TEST_F(Applying, TextOutsideTheCodePage_IsNotStoredWithQuestionMarks) {
    Put(kPlaces, "place0", 6);
    EXPECT_EQ(Apply(kModeCustom, {L"C:\\ไทย", L"C:\\ok", L"", L"", L""}), ApplyOutcome::Failed);
    ExpectSlot(0, kRegDword, DwordBytes(6));  // the old value stays
    ExpectSlot(1, kRegSz, Bytes(std::string("C:\\ok\0", 6)));
}

TEST(ApplyMessages, NameTheModeOrTheFailure) {
    EXPECT_EQ(MessageFor(ApplyOutcome::Confirmed, 1).text, L"你已经设置对话框的常用位置为 [ 系统默认 ] ！");
    EXPECT_EQ(MessageFor(ApplyOutcome::Confirmed, 2).text, L"你已经设置对话框的常用位置为 [ 不显示 ] ！");
    EXPECT_EQ(MessageFor(ApplyOutcome::Confirmed, 3).text, L"你已经设置对话框的常用位置为 [ 自定义 ] ！");
    EXPECT_EQ(MessageFor(ApplyOutcome::UnknownMode, 7).text, L"出现未知错误，请重新设置！");
    EXPECT_FALSE(MessageFor(ApplyOutcome::Confirmed, 3).isError);
    auto failed = MessageFor(ApplyOutcome::Failed, 3);
    EXPECT_EQ(failed.text, L"写入注册表失败，设置没有生效！");
    EXPECT_TRUE(failed.isError);
}

}  // namespace
