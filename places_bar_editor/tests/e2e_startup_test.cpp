// The real Lumbrake.exe under Wine: what it shows at start-up for what the
// current user's registry holds, and that it never writes there.
#include "e2e_lumbrake.h"

namespace lumbrake_e2e {
namespace {

class LumbrakeStartupTest : public LumbrakeTest {
protected:
    // Starts the program, expects the mode's option and frame state, and
    // that the start wrote nothing.
    Window StartExpecting(int option, bool frameEnabled) {
        const RegistryState before = ReadPolicy();
        const Window w = Start();
        if (!w.form) return w;
        EXPECT_EQ(w.CheckedOption(), option);
        EXPECT_EQ(IsWindowEnabled(w.frame2) != FALSE, frameEnabled);
        EXPECT_EQ(ReadPolicy(), before) << "start-up wrote to the registry";
        return w;
    }

    static void ExpectSlotUntouched(const Window& w, int slot) {
        EXPECT_EQ(w.SlotText(slot), L"") << "slot " << slot;
        EXPECT_EQ(w.Selection(slot), CB_ERR) << "slot " << slot;
        EXPECT_EQ(w.SlotToolTip(slot), L"") << "slot " << slot;
    }

    static void ExpectPath(const Window& w, int slot, const std::wstring& shown) {
        EXPECT_EQ(w.SlotText(slot), shown) << "slot " << slot;
        EXPECT_EQ(w.SlotToolTip(slot), shown) << "slot " << slot;
        EXPECT_EQ(w.Selection(slot), CB_ERR) << "slot " << slot;
    }

    static void ExpectEntry(const Window& w, int slot, int index, const std::wstring& entry) {
        EXPECT_EQ(w.Selection(slot), index) << "slot " << slot;
        EXPECT_EQ(w.SlotText(slot), entry) << "slot " << slot;
        EXPECT_EQ(w.SlotToolTip(slot), entry) << "slot " << slot;
    }

    static void FillPlaces() {
        for (int i = 0; i < 5; ++i) SetDword(kPlacesKey, L"Place" + std::to_wstring(i), 17);
    }
};

TEST_F(LumbrakeStartupTest, NoPolicy_SystemDefault_FrameDisabled_SlotsEmpty) {
    const Window w = StartExpecting(1, false);
    for (int i = 0; i < 5; ++i) ExpectSlotUntouched(w, i);
    for (HWND control : e2e::Descendants(w.form)) {
        EXPECT_TRUE(IsWindowVisible(control)) << e2e::ClassName(control);
        if (control != w.frame2) {
            EXPECT_TRUE(IsWindowEnabled(control)) << e2e::ClassName(control);
        }
    }
}

TEST_F(LumbrakeStartupTest, NoPlacesBarDwordZero_HidesTheBar) {
    SetDword(kPolicyKey, L"NoPlacesBar", 0);
    StartExpecting(2, false);
}

TEST_F(LumbrakeStartupTest, NoPlacesBarOfAnyType_HidesTheBar_AndThePlacesAreNotRead) {
    const BYTE one = 1;
    e2e::SetRaw(HKEY_CURRENT_USER, kPolicyKey, L"NoPlacesBar", REG_BINARY, &one, 1);
    FillPlaces();
    const Window w = StartExpecting(2, false);
    for (int i = 0; i < 5; ++i) ExpectSlotUntouched(w, i);
    Close();

    e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);
    SetString(kPolicyKey, L"NoPlacesBar", L"1");
    FillPlaces();
    StartExpecting(2, false);
}

TEST_F(LumbrakeStartupTest, NoPlacesBarEmptyString_DoesNotCount_ThePlacesKeyDecides) {
    // As the system's tools store an empty string: a lone NUL.
    SetString(kPolicyKey, L"NoPlacesBar", L"");
    SetDword(kPlacesKey, L"Place0", 17);
    const Window w = StartExpecting(3, true);
    ExpectEntry(w, 0, 6, L"我的电脑|17");
    Close();

    // With no data at all, and no places key.
    e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);
    e2e::SetRaw(HKEY_CURRENT_USER, kPolicyKey, L"NoPlacesBar", REG_SZ, "", 0);
    StartExpecting(1, false);
}

TEST_F(LumbrakeStartupTest, EmptyPlacesKey_Custom_FrameEnabled_SlotsEmpty) {
    e2e::CreateKey(HKEY_CURRENT_USER, kPlacesKey);
    const Window w = StartExpecting(3, true);
    for (int i = 0; i < 5; ++i) ExpectSlotUntouched(w, i);
}

TEST_F(LumbrakeStartupTest, FolderIds_SelectTheirEntries_UnknownIdsShowTheirNumber) {
    SetDword(kPlacesKey, L"Place0", 0);
    SetDword(kPlacesKey, L"Place1", 99);
    SetDword(kPlacesKey, L"Place2", 17);
    SetDword(kPlacesKey, L"Place3", static_cast<DWORD>(-17));
    SetDword(kPlacesKey, L"Place4", 5);
    const Window w = StartExpecting(3, true);
    ExpectEntry(w, 0, 0, L"桌面|00");
    ExpectPath(w, 1, L"99");
    ExpectEntry(w, 2, 6, L"我的电脑|17");
    ExpectPath(w, 3, L"-17");
    ExpectEntry(w, 4, 1, L"我的文档|05");
}

TEST_F(LumbrakeStartupTest, Strings_AreFolderPaths_ShownAsStored) {
    SetString(kPlacesKey, L"Place0", L"17");
    SetString(kPlacesKey, L"Place1", L"%USERPROFILE%\\Music", REG_EXPAND_SZ);
    SetString(kPlacesKey, L"Place2", L"D:\\资料\\照片");
    // As Lumbrake itself stores a path: its ANSI bytes, no NUL.
    const std::string tools = "C:\\Tools";
    e2e::SetRaw(HKEY_CURRENT_USER, kPlacesKey, L"Place3", REG_SZ, tools.data(), static_cast<DWORD>(tools.size()));
    // A NUL inside the data ends the text.
    const char withNul[] = "E:\\Music\0junk";
    e2e::SetRaw(HKEY_CURRENT_USER, kPlacesKey, L"Place4", REG_SZ, withNul, sizeof withNul);
    const Window w = StartExpecting(3, true);
    ExpectPath(w, 0, L"17");
    ExpectPath(w, 1, L"%USERPROFILE%\\Music");
    ExpectPath(w, 2, L"D:\\资料\\照片");
    ExpectPath(w, 3, L"C:\\Tools");
    ExpectPath(w, 4, L"E:\\Music");
}

TEST_F(LumbrakeStartupTest, SystemDrive_OnlyTheExactPrefixBecomesDriveC) {
    SetString(kPlacesKey, L"Place0", L"%SystemDrive%\\Tools");
    SetString(kPlacesKey, L"Place1", L"%SystemDrive%\\");
    SetString(kPlacesKey, L"Place2", L"%systemdrive%\\Tools");
    SetString(kPlacesKey, L"Place3", L"%SystemDrive%");
    SetString(kPlacesKey, L"Place4", L"%SystemDrive%\\资料\\%SystemDrive%\\");
    const Window w = StartExpecting(3, true);
    ExpectPath(w, 0, L"c:\\Tools");
    ExpectPath(w, 1, L"c:\\");
    ExpectPath(w, 2, L"%systemdrive%\\Tools");
    ExpectPath(w, 3, L"%SystemDrive%");
    ExpectPath(w, 4, L"c:\\资料\\%SystemDrive%\\");
}

TEST_F(LumbrakeStartupTest, LowerCaseValueNames_AreFound) {
    SetDword(kPlacesKey, L"place0", 6);
    SetString(kPlacesKey, L"place1", L"C:\\Temp");
    SetDword(kPlacesKey, L"PLACE2", 55);
    const Window w = StartExpecting(3, true);
    ExpectEntry(w, 0, 2, L"收藏夹|06");
    ExpectPath(w, 1, L"C:\\Temp");
    ExpectEntry(w, 2, 12, L"共享视频|55");
}

TEST_F(LumbrakeStartupTest, ValuesOfOtherKinds_ShowInAFormNoPathHas_AndWriteNothing) {
    const std::string binary = "C:\\Bin";
    e2e::SetRaw(HKEY_CURRENT_USER, kPlacesKey, L"Place0", REG_BINARY, binary.data(), static_cast<DWORD>(binary.size()));
    const char multi[] = "C:\\One\0C:\\Two\0";
    e2e::SetRaw(HKEY_CURRENT_USER, kPlacesKey, L"Place1", REG_MULTI_SZ, multi, sizeof multi);
    const unsigned long long wide = 17;
    e2e::SetRaw(HKEY_CURRENT_USER, kPlacesKey, L"Place2", REG_DWORD, &wide, sizeof wide);
    e2e::SetRaw(HKEY_CURRENT_USER, kPlacesKey, L"Place3", REG_SZ, "", 0);
    const std::wstring longPath = L"C:\\" + std::wstring(5000, L'x');
    SetString(kPlacesKey, L"Place4", longPath);
    SetDword(kPlacesKey, L"Place5", 17);
    SetDword(kPlacesKey, L"Place", 17);
    const Window w = StartExpecting(3, true);
    ExpectPath(w, 0, L"<REG_BINARY: 43 3A 5C 42 69 6E>");
    ExpectPath(w, 1, L"<REG_MULTI_SZ: \"C:\\One\" \"C:\\Two\">");
    ExpectPath(w, 2, L"<REG_DWORD: 11 00 00 00 00 00 00 00>");
    ExpectSlotUntouched(w, 3);
    EXPECT_EQ(w.SlotText(4), longPath);
    // A tool tip control holds 1023 characters of a text (its buffer is
    // INFOTIPSIZE): the path's start, that long.
    EXPECT_EQ(w.SlotToolTip(4), longPath.substr(0, 1023));
}

}  // namespace
}  // namespace lumbrake_e2e
