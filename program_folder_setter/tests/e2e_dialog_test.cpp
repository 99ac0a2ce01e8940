// Tarnvale under Wine. Its resources are read from Tarnvale.exe, and its
// dialog procedure runs on the exe's template in this process too, because
// Wine answers MapDialogRect and WM_GETICON only inside the dialog's own
// process. The real program is then driven with messages, and
// ProgramFilesDir read back with its exact type and bytes.
#include "dialog.h"

#include <e2e/driver.h>
#include <platform/win/unique.h>

#include <gtest/gtest.h>

#include <thread>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kValue[] = L"ProgramFilesDir";
constexpr DWORD kDialogStyle = 0x10CF0040;
constexpr int kFixedButtons[] = {1001, 1002, 1003, 1004};
constexpr WORD kRtIcon = 3, kRtDialog = 5, kRtGroupIcon = 14, kRtManifest = 24;

struct Control {
    WORD id;
    const wchar_t* className;
    std::wstring text;
    DWORD style;
    DWORD exStyle;
    RECT units;  // x, y, width, height in dialog units
};

const std::wstring kNotice = L"作用：" + std::wstring(8, L'\u3000') + L"修改程序默认安装目录。" + std::wstring(7, L'\u3000') +
                             L"微软官方建议不要修改！有可能会遭遇未预料的问题，给系统稳定性带来影响。";

const std::vector<Control> kControls = {
    {1001, L"BUTTON", L"C:\\Program Files", 0x50010009, 0, {8, 11, 66, 11}},
    {1002, L"BUTTON", L"D:\\Program Files", 0x50010009, 0, {8, 29, 66, 11}},
    {1003, L"BUTTON", L"E:\\Program Files", 0x50010009, 0, {8, 48, 66, 11}},
    {1004, L"BUTTON", L"F:\\Program Files", 0x50010009, 0, {8, 66, 66, 11}},
    {1006, L"EDIT", L"", 0x50010000, WS_EX_CLIENTEDGE, {80, 84, 90, 11}},
    {1005, L"BUTTON", L"自定义路径", 0x50010009, 0, {8, 84, 66, 11}},
    {2, L"STATIC", kNotice, 0x50000000, 0, {88, 12, 74, 65}},
    {3, L"BUTTON", L"", 0x50000007, 0, {4, 3, 170, 102}},
};

using platform::UniqueHmodule;
using platform::UniqueHwnd;

// The Tarnvale.exe under test: TARNVALE_EXE from the environment, else the one built here.
std::string TarnvaleExe() { return e2e::ProgramUnderTest("TARNVALE_EXE", TARNVALE_EXE); }

// Tarnvale.exe's resources, without running it.
UniqueHmodule LoadProgramResources() {
    return UniqueHmodule(LoadLibraryExW(e2e::WindowsPath(TarnvaleExe()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::vector<BYTE> ResourceBytes(HMODULE module, WORD type, WORD id) {
    HRSRC resource = FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!resource) return {};
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    return std::vector<BYTE>(bytes, bytes + SizeofResource(module, resource));
}

// Walks a DLGTEMPLATEEX in its byte layout.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<BYTE>& bytes) : m_bytes(bytes) {}
    WORD Word() { return Read<WORD>(); }
    DWORD Dword() { return Read<DWORD>(); }
    short Short() { return Read<short>(); }
    BYTE Byte() { return Read<BYTE>(); }
    // A string, or an ordinal: the predefined control classes by name.
    std::wstring SzOrOrd() {
        WORD first = Word();
        if (first == 0xFFFF) {
            switch (WORD ordinal = Word()) {
            case 0x80: return L"BUTTON";
            case 0x81: return L"EDIT";
            case 0x82: return L"STATIC";
            default: return L"#" + std::to_wstring(ordinal);
            }
        }
        std::wstring text;
        for (WORD c = first; c != 0; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignDword() { m_offset = (m_offset + 3) & ~std::size_t{3}; }

private:
    template <typename T>
    T Read() {
        T value{};
        if (m_offset + sizeof value <= m_bytes.size()) std::memcpy(&value, m_bytes.data() + m_offset, sizeof value);
        m_offset += sizeof value;
        return value;
    }
    const std::vector<BYTE>& m_bytes;
    std::size_t m_offset = 0;
};

// The program's dialog, made in this process from the exe's template and run
// by the program's own dialog procedure.
class InProcessDialog {
public:
    InProcessDialog() : m_resources(LoadProgramResources()) {
        m_template = ResourceBytes(m_resources.get(), kRtDialog, 1);
        if (m_template.empty()) return;
        tarnvale::InstanceHandle = m_resources.get();
        m_dialog.reset(CreateDialogIndirectParamA(GetModuleHandleW(nullptr),
                                                  reinterpret_cast<LPCDLGTEMPLATEA>(m_template.data()), nullptr,
                                                  tarnvale::DialogProc, 0));
    }
    HWND get() const { return m_dialog.get(); }
    // Where a control of the template stands, in pixels of the client area.
    // The dialog manager converts position and size each on its own, so the
    // size is mapped as it is, not as a far corner.
    RECT Pixels(const RECT& units) const {
        RECT mapped = units;
        MapDialogRect(m_dialog.get(), &mapped);
        return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
    }

private:
    UniqueHmodule m_resources;
    std::vector<BYTE> m_template;
    UniqueHwnd m_dialog;
};

std::array<LONG, 4> Corners(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

std::optional<e2e::RawValue> Stored(const wchar_t* name = kValue) { return e2e::ReadRaw(HKEY_LOCAL_MACHINE, kKey, name); }

// 64-bit Windows: a 64-bit test, or a 32-bit one under WOW64. There the
// driver reads the 64-bit view, the one the system and installers read.
bool Windows64() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}
constexpr wchar_t kW6432[] = L"ProgramW6432Dir";

// A text written through the A function, as the registry keeps it: UTF-16 and its NUL.
std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wide;
}
e2e::RawValue Sz(const std::string& ansi) { return {REG_SZ, e2e::Utf16WithNul(Wide(ansi))}; }

bool Holds(const std::optional<e2e::RawValue>& value, const e2e::RawValue& expected) {
    return value && value->type == expected.type && value->data == expected.data;
}

std::string Printable(const std::optional<e2e::RawValue>& value) {
    if (!value) return "(none)";
    std::string text = "type " + std::to_string(value->type) + ": ";
    for (BYTE b : value->data) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        text += b >= 0x20 && b < 0x7F ? std::string(1, static_cast<char>(b)) : std::string(hex);
    }
    return text;
}

// Restores the prefix's own ProgramFilesDir (and ProgramW6432Dir) after the last test.
class KeepsProgramFilesDir : public ::testing::Environment {
public:
    void SetUp() override { m_saved = {Stored(kValue), Stored(kW6432)}; }
    void TearDown() override {
        for (int i = 0; i < 2; ++i) {
            const wchar_t* name = i == 0 ? kValue : kW6432;
            if (const auto& saved = m_saved[i]) {
                e2e::SetRawW(HKEY_LOCAL_MACHINE, kKey, name, saved->type, saved->data.data(), static_cast<DWORD>(saved->data.size()));
            } else {
                e2e::DeleteValue(HKEY_LOCAL_MACHINE, kKey, name);
            }
        }
    }

private:
    std::array<std::optional<e2e::RawValue>, 2> m_saved;
};
[[maybe_unused]] const auto* const kKeepsProgramFilesDir = ::testing::AddGlobalTestEnvironment(new KeepsProgramFilesDir);

TEST(TarnvaleResources, TheTemplateIsTheExtendedDialogWithItsEightControls) {
    UniqueHmodule resources = LoadProgramResources();
    ASSERT_TRUE(resources);
    const std::vector<BYTE> bytes = ResourceBytes(resources.get(), kRtDialog, 1);
    ASSERT_FALSE(bytes.empty()) << "dialog 1 in language 1033";
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.Word(), 1);       // version
    EXPECT_EQ(reader.Word(), 0xFFFF);  // signature
    EXPECT_EQ(reader.Dword(), 0u);     // help id
    EXPECT_EQ(reader.Dword(), 0u);     // extended style
    EXPECT_EQ(reader.Dword(), kDialogStyle);
    ASSERT_EQ(reader.Word(), kControls.size());
    EXPECT_EQ((std::array{reader.Short(), reader.Short(), reader.Short(), reader.Short()}),
              (std::array<short, 4>{6, 5, 179, 109}));
    EXPECT_EQ(reader.SzOrOrd(), L"");  // no menu
    EXPECT_EQ(reader.SzOrOrd(), L"");  // the default dialog class
    EXPECT_EQ(reader.SzOrOrd(), L"Tarnvale");
    EXPECT_EQ(reader.Word(), 8);  // points
    EXPECT_EQ(reader.Word(), 0);  // weight
    EXPECT_EQ(reader.Byte(), 0);  // not italic
    EXPECT_EQ(reader.Byte(), DEFAULT_CHARSET);
    EXPECT_EQ(reader.SzOrOrd(), L"MS Sans Serif");
    for (const Control& control : kControls) {
        SCOPED_TRACE(control.id);
        reader.AlignDword();
        EXPECT_EQ(reader.Dword(), 0u);  // help id
        EXPECT_EQ(reader.Dword(), control.exStyle);
        EXPECT_EQ(reader.Dword(), control.style);
        EXPECT_EQ((std::array{reader.Short(), reader.Short(), reader.Short(), reader.Short()}),
                  (std::array<short, 4>{static_cast<short>(control.units.left), static_cast<short>(control.units.top),
                                        static_cast<short>(control.units.right), static_cast<short>(control.units.bottom)}));
        EXPECT_EQ(reader.Dword(), control.id);
        EXPECT_EQ(reader.SzOrOrd(), control.className);
        EXPECT_EQ(reader.SzOrOrd(), control.text);
        EXPECT_EQ(reader.Word(), 0);  // no creation data
    }
}

TEST(TarnvaleResources, HoldTheIconGroupAndTheManifestBesideTheTemplate_AllInUsEnglish) {
    UniqueHmodule resources = LoadProgramResources();
    ASSERT_TRUE(resources);
    struct Found {
        std::vector<ULONG_PTR> types;
        std::vector<WORD> languages;
    } found;
    EnumResourceTypesW(
        resources.get(),
        [](HMODULE module, LPWSTR type, LONG_PTR param) CALLBACK -> BOOL {
            reinterpret_cast<Found*>(param)->types.push_back(reinterpret_cast<ULONG_PTR>(type));
            EnumResourceNamesW(
                module, type,
                [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) CALLBACK -> BOOL {
                    EnumResourceLanguagesW(
                        module, type, name,
                        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) CALLBACK -> BOOL {
                            reinterpret_cast<Found*>(param)->languages.push_back(language);
                            return TRUE;
                        },
                        param);
                    return TRUE;
                },
                param);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&found));
    std::sort(found.types.begin(), found.types.end());
    EXPECT_EQ(found.types, (std::vector<ULONG_PTR>{kRtIcon, kRtDialog, kRtGroupIcon, kRtManifest})) << "no other resources";
    for (WORD language : found.languages) EXPECT_EQ(language, 1033);

    // The group's images in their order: 16 and 32 pixels, each in 16 and then 256 colours.
    const std::vector<BYTE> group = ResourceBytes(resources.get(), kRtGroupIcon, 1000);
    ASSERT_GE(group.size(), 6u);
    const auto* header = reinterpret_cast<const WORD*>(group.data());
    ASSERT_EQ(header[2], 4);
    ASSERT_EQ(group.size(), 6u + 4 * 14);
    std::vector<std::array<int, 3>> images;
    for (int i = 0; i < 4; ++i) {
        const BYTE* entry = group.data() + 6 + 14 * i;
        images.push_back({entry[0], entry[1], *reinterpret_cast<const WORD*>(entry + 6)});
    }
    EXPECT_EQ(images, (std::vector<std::array<int, 3>>{{16, 16, 4}, {16, 16, 8}, {32, 32, 4}, {32, 32, 8}}));

    const std::vector<BYTE> manifest = ResourceBytes(resources.get(), kRtManifest, 1);
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(text.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(text.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"), std::string::npos);
}

TEST(TarnvaleDialog, SetsTheLargeIconOnly_AndLeavesTheFocusToTheFirstTabStop) {
    InProcessDialog dialog;
    ASSERT_NE(dialog.get(), nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog.get(), 1001));
    auto icon = reinterpret_cast<HICON>(SendMessageW(dialog.get(), WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    platform::UniqueHbitmap mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bitmap{};
    GetObjectW(colour.get(), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(SendMessageW(dialog.get(), WM_GETICON, ICON_SMALL, 0), 0) << "no small icon is set";
}

// The real program, started afresh for each case, with ProgramFilesDir set to
// a sentinel of another type, so that any write shows. On 64-bit Windows
// ProgramW6432Dir holds the same, as Windows keeps it, and must follow; the
// 32-bit programs' folder must stay as it is.
class TarnvaleProgram : public ::testing::Test {
protected:
    void SetUp() override {
        SetSentinel();
        m_view32 = View32();
        m_program = std::make_unique<e2e::Program>(TarnvaleExe());
        m_dialog = m_program->WaitForWindow(L"Tarnvale");
        ASSERT_NE(m_dialog, nullptr) << "the dialog appears";
        m_edit = GetDlgItem(m_dialog, 1006);
    }
    void TearDown() override {
        if (Windows64()) {
            EXPECT_EQ(View32(), m_view32) << "the 32-bit view changed";
        }
    }

    static constexpr wchar_t kSentinel[] = L"%SystemDrive%\\Sentinel ไทย";  // Thai: outside code page 936
    static void SetSentinel() {
        e2e::SetString(HKEY_LOCAL_MACHINE, kKey, kValue, kSentinel, REG_EXPAND_SZ);
        if (Windows64()) e2e::SetString(HKEY_LOCAL_MACHINE, kKey, kW6432, kSentinel, REG_EXPAND_SZ);
    }
    static bool HoldsBoth(const e2e::RawValue& expected) {
        return Holds(Stored(), expected) && (!Windows64() || Holds(Stored(kW6432), expected));
    }
    static bool HoldsSentinel() { return HoldsBoth({REG_EXPAND_SZ, e2e::Utf16WithNul(kSentinel)}); }
    static std::array<std::optional<e2e::RawValue>, 3> View32() {
        const auto read = [](const wchar_t* name) { return e2e::ReadRaw(HKEY_LOCAL_MACHINE, kKey, name, KEY_WOW64_32KEY); };
        return {read(kValue), read(L"ProgramFilesDir (x86)"), read(kW6432)};
    }

    // What programs started now read: the shell's folder is the chosen one
    // at once, and on 32-bit Windows %ProgramFiles% too in the environment
    // of the next logon. On 64-bit Windows a 32-bit program's shell folder
    // stays the 32-bit programs' folder.
    void ExpectNewProgramsSee(const std::wstring& folder) {
        const auto programFiles = [](const std::string& probe) {
            return e2e::Lines(e2e::RunProgram(e2e::WindowsPath(probe), {L"program-files"}, e2e::Environment::Logon).out);
        };
        const char* probe64 = sizeof(void*) == 8 ? CONSUMER_PROBE_EXE : std::getenv("E2E_CONSUMER_PROBE64");
        if (Windows64() && !(probe64 && *probe64)) {
            ADD_FAILURE() << "E2E_CONSUMER_PROBE64 names no 64-bit program";
        } else if (Windows64()) {
            EXPECT_EQ(programFiles(probe64).at(0), folder) << "a new 64-bit program";
        }
        if (sizeof(void*) == 8) return;
        const std::vector<std::wstring> seen = programFiles(CONSUMER_PROBE_EXE);
        ASSERT_EQ(seen.size(), 2u);
        if (!Windows64()) {
            EXPECT_EQ(seen, (std::vector<std::wstring>{folder, folder})) << "a new program: its shell folder and %ProgramFiles%";
        } else {
            ASSERT_TRUE(m_view32[0] && !m_view32[0]->data.empty());
            EXPECT_EQ(seen[0], reinterpret_cast<const wchar_t*>(m_view32[0]->data.data())) << "a new 32-bit program";
        }
    }

    // Sent, not posted: it returns once the dialog procedure has handled
    // every command that the message caused.
    LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, static_cast<UINT>(e2e::kPatience.count()), &result);
        return static_cast<LRESULT>(result);
    }
    void Click(int id) { Send(GetDlgItem(m_dialog, id), BM_CLICK); }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) Send(m_edit, WM_CHAR, c, 1);
    }
    // Keys go through the dialog's own message loop, as the keyboard's would.
    void PressKey(UINT key) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(m_dialog, nullptr), &info);
        HWND focus = info.hwndFocus ? info.hwndFocus : m_dialog;
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    }
    // Sends a message whose handling refuses a write: the failure message
    // comes up (modal, so the send returns only once it is closed), is
    // checked and closed.
    void ExpectRefusal(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        std::thread sender([&] { Send(window, message, wParam, lParam); });
        const auto box = e2e::WaitForMessageBox(m_program->Id(), L"Tarnvale", e2e::kPatience, m_dialog);
        if (box) {
            EXPECT_EQ(box->text, L"写入注册表失败，设置没有生效！");
            EXPECT_TRUE(box->hasIcon);
            e2e::CloseMessageBox(box->window);
        } else {
            ADD_FAILURE() << "no failure message";
        }
        sender.join();
    }
    void SetText(const std::wstring& text) { Send(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    void ExpectNoMessage() {
        Settle();
        EXPECT_FALSE(e2e::WaitForMessageBox(m_program->Id(), L"Tarnvale", std::chrono::milliseconds(0), m_dialog).has_value());
    }
    // What an A function reads back: the ANSI text and its NUL.
    DWORD AnsiSize() {
        HKEY key = nullptr;
        DWORD size = 0;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ | e2e::kSystemView, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, nullptr, &size);
            RegCloseKey(key);
        }
        return size;
    }
    bool WaitFor(const e2e::RawValue& expected) {
        bool held = e2e::WaitUntil([&] { return HoldsBoth(expected); });
        if (!held) ADD_FAILURE() << "ProgramFilesDir holds " << Printable(Stored());
        return held;
    }
    // Waits until the dialog has handled everything posted to it so far.
    void Settle() {
        PostMessageW(m_dialog, WM_NULL, 0, 0);
        Send(m_dialog, WM_NULL);
    }

    std::unique_ptr<e2e::Program> m_program;
    HWND m_dialog = nullptr;
    HWND m_edit = nullptr;
    std::array<std::optional<e2e::RawValue>, 3> m_view32;
};

TEST_F(TarnvaleProgram, ShowsTheTemplateAsIs_WritesNothingUntilAChoice_AndEndsWithCodeZero) {
    InProcessDialog expected;
    ASSERT_NE(expected.get(), nullptr);
    EXPECT_EQ(e2e::ClassName(m_dialog), L"#32770");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_STYLE)) & kDialogStyle, kDialogStyle);
    EXPECT_EQ(GetWindowLongW(m_dialog, GWL_STYLE) & (WS_POPUP | WS_CHILD | DS_CENTER), 0);
    const std::vector<HWND> children = e2e::Descendants(m_dialog);
    ASSERT_EQ(children.size(), kControls.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Control& control = kControls[i];
        SCOPED_TRACE(control.id);
        EXPECT_EQ(GetDlgCtrlID(children[i]), control.id) << "template order";
        EXPECT_EQ(lstrcmpiW(e2e::ClassName(children[i]).c_str(), control.className), 0);
        EXPECT_EQ(e2e::WindowText(children[i]), control.text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(children[i], GWL_STYLE)) & control.style, control.style);
        EXPECT_EQ(GetWindowLongW(children[i], GWL_EXSTYLE) & WS_EX_CLIENTEDGE, static_cast<LONG>(control.exStyle));
        EXPECT_EQ(Corners(e2e::ClientRectIn(m_dialog, children[i])), Corners(expected.Pixels(control.units)));
        if (control.style == 0x50010009) {
            EXPECT_EQ(Send(children[i], BM_GETCHECK), BST_UNCHECKED);
        }
    }
    EXPECT_FALSE(IsWindowEnabled(m_edit));

    // Commands while nothing is checked write nothing.
    Send(m_dialog, WM_COMMAND, IDOK);
    Send(m_dialog, WM_COMMAND, MAKEWPARAM(1006, EN_CHANGE), reinterpret_cast<LPARAM>(m_edit));
    EXPECT_TRUE(HoldsSentinel()) << Printable(Stored());

    Click(1003);
    WaitFor(Sz("E:\\Program Files"));
    SetSentinel();
    PostMessageW(m_dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(m_program->WaitForExit(), 0u);
    EXPECT_TRUE(HoldsSentinel()) << "closing writes nothing: " << Printable(Stored());
}

TEST_F(TarnvaleProgram, EachFixedPathStoresItsSixteenCharactersAndANul_AndDisablesTheEdit) {
    for (int id : kFixedButtons) {
        SCOPED_TRACE(id);
        Click(id);
        // The text and one NUL, byte for byte.
        WaitFor(Sz(e2e::Ansi(kControls[static_cast<std::size_t>(id - 1001)].text)));
        EXPECT_EQ(Send(GetDlgItem(m_dialog, id), BM_GETCHECK), BST_CHECKED);
        EXPECT_FALSE(IsWindowEnabled(m_edit));
        // The test prefix maps D: to a folder that holds it.
        if (id == 1002) ExpectNewProgramsSee(L"D:\\Program Files");
    }
}

TEST_F(TarnvaleProgram, TheCustomPathFollowsTheTyping_AnEmptyOneIsNotStored_ABlankOneIsRefusedOnce) {
    Click(1005);
    EXPECT_TRUE(IsWindowEnabled(m_edit));
    EXPECT_TRUE(HoldsSentinel()) << "an empty path is not stored: " << Printable(Stored());
    ExpectNoMessage();
    ExpectRefusal(m_edit, WM_CHAR, L' ', 1);
    Type(L" ");
    ExpectNoMessage();
    EXPECT_TRUE(HoldsSentinel()) << "a blank path is not stored: " << Printable(Stored());
    Type(L"\b\b");

    std::string typed;
    for (char c : std::string("D:\\Apps")) {
        Type(std::wstring(1, static_cast<wchar_t>(c)));
        typed += c;
        WaitFor(Sz(typed));
    }
    ExpectNewProgramsSee(L"D:\\Apps");
    Type(L"\b\b");
    WaitFor(Sz("D:\\Ap"));
    Type(std::wstring(5, L'\b'));
    EXPECT_TRUE(e2e::WaitUntil(HoldsSentinel)) << "what the choice found, not a fragment: " << Printable(Stored());
    Type(L"D:\\Ap");
    WaitFor(Sz("D:\\Ap"));

    // A fixed path disables the edit but keeps its text, which the custom
    // button then stores again.
    Click(1002);
    WaitFor(Sz("D:\\Program Files"));
    EXPECT_FALSE(IsWindowEnabled(m_edit));
    EXPECT_EQ(e2e::WindowText(m_edit), L"D:\\Ap");
    Click(1005);
    WaitFor(Sz("D:\\Ap"));
    EXPECT_TRUE(IsWindowEnabled(m_edit));
    Type(std::wstring(5, L'\b'));
    WaitFor(Sz("D:\\Program Files"));
}

TEST_F(TarnvaleProgram, EnterAndEscStoreTheCheckedChoiceAgain_AndKeepTheDialogOpen) {
    Click(1004);
    WaitFor(Sz("F:\\Program Files"));
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key);
        SetSentinel();
        PressKey(key);
        WaitFor(Sz("F:\\Program Files"));
        Settle();
        EXPECT_TRUE(IsWindowVisible(m_dialog));
        EXPECT_TRUE(m_program->Running());
    }
}

TEST_F(TarnvaleProgram, ChineseTextIsStoredInCodePage936_AndCountsTwoBytesAgainstTheLimit) {
    Click(1005);
    Type(L"中文");
    WaitFor(Sz("\xD6\xD0\xCE\xC4"));
    EXPECT_EQ(AnsiSize(), 5u);

    // 511 characters and 'x' fill the 1023 bytes exactly; one more is too long.
    const std::wstring fits = L"x" + std::wstring(511, L'中');
    SetText(fits);
    std::string expected = "x";
    for (int i = 0; i < 511; ++i) expected += "\xD6\xD0";
    WaitFor(Sz(expected));
    const std::wstring tooLong = fits + L'中';
    ExpectRefusal(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tooLong.c_str()));
    EXPECT_TRUE(e2e::WaitUntil(HoldsSentinel)) << "never cut, least of all inside a character: " << Printable(Stored());
}

// What the code page cannot hold, and blanks no user can see, are never
// stored: the failure message is shown and the value is what the choice found.
TEST_F(TarnvaleProgram, TextsThatCannotBeStoredExactly_AreRefusedAloud_AndChangeNothing) {
    Click(1005);
    for (const std::wstring& refused : {std::wstring(L"C:\\ไทย"), std::wstring(L"\xA0"), std::wstring(L"\x3000\x3000"),
                                        L"D:" + std::wstring(600, L'中')}) {
        SCOPED_TRACE(refused.size());
        SetText(L"D:\\Good");
        WaitFor(Sz("D:\\Good"));
        ExpectRefusal(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(refused.c_str()));
        EXPECT_TRUE(e2e::WaitUntil(HoldsSentinel)) << Printable(Stored());
    }
}

TEST_F(TarnvaleProgram, WithoutTheRightToWrite_EachChoiceIsRefusedAloud_AndNothingChanges) {
    e2e::SetKeyReadOnly(HKEY_LOCAL_MACHINE, kKey, true);
    struct Restore {
        ~Restore() { e2e::SetKeyReadOnly(HKEY_LOCAL_MACHINE, kKey, false); }
    } restore;
    ExpectRefusal(GetDlgItem(m_dialog, 1001), BM_CLICK);
    Click(1001);  // the same choice refused again: said once is enough
    Click(1005);  // an empty path with nothing to put back is no failure either
    ExpectNoMessage();
    ExpectRefusal(GetDlgItem(m_dialog, 1003), BM_CLICK);
    EXPECT_TRUE(HoldsSentinel()) << Printable(Stored());
}

// The typed path under the system code pages the program meets; the ctest
// entries run this suite in 936, 1252 and 65001.
class CodePage : public TarnvaleProgram {};

TEST_F(CodePage, ATypedPathIsStoredWhereTheCodePageHoldsIt_AndRefusedAloudWhereItDoesNot) {
    const UINT codePage = GetACP();
    Click(1005);
    SetText(L"D:\\Plain");
    WaitFor(Sz("D:\\Plain"));
    for (const std::wstring& path : {std::wstring(L"D:\\资料"), std::wstring(L"E:\\Ελλάδα")}) {
        const bool held = codePage == 65001 || (codePage == 936 && path[3] == L'资');
        SCOPED_TRACE(codePage);
        if (held) {
            SetText(path);
            EXPECT_TRUE(e2e::WaitUntil([&] { return Holds(Stored(), {REG_SZ, e2e::Utf16WithNul(path)}); })) << Printable(Stored());
        } else {
            ExpectRefusal(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        }
        SetText(L"D:\\Plain");
        WaitFor(Sz("D:\\Plain"));
    }
}

}  // namespace
