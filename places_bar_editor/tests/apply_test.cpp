#include <places_bar/apply.h>
#include <places_bar/module1.h>
#include <places_bar/places.h>
#include "registry_setup.h"
#include <places_bar/startup.h>

#include <platform/ansi.h>
#include <platform/memory_registry.h>

#include <gtest/gtest.h>


namespace {

using namespace lumbrake;
using namespace lumbrake::testing;
using namespace platform;

class Applying : public ::testing::Test, protected RegistrySetup {
protected:
    Applying() : RegistrySetup(registry) {}

    // Starts as the window does: what it reads becomes the base of its applies.
    PlacesReading Start() {
        PlacesReading reading = ReadPlaces(module);
        base = BaseOf(reading);
        started = true;
        return reading;
    }
    // The apply button after the user chose the mode, in a window started
    // before the first one; or with the mode start-up showed.
    ApplyOutcome Apply(std::int16_t mode, SlotTexts slots = {}, ModeChoice choice = ModeChoice::Chosen) {
        if (!started) Start();
        ApplyOutcome outcome = ApplyMode(module, mode, choice, slots, base);
        EXPECT_EQ(registry.OpenHandleCount(), 0u) << "every key is closed again";
        return outcome;
    }
    // Starts, then applies what the window shows, unchanged.
    ApplyOutcome StartAndApply() {
        const PlacesReading reading = Start();
        return Apply(reading.mode, ShownTexts(reading), ModeChoice::AsShown);
    }
    void ExpectSlot(int slot, std::uint32_t type, const std::vector<std::uint8_t>& data) {
        auto value = registry.Value(kPlacesPath, L"place" + std::to_wstring(slot));
        ASSERT_TRUE(value.has_value()) << "slot " << slot;
        EXPECT_EQ(value->type, type) << "slot " << slot;
        EXPECT_EQ(value->data, data) << "slot " << slot;
    }
    void ExpectText(int slot, const std::wstring& text) { ExpectSlot(slot, kRegSz, Utf16Bytes(text + L'\0')); }

    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
    PlacesBase base;
    bool started = false;
};

// Hidden means hidden as the dialogs read the switch: only a DWORD that is
// not 0. Such a switch is left as it is, with the places kept under it; any
// other (which start-up takes for hidden all the same) becomes the DWORD 1.
TEST_F(Applying, NoPlacesBar_LeavesASwitchTheDialogsObey) {
    const struct {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        bool obeyed;
    } kSwitches[] = {
        {kRegDword, DwordBytes(1), true},  {kRegDword, DwordBytes(-1), true},     {kRegDword, DwordBytes(0), false},
        {kRegDword, {2, 0}, false},        {kRegQword, {0, 0, 0, 0, 0, 0, 0, 0}, false},
        {kRegSz, Utf16Bytes(L"1"), false}, {kRegBinary, {1, 0, 0, 0}, false},
    };
    for (const auto& stored : kSwitches) {
        std::vector<std::uint8_t> padded = stored.data;  // no NUL for the registry to find after the data
        padded.insert(padded.end(), {1, 1});
        Store(kPolicyPath, L"NoPlacesBar", stored.type, padded.data(), static_cast<std::uint32_t>(stored.data.size()));
        StoreString(kPlacesPath, L"Place0", L"C:\\Kept");
        const auto callsBefore = registry.Calls().size();
        EXPECT_EQ(Apply(kModeNoPlacesBar), ApplyOutcome::Confirmed);
        const auto value = registry.Value(kPolicyPath, L"NoPlacesBar");
        EXPECT_EQ(value->type, kRegDword);
        EXPECT_EQ(value->data, stored.obeyed ? stored.data : DwordBytes(1));
        EXPECT_EQ(registry.KeyExists(kPlacesPath), stored.obeyed);
        for (auto i = callsBefore; stored.obeyed && i < registry.Calls().size(); ++i) {
            const std::string& call = registry.Calls()[i];
            EXPECT_TRUE(call.rfind("Open", 0) == 0 || call.rfind("Query", 0) == 0 || call.rfind("Close", 0) == 0) << call;
        }
    }
}

TEST_F(Applying, Custom_StoresEachChangedSlotByItsKind) {
    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    StoreDword(kPlacesPath, L"Place2", 6);  // spelled as start-up reads it: the same value
    SlotTexts slots = {L"我的电脑|17", L"  D:\\My Files  ", L"", L" \t\x3000\xA0", L"a|b|05"};  // blanks of any kind are empty
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);

    EXPECT_FALSE(registry.Value(kPolicyPath, L"NoPlacesBar").has_value());
    ExpectSlot(0, kRegDword, DwordBytes(17));
    ExpectText(1, L"D:\\My Files");
    EXPECT_FALSE(registry.Value(kPlacesPath, L"place2").has_value());
    EXPECT_FALSE(registry.Value(kPlacesPath, L"place3").has_value());
    ExpectSlot(4, kRegDword, DwordBytes(5));
    EXPECT_EQ(registry.ValueNames(kPlacesPath), (std::vector<std::wstring>{L"place0", L"place1", L"place4"}));
}

TEST_F(Applying, ReadOnlyKeys_AnUnchangedApplyIsTrue_AChangeIsRefused) {
    StoreDword(kPlacesPath, L"Place0", 17);
    StoreString(kPlacesPath, L"Place1", L"C:\\Tools");
    registry.SetReadOnly(kPlacesPath);
    EXPECT_EQ(StartAndApply(), ApplyOutcome::Confirmed);
    EXPECT_EQ(Apply(kModeCustom, {L"我的电脑|17", L"C:\\Other", L"", L"", L""}), ApplyOutcome::Failed);
    ExpectText(1, L"C:\\Tools");

    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    registry.SetReadOnly(kPolicyPath);
    EXPECT_EQ(StartAndApply(), ApplyOutcome::Confirmed);
    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Failed);
    EXPECT_EQ(registry.Value(kPolicyPath, L"NoPlacesBar")->data, DwordBytes(1));
}

TEST_F(Applying, UnknownMode_WritesNothing) {
    Start();
    const auto callsBefore = registry.Calls().size();
    for (std::int16_t mode : {0, 4, -1}) EXPECT_EQ(Apply(mode), ApplyOutcome::UnknownMode);
    EXPECT_EQ(registry.Calls().size(), callsBefore);
}

TEST_F(Applying, Failures_AreReported_AndTheRemainingStepsStillRun) {
    // Access denied on the policy key: the switch cannot be written.
    registry.InjectFailure(RegOp::SetValue, kPolicyPath, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeNoPlacesBar), ApplyOutcome::Failed);
    registry.ClearFailures();

    // The places key cannot be created: the slot writes are still tried.
    registry.InjectFailure(RegOp::CreateKey, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeCustom, {L"C:\\A", L"", L"", L"", L""}), ApplyOutcome::Failed);
    EXPECT_FALSE(registry.KeyExists(kPlacesPath));
    registry.ClearFailures();

    // One slot refused: the others are written all the same.
    registry.InjectFailure(RegOp::SetValue, kPlacesPath, kErrorAccessDenied, L"place1");
    EXPECT_EQ(Apply(kModeCustom, {L"C:\\A", L"C:\\B", L"C:\\C", L"", L""}), ApplyOutcome::Failed);
    ExpectText(0, L"C:\\A");
    EXPECT_FALSE(registry.Value(kPlacesPath, L"place1").has_value());
    ExpectText(2, L"C:\\C");
    registry.ClearFailures();

    // A delete refused for a reason other than absence.
    registry.InjectFailure(RegOp::DeleteValue, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeCustom, {L"", L"", L"", L"", L""}), ApplyOutcome::Failed);
    registry.ClearFailures();
    registry.InjectFailure(RegOp::DeleteKey, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Failed);
}

// Hiding writes the switch first: a switch that does not land leaves the
// places as they were; once it has, the removal of the places key fails
// nothing, the dialogs hiding the bar either way.
TEST_F(Applying, NoPlacesBar_WritesTheSwitchBeforeRemovingThePlaces) {
    StoreDword(kPlacesPath, L"Place0", 17);
    registry.InjectFailure(RegOp::SetValue, kPolicyPath, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeNoPlacesBar), ApplyOutcome::Failed);
    ExpectSlot(0, kRegDword, DwordBytes(17));
    registry.ClearFailures();
    registry.InjectFailure(RegOp::DeleteKey, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(Apply(kModeNoPlacesBar), ApplyOutcome::Confirmed);
    EXPECT_EQ(registry.Value(kPolicyPath, L"NoPlacesBar")->data, DwordBytes(1));
}

// What start-up could not read is left as it is by an apply of the mode it
// showed, which confirms nothing; a mode the user chooses runs its steps.
TEST_F(Applying, WhatStartUpCouldNotRead_IsLeftAsItIs_UnlessTheUserChoosesAMode) {
    StoreDword(kPlacesPath, L"Place0", 17);
    registry.InjectFailure(RegOp::OpenKey, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(StartAndApply(), ApplyOutcome::Failed) << "the system default, shown for a places key it could not open";
    registry.ClearFailures();
    EXPECT_EQ(Apply(kModeSystemDefault, {}, ModeChoice::AsShown), ApplyOutcome::Failed) << "nor once it can be read";
    ExpectSlot(0, kRegDword, DwordBytes(17));

    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    registry.InjectFailure(RegOp::QueryValue, kPolicyPath, kErrorAccessDenied, L"NoPlacesBar");
    const SlotTexts shown = ShownTexts(Start());
    EXPECT_EQ(Apply(kModeCustom, shown, ModeChoice::AsShown), ApplyOutcome::Failed) << "custom places, shown over a switch it could not read";
    EXPECT_EQ(registry.Value(kPolicyPath, L"NoPlacesBar")->data, DwordBytes(1));
    EXPECT_EQ(Apply(kModeCustom, shown), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.Value(kPolicyPath, L"NoPlacesBar").has_value());
    ExpectSlot(0, kRegDword, DwordBytes(17));
}

// The policy key goes once nothing is left in it, after an unreadable
// switch as after a readable one; a value written between the plan and
// that step keeps it.
TEST_F(Applying, SystemDefault_DeletesThePolicyKeyOnlyWhenNothingIsLeftInIt) {
    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    registry.InjectFailure(RegOp::QueryValue, kPolicyPath, kErrorAccessDenied, L"NoPlacesBar");
    EXPECT_EQ(Apply(kModeSystemDefault), ApplyOutcome::Confirmed);
    EXPECT_FALSE(registry.KeyExists(kPolicyPath));
    registry.ClearFailures();

    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    const Plan plan = PlanApply(base, kModeSystemDefault, ModeChoice::Chosen, {}, ReadNow(module));
    ASSERT_EQ(plan.steps.back().kind, Step::Kind::DeleteEmptyKey);
    StoreDword(kPolicyPath, L"NoBackButton", 1);
    EXPECT_TRUE(Execute(module, plan.steps).Confirmed());
    EXPECT_EQ(registry.ValueNames(kPolicyPath), std::vector<std::wstring>{L"NoBackButton"});
}

// Shown again after a hide, a slot gets back what the window wrote there,
// though reading it back failed, and what another program had stored in
// it when the hide removed it.
TEST_F(Applying, HiddenAndShownAgain_PutsBackWhatWasWrittenAndWhatWasRemoved) {
    StoreString(kPlacesPath, L"Place0", L"C:\\Old");
    SlotTexts slots = ShownTexts(Start());
    slots[1] = L"C:\\Typed";
    registry.InjectFailure(RegOp::QueryValue, kPlacesPath, kErrorAccessDenied, L"Place1");
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);
    StoreString(kPlacesPath, L"Place0", L"C:\\Theirs");
    EXPECT_EQ(Apply(kModeNoPlacesBar, slots), ApplyOutcome::Confirmed);
    registry.ClearFailures();
    EXPECT_EQ(Apply(kModeCustom, slots), ApplyOutcome::Confirmed);
    ExpectText(0, L"C:\\Theirs");
    ExpectText(1, L"C:\\Typed");
}

// Where the code page holds nothing (as every conversion fails on a system
// whose converter refuses our flags), nothing is written anywhere: a name
// that cannot cross is never taken for the empty name of the root or the
// default value.
class RefusingCodePage final : public AnsiCodePage {
public:
    std::optional<std::string> ToAnsi(std::wstring_view) const override { return std::nullopt; }
    std::wstring FromAnsi(std::string_view bytes) const override { return SystemCodePage().FromAnsi(bytes); }
    std::string ToAnsiLossy(std::wstring_view text) const override { return SystemCodePage().ToAnsiLossy(text); }
};

TEST_F(Applying, ACodePageThatRefusesEverything_WritesNothingAnywhere) {
    const RefusingCodePage refusing;
    Module1 refused(registry, refusing);
    for (std::int16_t mode : {kModeNoPlacesBar, kModeCustom, kModeSystemDefault}) {
        const PlacesReading reading = ReadPlaces(refused);
        EXPECT_EQ(reading.mode, kModeSystemDefault);
        PlacesBase last = BaseOf(reading);
        const ApplyOutcome outcome = ApplyMode(refused, mode, ModeChoice::Chosen, {L"C:\\A", L"桌面|00", L"", L"", L""}, last);
        EXPECT_EQ(outcome, mode == kModeSystemDefault ? ApplyOutcome::Confirmed : ApplyOutcome::Failed) << mode;
    }
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
    EXPECT_TRUE(registry.ValueNames(L"HKCU").empty());
    for (const std::string& call : registry.Calls()) {
        EXPECT_TRUE(call.rfind("Open", 0) == 0 || call.rfind("Query", 0) == 0 || call.rfind("Close", 0) == 0) << call;
    }
    UniqueRegKey root(registry);
    ASSERT_EQ(registry.OpenKeyExW(kHkeyCurrentUser, L"", kKeyRead, root.put()), kErrorSuccess);
    std::wstring name;
    EXPECT_EQ(registry.EnumKeyExW(root.get(), 0, &name), kErrorNoMoreItems) << "no key made under HKEY_CURRENT_USER";
}

}  // namespace
