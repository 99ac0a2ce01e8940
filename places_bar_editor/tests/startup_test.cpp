#include "fake_view.h"
#include "module1.h"
#include "places.h"
#include "startup.h"

#include <platform/ansi.h>
#include <platform/memory_registry.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace lumbrake;
using namespace platform;
using lumbrake::testing::FakeView;

const std::string kPolicy = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
const std::string kPlaces = kPolicy + "\\PlacesBar";

class StartupReading : public ::testing::Test {
protected:
    // Stores a value the way another program would, bytes and type exactly as given.
    void Store(const std::string& keyPath, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) {
        UniqueRegKey key(registry);
        ASSERT_EQ(registry.CreateKeyEx(kHkeyCurrentUser, keyPath.substr(5), kKeyAccess, key.put()), kErrorSuccess);
        ASSERT_EQ(registry.SetValueEx(key.get(), name, type, data, size), kErrorSuccess);
    }
    void StoreDword(const std::string& keyPath, const std::string& name, std::int32_t value) {
        Store(keyPath, name, kRegDword, &value, sizeof value);
    }
    // With its NUL, as the system's own tools store strings.
    void StoreString(const std::string& keyPath, const std::string& name, const std::wstring& text, std::uint32_t type = kRegSz) {
        std::string ansi = *SystemCodePage().ToAnsi(text);
        Store(keyPath, name, type, ansi.c_str(), static_cast<std::uint32_t>(ansi.size() + 1));
    }
    void CreatePlacesKey() {
        UniqueRegKey key(registry);
        ASSERT_EQ(registry.CreateKeyEx(kHkeyCurrentUser, kPlaces.substr(5), kKeyAccess, key.put()), kErrorSuccess);
    }

    std::int16_t Load() {
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
    CreatePlacesKey();
    StoreDword(kPlaces, "Place0", 17);
    for (std::int32_t value : {0, 1, -1}) {
        StoreDword(kPolicy, "NoPlacesBar", value);
        EXPECT_EQ(Load(), kModeNoPlacesBar);
        EXPECT_EQ(view.selectedOption, 2);
        EXPECT_FALSE(view.frameEnabled);
        EXPECT_EQ(view.slots[0].text, L"");
    }
    StoreString(kPolicy, "NoPlacesBar", L"yes");
    EXPECT_EQ(Load(), kModeNoPlacesBar);
    const char binary[] = {1, 2};
    Store(kPolicy, "NoPlacesBar", kRegBinary, binary, sizeof binary);
    EXPECT_EQ(Load(), kModeNoPlacesBar);
}

TEST_F(StartupReading, EmptyNoPlacesBarStrings_DoNotCount) {
    Store(kPolicy, "NoPlacesBar", kRegSz, "", 0);
    EXPECT_EQ(Load(), kModeSystemDefault);
    Store(kPolicy, "NoPlacesBar", kRegSz, "", 1);  // a lone NUL, as the system's tools write ""
    EXPECT_EQ(Load(), kModeSystemDefault);
    CreatePlacesKey();
    EXPECT_EQ(Load(), kModeCustom);
}

TEST_F(StartupReading, EmptyPlacesKey_IsCustom_WithSlotsAsTheWindowMadeThem) {
    CreatePlacesKey();
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.selectedOption, 3);
    EXPECT_TRUE(view.frameEnabled);
    for (const auto& slot : view.slots) {
        EXPECT_EQ(slot.text, L"");
        EXPECT_EQ(slot.toolTip, L"");
        EXPECT_EQ(slot.selected, -1);
    }
}

TEST_F(StartupReading, FolderIds_SelectTheirEntry_OrLeaveTheSlot) {
    StoreDword(kPlaces, "Place0", 0);
    StoreDword(kPlaces, "Place1", 99);
    StoreDword(kPlaces, "Place2", 17);
    StoreDword(kPlaces, "Place3", -5);
    StoreDword(kPlaces, "Place4", 5);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"桌面|00");
    EXPECT_EQ(view.slots[0].selected, 0);
    EXPECT_EQ(view.slots[1].selected, -1);
    EXPECT_EQ(view.slots[1].text, L"");
    EXPECT_EQ(view.slots[2].text, L"我的电脑|17");
    EXPECT_EQ(view.slots[2].toolTip, L"我的电脑|17");
    EXPECT_EQ(view.slots[3].selected, -1);
    EXPECT_EQ(view.slots[4].text, L"我的文档|05");
}

TEST_F(StartupReading, FolderPaths_ShowAsStoredWithoutTheirNul) {
    StoreString(kPlaces, "place0", L"D:\\下载");
    StoreString(kPlaces, "PLACE1", L"17");
    StoreString(kPlaces, "Place2", L"%USERPROFILE%\\Desktop", kRegExpandSz);
    Store(kPlaces, "Place3", kRegSz, "", 1);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"D:\\下载");
    EXPECT_EQ(view.slots[0].toolTip, L"D:\\下载");
    EXPECT_EQ(view.slots[1].text, L"17");  // a string, not a folder id
    EXPECT_EQ(view.slots[1].selected, -1);
    EXPECT_EQ(view.slots[2].text, L"%USERPROFILE%\\Desktop");
    EXPECT_EQ(view.slots[3].text, L"");
    EXPECT_EQ(view.slots[3].toolTip, L"");
}

TEST_F(StartupReading, SystemDrive_StandsForDriveC_AndKeepsTheRestOfThePath) {
    StoreString(kPlaces, "Place0", L"%SystemDrive%\\");
    StoreString(kPlaces, "Place1", L"%SystemDrive%\\Tools\\Bin");
    StoreString(kPlaces, "Place2", L"%systemdrive%\\Tools");
    StoreString(kPlaces, "Place3", L"%SystemDrive%", kRegExpandSz);
    Load();
    EXPECT_EQ(view.slots[0].text, L"c:\\");
    EXPECT_EQ(view.slots[0].toolTip, L"c:\\");
    EXPECT_EQ(view.slots[1].text, L"c:\\Tools\\Bin");
    EXPECT_EQ(view.slots[2].text, L"%systemdrive%\\Tools");
    EXPECT_EQ(view.slots[3].text, L"%SystemDrive%");
}

TEST_F(StartupReading, WhateverOthersLeft_ShowsSomethingSensible) {
    const std::uint64_t eight = 17;
    Store(kPlaces, "Place0", kRegDword, &eight, sizeof eight);  // too long for a DWORD: nothing
    const char multi[] = "a\0b\0";
    Store(kPlaces, "Place1", kRegMultiSz, multi, sizeof multi);
    const unsigned char binary[] = {0xFF, 0xFE, 0x41};
    Store(kPlaces, "Place2", kRegBinary, binary, sizeof binary);
    std::string huge(5000, 'x');
    Store(kPlaces, "Place3", kRegSz, huge.c_str(), static_cast<std::uint32_t>(huge.size() + 1));
    StoreDword(kPlaces, "Place5", 17);
    Store(kPlaces, "Place4", kRegQword, &eight, sizeof eight);
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"");
    EXPECT_EQ(view.slots[1].text, L"a");
    EXPECT_FALSE(view.slots[2].text.empty());
    EXPECT_EQ(view.slots[3].text, std::wstring(5000, L'x'));
    EXPECT_EQ(view.slots[4].text, L"\x11");  // eight bytes read as text, up to the first NUL
}

TEST_F(StartupReading, UnreadableValues_CountAsAbsent) {
    StoreDword(kPolicy, "NoPlacesBar", 1);
    registry.InjectFailure(RegOp::QueryValue, kPolicy, kErrorAccessDenied);
    CreatePlacesKey();
    StoreDword(kPlaces, "Place0", 17);
    StoreDword(kPlaces, "Place1", 5);
    registry.InjectFailure(RegOp::QueryValue, kPlaces, kErrorAccessDenied, "Place0");
    EXPECT_EQ(Load(), kModeCustom);
    EXPECT_EQ(view.slots[0].text, L"");
    EXPECT_EQ(view.slots[1].text, L"我的文档|05");

    registry.InjectFailure(RegOp::OpenKey, kPlaces, kErrorAccessDenied);
    EXPECT_EQ(Load(), kModeSystemDefault);
}

TEST(DisplayedFolderPath, ReplacesOnlyTheExactPrefix) {
    EXPECT_EQ(DisplayedFolderPath(L"%SystemDrive%\\"), L"c:\\");
    EXPECT_EQ(DisplayedFolderPath(L"%SystemDrive%\\Tools"), L"c:\\Tools");
    EXPECT_EQ(DisplayedFolderPath(L"%SYSTEMDRIVE%\\Tools"), L"%SYSTEMDRIVE%\\Tools");
    EXPECT_EQ(DisplayedFolderPath(L"D:\\%SystemDrive%\\"), L"D:\\%SystemDrive%\\");
}

}  // namespace
