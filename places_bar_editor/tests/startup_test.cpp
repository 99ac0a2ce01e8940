#include "fake_view.h"
#include "module1.h"
#include "places.h"
#include "registry_setup.h"
#include "startup.h"

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
        view = {};
        auto callsBefore = registry.Calls().size();
        std::int16_t mode = LoadPlacesConfiguration(module, view);
        for (auto i = callsBefore; i < registry.Calls().size(); ++i) {
            const std::string& call = registry.Calls()[i];
            EXPECT_TRUE(call.rfind("Open", 0) == 0 || call.rfind("Query", 0) == 0 || call.rfind("Close", 0) == 0)
                << "start-up must only read: " << call;
        }
        EXPECT_EQ(registry.OpenHandleCount(), 0u);
        return mode;
    }

    MemoryRegistry registry;
    Module1 module{registry, SystemCodePage()};
    FakeView view;
};

TEST_F(StartupReading, NoPolicy_IsTheSystemDefault) {
    EXPECT_EQ(Load(), kModeSystemDefault);
    EXPECT_EQ(view.selectedOption, 1);
    EXPECT_FALSE(view.frameEnabled);
}

TEST_F(StartupReading, AnyNoPlacesBar_HidesTheBar_WithoutLookingAtThePlaces) {
    CreateKey(kPlacesPath);
    StoreDword(kPlacesPath, L"Place0", 17);
    for (std::int32_t value : {0, 1, -1}) {
        StoreDword(kPolicyPath, L"NoPlacesBar", value);
        EXPECT_EQ(Load(), kModeNoPlacesBar);
        EXPECT_EQ(view.selectedOption, 2);
        EXPECT_FALSE(view.frameEnabled);
        EXPECT_EQ(view.slots[0].text, L"");
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
    EXPECT_EQ(view.selectedOption, 3);
    EXPECT_TRUE(view.frameEnabled);
    for (const auto& slot : view.slots) {
        EXPECT_EQ(slot.text, L"");
        EXPECT_EQ(slot.toolTip, L"");
        EXPECT_EQ(slot.selected, -1);
    }
}

TEST_F(StartupReading, FolderIds_SelectTheirEntry_OrShowTheirNumber) {
    StoreDword(kPlacesPath, L"Place0", 0);
    StoreDword(kPlacesPath, L"Place1", 38);
    StoreDword(kPlacesPath, L"Place2", 17);
    StoreDword(kPlacesPath, L"Place3", -5);
    StoreDword(kPlacesPath, L"Place4", 5);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"桌面|00");
    EXPECT_EQ(view.slots[0].selected, 0);
    EXPECT_EQ(view.slots[1].text, L"38");
    EXPECT_EQ(view.slots[1].toolTip, L"38");
    EXPECT_EQ(view.slots[1].selected, -1);
    EXPECT_EQ(view.slots[2].text, L"我的电脑|17");
    EXPECT_EQ(view.slots[2].toolTip, L"我的电脑|17");
    EXPECT_EQ(view.slots[2].selected, 6);
    EXPECT_EQ(view.slots[3].text, L"-5");
    EXPECT_EQ(view.slots[4].text, L"我的文档|05");
}

TEST_F(StartupReading, FolderPaths_ShowWhole_WithoutTheirNul) {
    StoreString(kPlacesPath, L"place0", L"D:\\下载");
    StoreString(kPlacesPath, L"PLACE1", L"17");
    StoreString(kPlacesPath, L"Place2", L"%USERPROFILE%\\Desktop", kRegExpandSz);
    StoreString(kPlacesPath, L"Place3", L"");
    StoreString(kPlacesPath, L"Place4", L"C:\\Ελλάδα\\日本語ファイル\\한글");
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"D:\\下载");
    EXPECT_EQ(view.slots[0].toolTip, L"D:\\下载");
    EXPECT_EQ(view.slots[1].text, L"17");  // a string, not a folder id
    EXPECT_EQ(view.slots[1].selected, -1);
    EXPECT_EQ(view.slots[2].text, L"%USERPROFILE%\\Desktop");
    EXPECT_EQ(view.slots[3].text, L"");
    EXPECT_EQ(view.slots[3].toolTip, L"");
    EXPECT_EQ(view.slots[4].text, L"C:\\Ελλάδα\\日本語ファイル\\한글") << "no character is lost to the code page";
}

TEST_F(StartupReading, SystemDrive_StandsForDriveC_AndKeepsTheRestOfThePath) {
    StoreString(kPlacesPath, L"Place0", L"%SystemDrive%\\");
    StoreString(kPlacesPath, L"Place1", L"%SystemDrive%\\Tools\\Bin");
    StoreString(kPlacesPath, L"Place2", L"%systemdrive%\\Tools");
    StoreString(kPlacesPath, L"Place3", L"%SystemDrive%", kRegExpandSz);
    Load();
    EXPECT_EQ(view.slots[0].text, L"c:\\");
    EXPECT_EQ(view.slots[0].toolTip, L"c:\\");
    EXPECT_EQ(view.slots[1].text, L"c:\\Tools\\Bin");
    EXPECT_EQ(view.slots[2].text, L"%systemdrive%\\Tools");
    EXPECT_EQ(view.slots[3].text, L"%SystemDrive%");
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
    EXPECT_EQ(view.slots[0].text, L"<REG_DWORD: 11 00 00 00 00 00 00 00>");
    EXPECT_EQ(view.slots[1].text, L"<REG_MULTI_SZ: \"a\" \"b\">");
    EXPECT_EQ(view.slots[2].text, L"<REG_BINARY: 81 20 FF 43 3A>");
    EXPECT_EQ(view.slots[3].text, L"<REG_DWORD: 02 00>") << "a short DWORD is no folder id, the desktop's 0 least of all";
    EXPECT_EQ(view.slots[4].text, L"<REG_QWORD: 17>");
    EXPECT_EQ(view.slots[4].toolTip, L"<REG_QWORD: 17>");
}

TEST_F(StartupReading, AReadOnlyPolicyKey_ShowsItsSwitch) {
    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    registry.SetReadOnly(kPolicyPath);
    EXPECT_EQ(Load(), kModeNoPlacesBar);
}

TEST_F(StartupReading, AReadOnlyPlacesKey_ShowsItsPlaces) {
    StoreDword(kPlacesPath, L"Place0", 17);
    StoreString(kPlacesPath, L"Place1", L"C:\\Tools");
    registry.SetReadOnly(kPlacesPath);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"我的电脑|17");
    EXPECT_EQ(view.slots[1].text, L"C:\\Tools");
}

TEST_F(StartupReading, UnreadableValues_CountAsAbsent) {
    StoreDword(kPolicyPath, L"NoPlacesBar", 1);
    registry.InjectFailure(RegOp::QueryValue, kPolicyPath, kErrorAccessDenied);
    CreateKey(kPlacesPath);
    StoreDword(kPlacesPath, L"Place0", 17);
    StoreDword(kPlacesPath, L"Place1", 5);
    registry.InjectFailure(RegOp::QueryValue, kPlacesPath, kErrorAccessDenied, L"Place0");
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"");
    EXPECT_EQ(view.slots[1].text, L"我的文档|05");

    registry.InjectFailure(RegOp::OpenKey, kPlacesPath, kErrorAccessDenied);
    EXPECT_EQ(Load(), kModeSystemDefault);
}

TEST(DisplayedFolderPath, ReplacesOnlyTheExactPrefix) {
    EXPECT_EQ(DisplayedFolderPath(L"%SystemDrive%\\"), L"c:\\");
    EXPECT_EQ(DisplayedFolderPath(L"%SystemDrive%\\Tools"), L"c:\\Tools");
    EXPECT_EQ(DisplayedFolderPath(L"%SYSTEMDRIVE%\\Tools"), L"%SYSTEMDRIVE%\\Tools");
    EXPECT_EQ(DisplayedFolderPath(L"D:\\%SystemDrive%\\"), L"D:\\%SystemDrive%\\");
}

}  // namespace
