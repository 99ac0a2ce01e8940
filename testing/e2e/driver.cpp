#include "driver.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <userenv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace e2e {

std::chrono::milliseconds Scaled(std::chrono::milliseconds limit) {
    const char* factor = std::getenv("E2E_PATIENCE_SCALE");
    const long scale = factor ? std::strtol(factor, nullptr, 10) : 1;
    return scale > 1 ? limit * scale : limit;
}

std::string ProgramUnderTest(const char* variable, const char* built) {
    const char* chosen = std::getenv(variable);
    return chosen && *chosen ? chosen : built;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(20ms);
    }
}

std::wstring WindowsPath(const std::string& path) {
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide.front() == L'/') {
        for (wchar_t& c : wide) if (c == L'/') c = L'\\';
        wide = L"Z:" + wide;
    }
    return wide;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT works across processes, where GetWindowText only reads the title.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) CALLBACK -> BOOL {  // stdcall, as 32-bit Windows calls back
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        found.push_back(child);
        for (HWND inner : Descendants(child)) found.push_back(inner);
    }
    return found;
}

HWND FindDescendant(HWND parent, const std::wstring& className, const std::optional<std::wstring>& text) {
    for (HWND child : Descendants(parent)) {
        if (lstrcmpiW(ClassName(child).c_str(), className.c_str()) != 0) continue;
        if (text && WindowText(child) != *text) continue;
        return child;
    }
    return nullptr;
}

RECT ClientRectIn(HWND topLevel, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, topLevel, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

Program::Program(const std::string& path) {
    std::wstring commandLine = L"\"" + WindowsPath(path) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info)) {
        m_info = {};
    }
}

Program::~Program() {
    if (m_info.hProcess) {
        Kill();
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool Program::Running() const {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::WaitForExit(std::chrono::milliseconds limit) {
    if (!m_info.hProcess) return std::nullopt;
    if (WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

HWND Program::WaitForWindow(const std::wstring& caption, std::chrono::milliseconds limit) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(Id())) {
                if (IsWindowVisible(window) && WindowText(window) == caption) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        limit);
    return found;
}

void Program::Kill() {
    if (Running()) {
        TerminateProcess(m_info.hProcess, 1);
        WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(Scaled(10s).count()));
    }
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, const std::wstring& caption, std::chrono::milliseconds limit,
                                                HWND except) {
    std::optional<MessageBoxInfo> info;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId)) {
                if (window == except || !IsWindowVisible(window) || ClassName(window) != L"#32770" || WindowText(window) != caption)
                    continue;
                MessageBoxInfo box;
                box.window = window;
                box.caption = caption;
                // The message text is the static control with id 0xFFFF.
                if (HWND text = GetDlgItem(window, 0xFFFF)) box.text = WindowText(text);
                // The icon is a visible static control of the SS_ICON kind holding an icon
                // (its id differs between Windows and Wine).
                for (HWND child : Descendants(window)) {
                    const auto style = GetWindowLongW(child, GWL_STYLE);
                    if (ClassName(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
                        SendMessageW(child, STM_GETICON, 0, 0) != 0)
                        box.hasIcon = true;
                }
                info = box;
                return true;
            }
            return false;
        },
        limit);
    return info;
}

void PressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void CloseMessageBox(HWND messageBox) {
    PostMessageW(messageBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(messageBox, IDOK)));
}

void DeleteTree(HKEY root, const std::wstring& path) { RegDeleteTreeW(root, path.c_str()); }

void CreateKey(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kSystemView, nullptr, &key, nullptr) == ERROR_SUCCESS) RegCloseKey(key);
}

void SetRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kSystemView, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    // The A function stores exactly the bytes given, as another program's write would.
    std::string ansiName = Ansi(name);
    RegSetValueExA(key, ansiName.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
    SetRaw(root, path, name, REG_DWORD, &value, sizeof value);
}

void SetRawW(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kSystemView, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text, DWORD type) {
    SetRawW(root, path, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::vector<BYTE> Utf16WithNul(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {bytes, bytes + (text.size() + 1) * sizeof(wchar_t)};
}

std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return std::nullopt;
    RawValue value;
    DWORD size = 0;
    std::optional<RawValue> result;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, value.data.data(), &size) == ERROR_SUCCESS) {
            value.data.resize(size);
            result = value;
        }
    }
    RegCloseKey(key);
    return result;
}

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | kSystemView, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | kSystemView, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | kSystemView, &key) != ERROR_SUCCESS) return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

void SetKeyAccess(HKEY root, const std::wstring& path, DWORD rights) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, READ_CONTROL | WRITE_DAC | kSystemView, &key) != ERROR_SUCCESS) return;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    alignas(ACL) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, rights | READ_CONTROL | WRITE_DAC, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    FreeSid(everyone);
    RegCloseKey(key);
}

std::vector<HWND> FindDescendants(HWND parent, const std::wstring& className) {
    std::vector<HWND> found;
    for (HWND child : Descendants(parent))
        if (lstrcmpiW(ClassName(child).c_str(), className.c_str()) == 0) found.push_back(child);
    return found;
}

std::vector<HWND> ByPosition(std::vector<HWND> controls) {
    std::sort(controls.begin(), controls.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return controls;
}

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        std::wstring item(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const auto copied = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        items.push_back(item);
    }
    return items;
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

HWND FocusedWindow(HWND topLevel) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(topLevel, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::optional<std::wstring> ToolTipText(HWND tool) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tool, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return std::nullopt;
    // Room for any text: older tool tip controls copy it whole, whatever its length.
    constexpr std::size_t kChars = 65536;
    const SIZE_T bytes = sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::optional<std::wstring> text;
    if (remote) {
        auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
        auto ask = [&](HWND tip, UINT message) {
            TTTOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.hwnd = GetParent(tool);
            info.uId = reinterpret_cast<UINT_PTR>(tool);
            info.lpszText = remoteText;
            const wchar_t none = L'\0';
            WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
            WriteProcessMemory(process, remoteText, &none, sizeof none, nullptr);
            return SendMessageW(tip, message, kChars, reinterpret_cast<LPARAM>(remote));
        };
        for (HWND tip : TopLevelWindows(processId)) {
            if (lstrcmpiW(ClassName(tip).c_str(), TOOLTIPS_CLASSW) != 0 || !ask(tip, TTM_GETTOOLINFOW)) continue;
            ask(tip, TTM_GETTEXTW);
            std::wstring read(kChars, L'\0');
            ReadProcessMemory(process, remoteText, read.data(), kChars * sizeof(wchar_t), nullptr);
            read.resize(read.find(L'\0'));
            text = read;
            break;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

bool BringToFront(HWND topLevel) {
    return WaitUntil([&] {
        if (GetForegroundWindow() == topLevel) return true;
        SetForegroundWindow(topLevel);
        return false;
    });
}

void PressKey(WORD virtualKey, bool shift) {
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (shift) key(VK_SHIFT, false);
    key(virtualKey, false);
    key(virtualKey, true);
    if (shift) key(VK_SHIFT, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(HWND control, int x, int y) {
    POINT point{x, y};
    ClientToScreen(control, &point);
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::string Ansi(const std::wstring& text) {
    if (text.empty()) return {};
    int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
    return out;
}

std::optional<std::vector<std::wstring>> OpenDialogPlaces(bool& seen) {
    std::optional<std::vector<std::wstring>> places;
    seen = false;
    std::thread probe([&] {
        HWND dialog = nullptr;
        e2e::WaitUntil([&] {
            for (HWND window : e2e::TopLevelWindows(GetCurrentProcessId()))
                if (IsWindowVisible(window) && e2e::ClassName(window) == L"#32770" && GetDlgItem(window, IDOK)) dialog = window;
            return dialog != nullptr;
        });
        if (!dialog) return;
        seen = true;
        HWND bar = GetDlgItem(dialog, 0x4A0);  // ctl1: the places bar
        if (bar && IsWindowVisible(bar)) {
            places.emplace();
            const auto count = SendMessageW(bar, TB_BUTTONCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                TBBUTTON button{};
                SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
                wchar_t text[MAX_PATH] = {};
                SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text));
                places->push_back(text);
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_EXPLORER;
    GetOpenFileNameW(&open);
    probe.join();
    return places;
}

std::optional<std::vector<std::wstring>> PlacesInOpenDialog() {
    bool seen = false;
    auto places = OpenDialogPlaces(seen);
    EXPECT_TRUE(seen) << "the Open dialog did not appear";
    // On 64-bit Windows a 64-bit program's dialog reads the same policy.
    const char* program64 = std::getenv("E2E_CONSUMER_PROBE64");
    if (program64 && *program64 && sizeof(void*) == 4) {
        const Output other = RunProgram(WindowsPath(program64), {L"places"});
        EXPECT_NE(other.exitCode, 2u) << "the 64-bit program's Open dialog did not appear";
        EXPECT_EQ(other.exitCode == 0 ? std::optional(Lines(other.out)) : std::nullopt, places) << "in a 64-bit program's Open dialog";
    }
    return places;
}

namespace {

// As the C runtime splits a command line again.
std::wstring Quote(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

void ReadAll(HANDLE pipe, std::string& into) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) into.append(buffer, read);
}

}  // namespace

std::wstring FromUtf8(const std::string& bytes) {
    if (bytes.empty()) return {};
    std::wstring text(bytes.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                           static_cast<int>(text.size()));
    EXPECT_GT(length, 0) << "not UTF-8: " << bytes;
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CRLF";
    return lines;
}


// Runs a program with its standard output and error going to pipes, waits
// for it within the driver's patience, and returns what it wrote.
Output RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments, Environment environment) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    EXPECT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0) && CreatePipe(&errRead, &errWrite, &inherit, 0));
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring commandLine = Quote(program);
    for (const std::wstring& argument : arguments) commandLine += L" " + Quote(argument);
    void* block = nullptr;
    if (environment == Environment::Logon) {
        EXPECT_TRUE(CreateEnvironmentBlock(&block, nullptr, FALSE));
    }
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                                        block, nullptr, &startup, &process);
    if (block) DestroyEnvironmentBlock(block);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(input);
    Output output;
    std::string err;
    std::thread outReader([&] { ReadAll(outRead, output.outBytes); });
    std::thread errReader([&] { ReadAll(errRead, err); });
    if (started) {
        if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(kPatience.count())) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "still running: " << ::testing::PrintToString(commandLine);
            TerminateProcess(process.hProcess, 1);
        }
        GetExitCodeProcess(process.hProcess, &output.exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    } else {
        ADD_FAILURE() << "cannot start " << ::testing::PrintToString(commandLine);
    }
    outReader.join();
    errReader.join();
    CloseHandle(outRead);
    CloseHandle(errRead);
    output.out = FromUtf8(output.outBytes);
    output.err = FromUtf8(err);
    return output;
}

std::wstring DisplayNameOfSpecialFolder(int csidl) {
    LPITEMIDLIST list = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, csidl, &list) != S_OK) return {};
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
    CoTaskMemFree(list);
    return info.szDisplayName;
}

}  // namespace e2e
