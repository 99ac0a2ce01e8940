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

class StartupReading : public ::testing::Test, protected RegistrySetup {
protected:
    StartupReading() : RegistrySetup(registry) {}

    std::int16_t Load() {
        auto callsBefore = registry.Calls().size();
        reading = ReadPlaces(module);
        for (auto i = callsBefore; i < registry.Calls().size(); ++i) {
            const std::string& call = registry.Calls()[i];
            EXPECT_TRUE(call.rfind("Open", 0) == 0 || call.rfind("Query", 0) == 0 || call.rfind("Close", 0) == 0)
                << "start-up must only read: " << call;
        }
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
        return reading.mode;
    }
    // What slot i shows.
    std::wstring Text(int slot) const { return Slot(slot).shown.text; }
    const SlotReading& Slot(int slot) const {
        static const SlotReading kNotRead;
        const auto& read = reading.slots[static_cast<std::size_t>(slot)];
        return read ? *read : kNotRead;
    }

    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
    PlacesReading reading;
};

TEST_F(StartupReading, AnyNoPlacesBar_HidesTheBar_WithoutLookingAtThePlaces) {
    CreateKey(kPlacesPath);
    StoreDword(kPlacesPath, L"Place0", 17);
    for (std::int32_t value : {0, 1, -1}) {
        StoreDword(kPolicyPath, L"NoPlacesBar", value);
        EXPECT_EQ(Load(), kModeNoPlacesBar);
        EXPECT_FALSE(reading.slots[0].has_value()) << "the places are not read";
    }
    StoreString(kPolicyPath, L"NoPlacesBar", L"yes");
    EXPECT_EQ(Load(), kModeNoPlacesBar);
    const char binary[] = {1, 2};
    Store(kPolicyPath, L"NoPlacesBar", kRegBinary, binary, sizeof binary);
    EXPECT_EQ(Load(), kModeNoPlacesBar);
}

TEST_F(StartupReading, EmptyPlacesKey_IsCustom_WithSlotsAsTheWindowMadeThem) {
    CreateKey(kPlacesPath);
    EXPECT_EQ(Load(), kModeCustom);
    for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(Slot(slot).shown, ShownPlace{});
}

// What is there but cannot be read is named, and shown as nothing rather
// than as some value; the rest shows as it is.
TEST_F(StartupReading, UnreadableValues_AreNamed_NotTakenForAbsent) {
    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    registry.InjectFailure(RegOp::QueryValue, kPolicyPath, kErrorAccessDenied);
    CreateKey(kPlacesPath);
    StoreDword(kPlacesPath, L"Place0", 17);
    StoreDword(kPlacesPath, L"Place1", 5);
    registry.InjectFailure(RegOp::QueryValue, kPlacesPath, kErrorAccessDenied, L"Place0");
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(Slot(0).stored.presence, Presence::Unreadable);
    EXPECT_EQ(Text(0), L"");
    EXPECT_EQ(Text(1), L"我的文档|05");
    const std::wstring policy(kPolicyKey), places(kPlacesKey);
    EXPECT_EQ(reading.failures, (std::vector<ReadFailure>{{policy, L"NoPlacesBar", kErrorAccessDenied}, {places, L"Place0", kErrorAccessDenied}}));

    registry.InjectFailure(RegOp::OpenKey, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(Load(), kModeSystemDefault);
    EXPECT_EQ(Slot(4).stored.presence, Presence::Unreadable);
    EXPECT_EQ(reading.failures.back(), (ReadFailure{places, L"", kErrorAccessDenied}));
}

}  // namespace
