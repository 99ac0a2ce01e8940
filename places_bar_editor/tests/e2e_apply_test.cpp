// The real Lumbrake.exe under Wine: what the apply writes for each mode and
// slot text, what it says, and the small actions around it.
#include "e2e_lumbrake.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include <fstream>
#include <sstream>

namespace lumbrake_e2e {
namespace {

const std::wstring kConfirmCustom = L"你已经设置对话框的常用位置为 [ 自定义 ] ！";
const std::wstring kConfirmDefault = L"你已经设置对话框的常用位置为 [ 系统默认 ] ！";
const std::wstring kConfirmHidden = L"你已经设置对话框的常用位置为 [ 不显示 ] ！";
const std::wstring kFailure = L"写入注册表失败，设置没有生效！";

std::vector<BYTE> Dword(DWORD value) {
    return {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
}

class LumbrakeApplyTest : public LumbrakeTest {
protected:
    // Presses the apply button and returns the message it shows, closed
    // again; a box that follows it (the places the dialogs leave out) is
    // kept in `warning`, closed too. The click is sent from a thread of its
    // own, whose send returns once the handler has ended, boxes and all.
    e2e::MessageBoxInfo Apply(const Window& w) {
        std::atomic<bool> ended = false;
        const std::jthread click([&] {
            SendMessageTimeoutW(w.command1, BM_CLICK, 0, 0, SMTO_NORMAL, static_cast<UINT>(e2e::kPatience.count()) * 4, nullptr);
            ended = true;
        });
        auto close = [](const e2e::MessageBoxInfo& box) {
            e2e::CloseMessageBox(box.window);
            EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box.window); }));
        };
        auto box = e2e::WaitForMessageBox(Program().Id(), L"Veltrix");
        if (!box) {
            ADD_FAILURE() << "no message after the apply";
            return {};
        }
        close(*box);
        warning.reset();
        EXPECT_TRUE(e2e::WaitUntil([&] { return (warning = e2e::WaitForMessageBox(Program().Id(), L"Veltrix", std::chrono::milliseconds(0))).has_value() || ended; }));
        if (warning) close(*warning);
        return *box;
    }
    std::optional<e2e::MessageBoxInfo> warning;  // what followed the last confirmation
    void ExpectConfirmed(const Window& w, const std::wstring& text) {
        const auto box = Apply(w);
        EXPECT_EQ(box.text, text);
        EXPECT_FALSE(box.hasIcon);
    }
    void Choose(HWND option) {
        e2e::PressButton(option);
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsChecked(option); }));
    }
    static void Type(const Window& w, int slot, const std::wstring& text) {
        SendMessageW(w.combo1[static_cast<std::size_t>(slot)], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static void Pick(const Window& w, int slot, int index) {
        SendMessageW(w.combo1[static_cast<std::size_t>(slot)], CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    static void ExpectSlot(int slot, DWORD type, const std::vector<BYTE>& data) {
        auto value = e2e::ReadRaw(HKEY_CURRENT_USER, kPlacesKey, L"place" + std::to_wstring(slot));
        ASSERT_TRUE(value.has_value()) << "slot " << slot;
        EXPECT_EQ(value->type, type) << "slot " << slot;
        EXPECT_EQ(value->data, data) << "slot " << slot;
    }
    static void ExpectNoSlot(int slot) {
        EXPECT_FALSE(e2e::ReadRaw(HKEY_CURRENT_USER, kPlacesKey, L"place" + std::to_wstring(slot)).has_value()) << "slot " << slot;
    }
    static void ExpectHidden() {
        auto value = e2e::ReadRaw(HKEY_CURRENT_USER, kPolicyKey, L"NoPlacesBar");
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(value->data, Dword(1));
        EXPECT_FALSE(e2e::KeyExists(HKEY_CURRENT_USER, kPlacesKey));
    }
};

TEST_F(LumbrakeApplyTest, EachMode_WritesItsStateAndSaysSo) {
    const Window w = Start();
    ASSERT_TRUE(w.form);
    Choose(w.option2);
    ExpectConfirmed(w, kConfirmHidden);
    ExpectHidden();

    Choose(w.option3);
    EXPECT_TRUE(IsWindowEnabled(w.frame2));
    ExpectConfirmed(w, kConfirmCustom);
    EXPECT_TRUE(e2e::KeyExists(HKEY_CURRENT_USER, kPlacesKey));
    EXPECT_TRUE(e2e::ValueNames(HKEY_CURRENT_USER, kPlacesKey).empty());
    EXPECT_TRUE(e2e::ValueNames(HKEY_CURRENT_USER, kPolicyKey).empty());

    Choose(w.option1);
    EXPECT_FALSE(IsWindowEnabled(w.frame2));
    ExpectConfirmed(w, kConfirmDefault);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CURRENT_USER, kPolicyKey));
}

TEST_F(LumbrakeApplyTest, MixedSlots_AreStoredWithExactTypesAndBytes) {
    SetDword(kPlacesKey, L"Place2", 6);  // spelled as start-up reads it; the save reaches it all the same
    const Window w = Start();
    ASSERT_TRUE(w.form);
    Pick(w, 0, 6);
    Type(w, 1, L"  D:\\My Files  ");
    Type(w, 2, L"   ");
    Type(w, 3, L"x|ab");
    Type(w, 4, L"D:\\下载\\文档");
    ExpectConfirmed(w, kConfirmCustom);

    EXPECT_EQ(w.SlotText(0), L"我的电脑|17");
    ExpectSlot(0, REG_DWORD, Dword(17));
    ExpectSlot(1, REG_SZ, e2e::Utf16WithNul(L"D:\\My Files"));
    ExpectNoSlot(2);
    ExpectSlot(3, REG_SZ, e2e::Utf16WithNul(L"x|ab"));
    ExpectSlot(4, REG_SZ, e2e::Utf16WithNul(L"D:\\下载\\文档"));
    EXPECT_EQ(e2e::ValueNames(HKEY_CURRENT_USER, kPlacesKey).size(), 4u);
}

// Hidden, then custom again in the same run: every place comes back exactly
// as it was read, whatever its kind, and a typed one as typed; twice
// changes nothing more.
TEST_F(LumbrakeApplyTest, HiddenAfterCustomAndBack_PutsEveryPlaceBackExactly_AndTwiceChangesNothing) {
    const BYTE binary[] = {0x81, 0x20, 0xFF, 0x43, 0x3A};
    SetDword(kPlacesKey, L"place0", 38);
    SetString(kPlacesKey, L"place1", L"%USERPROFILE%\\Desktop", REG_EXPAND_SZ);
    e2e::SetRawW(HKEY_CURRENT_USER, kPlacesKey, L"place2", REG_BINARY, binary, sizeof binary);
    SetString(kPlacesKey, L"place3", L"C:\\한글");
    const Window w = Start();
    ASSERT_TRUE(w.form);
    Type(w, 4, L"C:\\Tools");
    ExpectConfirmed(w, kConfirmCustom);
    const RegistryState custom = ReadPolicy();

    Choose(w.option2);
    ExpectConfirmed(w, kConfirmHidden);
    ExpectHidden();

    Choose(w.option3);
    EXPECT_EQ(w.SlotText(4), L"C:\\Tools") << "the slots keep their texts while the frame is off";
    ExpectConfirmed(w, kConfirmCustom);
    EXPECT_EQ(ReadPolicy(), custom);
    ExpectConfirmed(w, kConfirmCustom);
    EXPECT_EQ(ReadPolicy(), custom);
}

// Another program (a policy refresh, a script, a second window) changes the
// places while the window is open: what the user did not edit keeps its change.
TEST_F(LumbrakeApplyTest, AnotherProgramsChange_IsKeptInTheSlotsTheUserDidNotEdit) {
    SetDword(kPlacesKey, L"place0", 17);
    SetString(kPlacesKey, L"place1", L"C:\\Tools");
    const Window w = Start();
    ASSERT_TRUE(w.form);
    SetString(kPlacesKey, L"place1", L"D:\\Shared");
    SetDword(kPlacesKey, L"place2", 5);
    Type(w, 0, L"E:\\Mine");
    ExpectConfirmed(w, kConfirmCustom);
    ExpectSlot(0, REG_SZ, e2e::Utf16WithNul(L"E:\\Mine"));
    ExpectSlot(1, REG_SZ, e2e::Utf16WithNul(L"D:\\Shared"));
    ExpectSlot(2, REG_DWORD, Dword(5));
}

// A policy key that is there but cannot be read is said at start-up, never
// shown as absent, and an apply that must change it fails aloud.
TEST_F(LumbrakeApplyTest, AnUnreadableKey_IsSaidAtStartUp_AndNeverTakenForAbsent) {
    SetDword(kPolicyKey, L"NoPlacesBar", 1);
    e2e::SetKeyAccess(HKEY_CURRENT_USER, kPolicyKey, 0);
    const Window w = Start();
    ASSERT_TRUE(w.form);
    auto box = e2e::WaitForMessageBox(Program().Id(), L"Veltrix");
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->text.find(L"无法读取"), std::wstring::npos);
    EXPECT_NE(box->text.find(kPolicyKey + L"\\NoPlacesBar："), std::wstring::npos) << box->text;
    EXPECT_TRUE(box->hasIcon);
    e2e::CloseMessageBox(box->window);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box->window); }));
    EXPECT_EQ(w.CheckedOption(), 1) << "what it could read";
    const auto failed = Apply(w);
    EXPECT_EQ(failed.text, kFailure);
    e2e::SetKeyAccess(HKEY_CURRENT_USER, kPolicyKey, KEY_ALL_ACCESS);
    EXPECT_EQ(e2e::ReadRaw(HKEY_CURRENT_USER, kPolicyKey, L"NoPlacesBar")->data, Dword(1));
}

TEST_F(LumbrakeApplyTest, SystemDefault_KeepsUnrelatedPolicies) {
    SetDword(kPolicyKey, L"NoBackButton", 1);
    SetDword(kPolicyKey, L"NoPlacesBar", 1);
    SetDword(kPlacesKey, L"Place0", 17);
    const Window w = Start();
    ASSERT_TRUE(w.form);
    EXPECT_EQ(w.CheckedOption(), 2);
    Choose(w.option1);
    ExpectConfirmed(w, kConfirmDefault);
    EXPECT_FALSE(e2e::KeyExists(HKEY_CURRENT_USER, kPlacesKey));
    EXPECT_EQ(e2e::ValueNames(HKEY_CURRENT_USER, kPolicyKey), std::vector<std::wstring>{L"NoBackButton"});
}

TEST_F(LumbrakeApplyTest, CancelAndTheCloseBox_WriteNothing) {
    SetDword(kPlacesKey, L"Place0", 5);
    const RegistryState before = ReadPolicy();
    for (bool viaCancel : {true, false}) {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        Choose(w.option2);
        Type(w, 0, L"C:\\Elsewhere");
        if (viaCancel) e2e::PressButton(w.command3);
        else PostMessageW(w.form, WM_CLOSE, 0, 0);
        EXPECT_TRUE(Program().WaitForExit().has_value());
        EXPECT_EQ(ReadPolicy(), before);
    }
}

TEST_F(LumbrakeApplyTest, RefusedWrites_AreReportedAsFailure_AndTheOtherSlotsStillSaved) {
    // A policy key that only lets itself be read.
    e2e::CreateKey(HKEY_CURRENT_USER, kPolicyKey);
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPolicyKey, true);
    {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        Choose(w.option2);
        const auto box = Apply(w);
        EXPECT_EQ(box.text, kFailure);
        EXPECT_TRUE(box.hasIcon);
        EXPECT_FALSE(e2e::ReadRaw(HKEY_CURRENT_USER, kPolicyKey, L"NoPlacesBar").has_value());
        Close();
    }
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPolicyKey, false);

    // A places key that refuses values.
    e2e::CreateKey(HKEY_CURRENT_USER, kPlacesKey);
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPlacesKey, true);
    {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        Type(w, 0, L"C:\\Tools");
        EXPECT_EQ(Apply(w).text, kFailure);
        ExpectNoSlot(0);
        Close();
    }
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPlacesKey, false);

    // One slot whose text the code page cannot hold: that slot alone is not written.
    const Window w = Start();
    ASSERT_TRUE(w.form);
    Type(w, 0, L"C:\\ไทย");
    Type(w, 1, L"C:\\ok");
    EXPECT_EQ(Apply(w).text, kFailure);
    ExpectNoSlot(0);
    ExpectSlot(1, REG_SZ, e2e::Utf16WithNul(L"C:\\ok"));
}

// Whatever other programs stored, starting and applying without a change
// leaves every value exactly as it was, and says the mode that is in force.
TEST_F(LumbrakeApplyTest, UnchangedApply_LeavesEveryStoredValueExactly) {
    const std::wstring longPath = L"C:\\" + std::wstring(40000, L'x');
    const WORD shortDword = 2;
    const unsigned long long qword = 1;
    const BYTE binary[] = {0x81, 0x20, 0xFF, 0x43, 0x3A};
    const wchar_t multi[] = L"C:\\One\0C:\\Two\0";
    const wchar_t withNul[] = L"E:\\Music\0junk";
    struct Case {
        const char* what;
        std::function<void()> store;
        std::wstring confirmation;
        std::vector<std::wstring> shown;  // the slots' texts, where they are filled
    };
    const Case cases[] = {
        {"text outside the code page",
         [] {
             SetString(kPlacesKey, L"Place0", L"C:\\한글");
             SetString(kPlacesKey, L"Place1", L"C:\\Ελλάδα\\日本語ファイル");
         },
         kConfirmCustom, {L"C:\\한글", L"C:\\Ελλάδα\\日本語ファイル"}},
        {"places the list lacks, and other kinds",
         [&] {
             SetDword(kPlacesKey, L"Place0", 38);
             SetDword(kPlacesKey, L"Place1", 2);
             SetString(kPlacesKey, L"Place2", L"%USERPROFILE%\\Desktop", REG_EXPAND_SZ);
             e2e::SetRawW(HKEY_CURRENT_USER, kPlacesKey, L"Place3", REG_DWORD, &shortDword, sizeof shortDword);
             e2e::SetRawW(HKEY_CURRENT_USER, kPlacesKey, L"Place4", REG_QWORD, &qword, sizeof qword);
         },
         kConfirmCustom, {L"38", L"2", L"%USERPROFILE%\\Desktop", L"<REG_DWORD: 02 00>", L"<REG_QWORD: 1>"}},
        {"bytes, strings and a path longer than a box holds by default",
         [&] {
             e2e::SetRawW(HKEY_CURRENT_USER, kPlacesKey, L"Place0", REG_BINARY, binary, sizeof binary);
             e2e::SetRawW(HKEY_CURRENT_USER, kPlacesKey, L"Place1", REG_MULTI_SZ, multi, sizeof multi);
             e2e::SetRawW(HKEY_CURRENT_USER, kPlacesKey, L"Place2", REG_SZ, withNul, sizeof withNul);
             SetString(kPlacesKey, L"Place3", longPath);
             SetString(kPlacesKey, L"Place4", L"C:\\a\r\nb");
         },
         kConfirmCustom, {L"<REG_BINARY: 81 20 FF 43 3A>", L"<REG_MULTI_SZ: \"C:\\One\" \"C:\\Two\">", L"E:\\Music", longPath}},
        {"a hidden bar over stored places",
         [] {
             SetDword(kPolicyKey, L"NoPlacesBar", 1);
             SetString(kPlacesKey, L"Place0", L"C:\\Kept");
         },
         kConfirmHidden, {}},
        {"an empty switch and other policies",
         [] {
             SetString(kPolicyKey, L"NoPlacesBar", L"");
             SetDword(kPolicyKey, L"NoBackButton", 1);
         },
         kConfirmDefault, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);
        c.store();
        const RegistryState before = ReadPolicy();
        const Window w = Start();
        ASSERT_TRUE(w.form);
        for (std::size_t slot = 0; slot < c.shown.size(); ++slot) EXPECT_EQ(w.SlotText(static_cast<int>(slot)), c.shown[slot]) << slot;
        ExpectConfirmed(w, c.confirmation);
        EXPECT_EQ(ReadPolicy(), before);
        Close();
    }
}

// Keys the user may read but not change show what they hold; applying what
// they show is true, and changes nothing.
TEST_F(LumbrakeApplyTest, ReadOnlyKeys_ShowWhatTheyHold_AndAnUnchangedApplyIsTrue) {
    SetDword(kPolicyKey, L"NoPlacesBar", 1);
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPolicyKey, true);
    {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        EXPECT_EQ(w.CheckedOption(), 2);
        ExpectConfirmed(w, kConfirmHidden);
        Close();
    }
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPolicyKey, false);
    e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);

    SetDword(kPlacesKey, L"Place0", 17);
    SetString(kPlacesKey, L"Place1", L"C:\\Tools");
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPlacesKey, true);
    const RegistryState before = ReadPolicy();
    const Window w = Start();
    ASSERT_TRUE(w.form);
    EXPECT_EQ(w.CheckedOption(), 3);
    EXPECT_EQ(w.SlotText(0), L"我的电脑|17");
    EXPECT_EQ(w.SlotText(1), L"C:\\Tools");
    ExpectConfirmed(w, kConfirmCustom);
    EXPECT_EQ(ReadPolicy(), before);
    e2e::SetKeyReadOnly(HKEY_CURRENT_USER, kPlacesKey, false);
}

// The same program under the system code pages it meets: 936 (Chinese),
// 1252 (a Western system) and 65001 (UTF-8, which Windows 10 and 11 offer as
// the system code page). The ctest entries run this suite once in each.
class CodePage : public LumbrakeApplyTest {};

TEST_F(CodePage, PathsShowWhole_AndAreStoredExactlyOrRefusedAloud) {
    const UINT codePage = GetACP();
    SetString(kPlacesKey, L"Place0", L"D:\\下载");
    SetString(kPlacesKey, L"Place1", L"C:\\한글");
    SetDword(kPolicyKey, L"NoBackButton", 1);
    const RegistryState before = ReadPolicy();
    const Window w = Start();
    ASSERT_TRUE(w.form);
    EXPECT_EQ(w.SlotText(0), L"D:\\下载") << "code page " << codePage;
    EXPECT_EQ(w.SlotText(1), L"C:\\한글");
    ExpectConfirmed(w, kConfirmCustom);
    EXPECT_EQ(ReadPolicy(), before) << "an unchanged apply writes nothing in any code page";

    Type(w, 2, L"D:\\资料");
    Type(w, 3, L"E:\\Ελλάδα");
    Type(w, 4, L"F:\\Plain");
    const auto box = Apply(w);
    // Each text the code page holds is stored whole; each it lacks is refused.
    const bool chinese = codePage == 936 || codePage == 65001;
    const bool greek = codePage == 65001;
    EXPECT_EQ(box.text, chinese && greek ? kConfirmCustom : kFailure) << "code page " << codePage;
    if (chinese) ExpectSlot(2, REG_SZ, e2e::Utf16WithNul(L"D:\\资料"));
    else ExpectNoSlot(2);
    if (greek) ExpectSlot(3, REG_SZ, e2e::Utf16WithNul(L"E:\\Ελλάδα"));
    else ExpectNoSlot(3);
    ExpectSlot(4, REG_SZ, e2e::Utf16WithNul(L"F:\\Plain"));
    const RegistryState after = ReadPolicy();
    EXPECT_EQ(after.placesValues.at(L"Place0").data, before.placesValues.at(L"Place0").data);
    EXPECT_EQ(after.placesValues.at(L"Place1").data, before.placesValues.at(L"Place1").data);
    EXPECT_EQ(after.policyValues, before.policyValues);

    Choose(w.option2);
    ExpectConfirmed(w, kConfirmHidden);
    ExpectHidden();
    Choose(w.option1);
    ExpectConfirmed(w, kConfirmDefault);
    EXPECT_EQ(e2e::ValueNames(HKEY_CURRENT_USER, kPolicyKey), std::vector<std::wstring>{L"NoBackButton"});
}

TEST_F(LumbrakeApplyTest, TheSystemsOpenDialog_ShowsWhatWasApplied) {
    const auto defaults = e2e::PlacesInOpenDialog();
    ASSERT_TRUE(defaults.has_value()) << "Wine's Open dialog shows its own places without a policy";

    {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        Choose(w.option3);
        Pick(w, 0, 6);
        Type(w, 1, L"C:\\windows");
        ExpectConfirmed(w, kConfirmCustom);
        Close();
    }
    const auto custom = e2e::PlacesInOpenDialog();
    ASSERT_TRUE(custom.has_value());
    EXPECT_EQ(*custom, (std::vector<std::wstring>{e2e::DisplayNameOfSpecialFolder(CSIDL_DRIVES), L"windows"}));

    // A DWORD 0 reads as hidden at start-up, but the dialog obeys only a
    // switch that is not 0: applying hidden makes it one.
    SetDword(kPolicyKey, L"NoPlacesBar", 0);
    EXPECT_TRUE(e2e::PlacesInOpenDialog().has_value());
    {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        EXPECT_EQ(w.CheckedOption(), 2);
        ExpectConfirmed(w, kConfirmHidden);
        Close();
    }
    EXPECT_FALSE(e2e::PlacesInOpenDialog().has_value()) << "no places bar in mode 2";
    ExpectHidden();

    {
        const Window w = Start();
        ASSERT_TRUE(w.form);
        Choose(w.option1);
        ExpectConfirmed(w, kConfirmDefault);
        Close();
    }
    EXPECT_EQ(e2e::PlacesInOpenDialog(), defaults);
}

// After the confirmation, one more box names the places that Wine's own Open
// dialog leaves out, and why; there is none when it shows them all.
TEST_F(LumbrakeApplyTest, PlacesTheDialogLeavesOut_AreNamedAfterTheConfirmation) {
    const std::wstring missing = L"（找不到这个文件夹）", noFolder = L"（本系统没有这个编号的特殊文件夹）";
    const struct {
        std::vector<std::wstring> typed;
        bool folderIdWithoutFolder;  // stored in slot 4 beforehand
        std::wstring named;          // the lines of the box, or none
    } cases[] = {
        {{L"C:\\Wrok"}, false, L"1：C:\\Wrok" + missing},
        {{}, true, L"5：126" + noFolder},
        {{L"我的电脑|17", L"C:\\Wrok", L"C:\\windows"}, true, L"2：C:\\Wrok" + missing + L"\r\n5：126" + noFolder},
        {{L"我的电脑|17", L"C:\\windows"}, false, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.typed));
        e2e::DeleteTree(HKEY_CURRENT_USER, kPolicyKey);
        if (c.folderIdWithoutFolder) SetDword(kPlacesKey, L"place4", 126);
        const Window w = Start();
        ASSERT_TRUE(w.form);
        Choose(w.option3);
        for (std::size_t slot = 0; slot < c.typed.size(); ++slot) Type(w, static_cast<int>(slot), c.typed[slot]);
        ExpectConfirmed(w, kConfirmCustom);
        ASSERT_EQ(warning.has_value(), !c.named.empty());
        if (warning) {
            EXPECT_EQ(warning->text, L"“打开”和“保存”对话框会略过下面这些位置，不会显示它们：\r\n\r\n" + c.named);
            EXPECT_TRUE(warning->hasIcon);
        }
        Close();
        const std::size_t named = c.named.empty() ? 0 : 1 + static_cast<std::size_t>(std::count(c.named.begin(), c.named.end(), L'\n'));
        const std::size_t stored = c.typed.size() + (c.folderIdWithoutFolder ? 1 : 0);
        EXPECT_EQ(e2e::PlacesInOpenDialog().value_or(std::vector<std::wstring>{}).size(), stored - named) << "the dialog agrees";
    }
}

// The shell's folder browser, opened by a slot's browse button.
HWND WaitForBrowser(DWORD processId, HWND form) {
    HWND found = nullptr;
    e2e::WaitUntil([&] {
        for (HWND window : e2e::TopLevelWindows(processId)) {
            if (window != form && IsWindowVisible(window) && e2e::ClassName(window) == L"#32770" &&
                e2e::FindDescendant(window, L"Static", L"请选择你常用的位置: ")) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return found;
}

TEST_F(LumbrakeApplyTest, Browse_CancelLeavesTheSlot_OkFillsTextAndToolTip) {
    const Window w = Start();
    ASSERT_TRUE(w.form);
    Choose(w.option3);
    Type(w, 3, L"kept");
    e2e::PressButton(w.command2[3]);
    HWND browser = WaitForBrowser(Program().Id(), w.form);
    ASSERT_TRUE(browser);
    PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(browser); }));
    EXPECT_EQ(w.SlotText(3), L"kept");

    // The browser opens on the desktop, whose folder is what OK gives back at once.
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop), S_OK);
    e2e::PressButton(w.command2[3]);
    browser = WaitForBrowser(Program().Id(), w.form);
    ASSERT_TRUE(browser);
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return w.SlotText(3) != L"kept"; }));
    EXPECT_EQ(w.SlotText(3), desktop);
    EXPECT_EQ(w.SlotToolTip(3), desktop);
    for (int slot : {0, 1, 2, 4}) EXPECT_EQ(w.SlotText(slot), L"") << "slot " << slot;
}

// The text of a tree view item in another process, read through memory lent there.
std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return {};
    constexpr int kChars = MAX_PATH;
    auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, sizeof(TVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text(kChars, L'\0');
    if (remote) {
        TVITEMW request{};
        request.mask = TVIF_TEXT;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
        request.cchTextMax = kChars;
        WriteProcessMemory(process, remote, &request, sizeof request, nullptr);
        if (SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote)))
            ReadProcessMemory(process, request.pszText, text.data(), kChars * sizeof(wchar_t), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    text.resize(text.find(L'\0'));
    return text;
}

// The item under the browser's root that has this name, or null.
HTREEITEM TopItemNamed(HWND tree, const std::wstring& name) {
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
        if (TreeItemText(tree, item) == name) return item;
    return nullptr;
}

// The browser refuses OK for an item that is no folder, but a choice can
// still come back without a path: the slot keeps what it had, since an empty
// one would delete its place on the next apply.
TEST_F(LumbrakeApplyTest, Browse_AChoiceWithoutAFolderPath_LeavesTheSlotAsItWas) {
    SetString(kPlacesKey, L"Place2", L"D:\\Kept");
    const Window w = Start();
    ASSERT_TRUE(w.form);
    ASSERT_EQ(w.SlotText(2), L"D:\\Kept");
    e2e::PressButton(w.command2[2]);
    HWND browser = WaitForBrowser(Program().Id(), w.form);
    ASSERT_TRUE(browser);
    HWND tree = e2e::FindDescendant(browser, L"SysTreeView32");
    HTREEITEM computer = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (computer = TopItemNamed(tree, e2e::DisplayNameOfSpecialFolder(CSIDL_DRIVES))) != nullptr; }));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(computer));
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(browser); }));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(w.form, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer));
    EXPECT_EQ(w.SlotText(2), L"D:\\Kept");
    EXPECT_EQ(w.SlotToolTip(2), L"D:\\Kept");
}

// The browser's stand-in, installed where the about box looks for the browser.
class LumbrakeAboutTest : public LumbrakeApplyTest {
protected:
    void SetUp() override {
        LumbrakeApplyTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_record = std::wstring(temp) + L"stub-browser.txt";
        DeleteFileW(m_record.c_str());
        CreateDirectoryW(L"C:\\Program Files\\Internet Explorer", nullptr);
        MoveFileExW(kBrowser, kBackup, MOVEFILE_REPLACE_EXISTING);
        ASSERT_TRUE(CopyFileW(e2e::WindowsPath(STUB_BROWSER_EXE).c_str(), kBrowser, FALSE));
    }
    void TearDown() override {
        LumbrakeApplyTest::TearDown();
        DeleteFileW(kBrowser);
        MoveFileExW(kBackup, kBrowser, 0);
        DeleteFileW(m_record.c_str());
    }
    std::vector<std::wstring> BrowserStarts() const {
        std::vector<std::wstring> lines;
        HANDLE file = CreateFileW(m_record.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return lines;
        std::wstring text;
        wchar_t buffer[512];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read / sizeof(wchar_t));
        CloseHandle(file);
        std::wstringstream stream(text);
        for (std::wstring line; std::getline(stream, line);) lines.push_back(line);
        return lines;
    }
    static void ClickPicture(const Window& w) {
        PostMessageW(w.picture1, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(w.picture1, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }

    static constexpr const wchar_t* kBrowser = L"C:\\Program Files\\Internet Explorer\\IEXPLORE.exe";
    static constexpr const wchar_t* kBackup = L"C:\\Program Files\\Internet Explorer\\iexplore.exe.lumbrake-test";
    std::wstring m_record;
};

TEST_F(LumbrakeAboutTest, AboutBox_ThenTheBrowser_OnEveryClick) {
    const Window w = Start();
    ASSERT_TRUE(w.form);
    const std::wstring expected =
        L"XP对话框Lumbrake----Orvane专用版\r\n\n 作者简介：\r\n\n Name:Quillon\r\n Email:quillon@example.com\r\n"
        L" Blog:http://blog.example.com/quillon\r\n";
    for (std::size_t click = 1; click <= 2; ++click) {
        ClickPicture(w);
        auto box = e2e::WaitForMessageBox(Program().Id(), L"About Quillon");
        ASSERT_TRUE(box.has_value());
        // MessageBox shows the text with its line ends as given.
        EXPECT_EQ(box->text, expected);
        EXPECT_FALSE(box->hasIcon);
        EXPECT_EQ(BrowserStarts().size(), click - 1) << "the browser waits for the box to close";
        e2e::CloseMessageBox(box->window);
        ASSERT_TRUE(e2e::WaitUntil([&] { return BrowserStarts().size() == click; }));
    }
    for (const std::wstring& start : BrowserStarts())
        EXPECT_EQ(start, L"1|\"C:\\Program Files\\Internet Explorer\\IEXPLORE.exe\" http://forum.example.com/");
}

// No program at the browser's path, as on most systems today: the forum page
// goes to the system's default browser (the handler of http addresses), and
// when even that cannot start, the address is shown to be opened by hand.
class LumbrakeBrowserFallbackTest : public LumbrakeAboutTest {
protected:
    void SetUp() override {
        LumbrakeAboutTest::SetUp();
        DeleteFileW(kBrowser);
        m_savedHandler = e2e::ReadRaw(HKEY_LOCAL_MACHINE, kHttpCommand, L"");
    }
    void TearDown() override {
        if (m_savedHandler) {
            e2e::SetRawW(HKEY_LOCAL_MACHINE, kHttpCommand, L"", m_savedHandler->type, m_savedHandler->data.data(),
                         static_cast<DWORD>(m_savedHandler->data.size()));
        }
        LumbrakeAboutTest::TearDown();
    }
    static void SetDefaultBrowser(const std::wstring& program) {
        e2e::SetString(HKEY_LOCAL_MACHINE, kHttpCommand, L"", L"\"" + program + L"\" \"%1\"");
    }
    // Clicks the picture and closes the about box it brings.
    void ClickPictureAndCloseTheAboutBox(const Window& w) {
        ClickPicture(w);
        const auto about = e2e::WaitForMessageBox(Program().Id(), L"About Quillon");
        ASSERT_TRUE(about.has_value());
        ASSERT_EQ(about->text.rfind(L"XP对话框Lumbrake", 0), 0u);
        e2e::CloseMessageBox(about->window);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(about->window); }));
    }

    static constexpr const wchar_t* kHttpCommand = L"Software\\Classes\\http\\shell\\open\\command";
    std::optional<e2e::RawValue> m_savedHandler;
};

TEST_F(LumbrakeBrowserFallbackTest, TheDefaultBrowserOpensTheForum_WithoutAWord) {
    SetDefaultBrowser(e2e::WindowsPath(STUB_BROWSER_EXE));
    const Window w = Start();
    ASSERT_TRUE(w.form);
    ClickPictureAndCloseTheAboutBox(w);
    ASSERT_TRUE(e2e::WaitUntil([&] { return BrowserStarts().size() == 1; }));
    EXPECT_TRUE(BrowserStarts().front().ends_with(L"\"http://forum.example.com/\"")) << BrowserStarts().front();
    // The window answers again once the click is handled: no message came with it.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(w.form, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer));
    EXPECT_FALSE(e2e::WaitForMessageBox(Program().Id(), L"About Quillon", std::chrono::milliseconds(0)).has_value());
}

TEST_F(LumbrakeBrowserFallbackTest, WhenNoBrowserStarts_TheAddressIsShownToBeOpenedByHand) {
    SetDefaultBrowser(L"C:\\no such folder\\browser.exe");
    const Window w = Start();
    ASSERT_TRUE(w.form);
    ClickPictureAndCloseTheAboutBox(w);
    const auto box = e2e::WaitForMessageBox(Program().Id(), L"About Quillon");
    ASSERT_TRUE(box.has_value()) << "no message after the about box";
    EXPECT_EQ(box->text, L"无法启动浏览器，请手动打开：\r\nhttp://forum.example.com/");
    EXPECT_FALSE(box->hasIcon);
    e2e::CloseMessageBox(box->window);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box->window); }));
    EXPECT_TRUE(BrowserStarts().empty());
}

}  // namespace
}  // namespace lumbrake_e2e
