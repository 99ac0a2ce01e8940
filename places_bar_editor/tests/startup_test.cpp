#include <places_bar/module1.h>
#include <places_bar/places.h>
#include "registry_setup.h"
#include <places_bar/startup.h>

#include <platform/ansi.h>
#include <platform/memory_registry.h>
#include <platform/reg_value.h>

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
    // What slot i shows: its text, and the list entry selected, if any.
    std::wstring Text(int slot) const { return Slot(slot).shown.text; }
    std::optional<int> Entry(int slot) const { return Slot(slot).shown.entry; }
    const SlotReading& Slot(int slot) const {
        static const SlotReading kNotRead;
        const auto& read = reading.slots[static_cast<std::size_t>(slot)];
        return read ? *read : kNotRead;
    }

    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
    PlacesReading reading;
};

TEST_F(StartupReading, NoPolicy_IsTheSystemDefault) {
    EXPECT_EQ(Load(), kModeSystemDefault);
    EXPECT_EQ(Slot(0).stored.presence, Presence::Absent) << "known to hold nothing";
}

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

TEST_F(StartupReading, EmptyNoPlacesBarValues_DoNotCount) {
    Store(kPolicyPath, L"NoPlacesBar", kRegSz, "", 0);
    EXPECT_EQ(Load(), kModeSystemDefault);
    StoreString(kPolicyPath, L"NoPlacesBar", L"");  // a lone NUL, as the system's tools write ""
    EXPECT_EQ(Load(), kModeSystemDefault);
    Store(kPolicyPath, L"NoPlacesBar", kRegBinary, "", 0);
    EXPECT_EQ(Load(), kModeSystemDefault);
    CreateKey(kPlacesPath);
    EXPECT_EQ(Load(), kModeCustom);
}

TEST_F(StartupReading, EmptyPlacesKey_IsCustom_WithSlotsAsTheWindowMadeThem) {
    CreateKey(kPlacesPath);
    EXPECT_EQ(Load(), kModeCustom);
    for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(Slot(slot).shown, ShownPlace{});
}

TEST_F(StartupReading, FolderIds_SelectTheirEntry_OrShowTheirNumber) {
    StoreDword(kPlacesPath, L"Place0", 0);
    StoreDword(kPlacesPath, L"Place1", 38);
    StoreDword(kPlacesPath, L"Place2", 17);
    StoreDword(kPlacesPath, L"Place3", -5);
    StoreDword(kPlacesPath, L"Place4", 5);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(Slot(0).shown, (ShownPlace{L"桌面|00", 0}));
    EXPECT_EQ(Slot(1).shown, (ShownPlace{L"38", std::nullopt}));
    EXPECT_EQ(Slot(2).shown, (ShownPlace{L"我的电脑|17", 6}));
    EXPECT_EQ(Text(3), L"-5");
    EXPECT_EQ(Text(4), L"我的文档|05");
    EXPECT_EQ(Slot(1).stored.value, DwordValue(38)) << "the value each text came from";
}

TEST_F(StartupReading, FolderPaths_ShowWhole_WithoutTheirNul) {
    StoreString(kPlacesPath, L"place0", L"D:\\下载");
    StoreString(kPlacesPath, L"PLACE1", L"17");
    StoreString(kPlacesPath, L"Place2", L"%USERPROFILE%\\Desktop", kRegExpandSz);
    StoreString(kPlacesPath, L"Place3", L"");
    StoreString(kPlacesPath, L"Place4", L"C:\\Ελλάδα\\日本語ファイル\\한글");
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(Text(0), L"D:\\下载");
    EXPECT_EQ(Slot(1).shown, (ShownPlace{L"17", std::nullopt}));  // a string, not a folder id
    EXPECT_EQ(Text(2), L"%USERPROFILE%\\Desktop");
    EXPECT_EQ(Text(3), L"");
    EXPECT_EQ(Slot(3).stored.presence, Presence::Present);
    EXPECT_EQ(Text(4), L"C:\\Ελλάδα\\日本語ファイル\\한글") << "no character is lost to the code page";
}

TEST_F(StartupReading, SystemDrive_StandsForDriveC_AndKeepsTheRestOfThePath) {
    StoreString(kPlacesPath, L"Place0", L"%SystemDrive%\\");
    StoreString(kPlacesPath, L"Place1", L"%SystemDrive%\\Tools\\Bin");
    StoreString(kPlacesPath, L"Place2", L"%systemdrive%\\Tools");
    StoreString(kPlacesPath, L"Place3", L"%SystemDrive%", kRegExpandSz);
    Load();
    EXPECT_EQ(Text(0), L"c:\\");
    EXPECT_EQ(Text(1), L"c:\\Tools\\Bin");
    EXPECT_EQ(Text(2), L"%systemdrive%\\Tools");
    EXPECT_EQ(Text(3), L"%SystemDrive%");
}

TEST_F(StartupReading, ValuesOfOtherKinds_ShowInAFormNoPathHas) {
    const std::uint64_t eight = 17;
    Store(kPlacesPath, L"Place0", kRegDword, &eight, sizeof eight);
    const std::string multi = ToUtf16(std::wstring(L"a\0b\0\0", 5));
    Store(kPlacesPath, L"Place1", kRegMultiSz, multi.data(), static_cast<std::uint32_t>(multi.size()));
    const unsigned char binary[] = {0x81, 0x20, 0xFF, 0x43, 0x3A};
    Store(kPlacesPath, L"Place2", kRegBinary, binary, sizeof binary);
    const std::uint16_t two = 2;
    Store(kPlacesPath, L"Place3", kRegDword, &two, sizeof two);
    Store(kPlacesPath, L"Place4", kRegQword, &eight, sizeof eight);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(Text(0), L"<REG_DWORD: 11 00 00 00 00 00 00 00>");
    EXPECT_EQ(Text(1), L"<REG_MULTI_SZ: \"a\" \"b\">");
    EXPECT_EQ(Text(2), L"<REG_BINARY: 81 20 FF 43 3A>");
    EXPECT_EQ(Slot(3).shown, (ShownPlace{L"<REG_DWORD: 02 00>", std::nullopt})) << "a short DWORD is no folder id, the desktop's 0 least of all";
    EXPECT_EQ(Text(4), L"<REG_QWORD: 17>");
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
