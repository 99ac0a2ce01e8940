#pragma once
// Drives a real program under Wine from a test: starts it, finds its windows
// the way a user sees them (caption, class, position), waits for states by
// polling, acts through messages, and ends it. Windows-only.
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// A time limit multiplied by E2E_PATIENCE_SCALE (a whole number, 1 when
// unset): the 32-bit stage runs every instruction under CPU emulation, so it
// sets one factor for all the limits of a run.
std::chrono::milliseconds Scaled(std::chrono::milliseconds limit);

// Everything here waits by polling up to this limit: the machines are shared and slow.
inline const std::chrono::milliseconds kPatience = Scaled(30s);

// The program under test: the path in that environment variable when it is
// set (the 32-bit stage names the programs unpacked from the release zip),
// otherwise the one built with the tests.
std::string ProgramUnderTest(const char* variable, const char* built);

// Polls `condition` until it holds or `limit` passes; returns its last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = kPatience);

// A host path (starting with "/") as Wine's Z: drive sees it; Windows paths pass unchanged.
std::wstring WindowsPath(const std::string& path);

// Text of a window or control, and of the class it belongs to.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Top-level windows of a process, visible or not.
std::vector<HWND> TopLevelWindows(DWORD processId);
// Direct and indirect child windows, in creation (Z) order.
std::vector<HWND> Descendants(HWND parent);
// The first descendant of that class (case-insensitive) and, if given, text.
HWND FindDescendant(HWND parent, const std::wstring& className, const std::optional<std::wstring>& text = std::nullopt);
// A control's rectangle in its top-level window's client coordinates.
RECT ClientRectIn(HWND topLevel, HWND control);

class Program {
public:
    // Starts the program (a host or Windows path) with no arguments.
    explicit Program(const std::string& path);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();  // ends the process if still running

    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    bool Running() const;
    // Waits for the process to end; its exit code, or nothing on timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds limit = kPatience);
    // Waits for a visible top-level window of this process with that caption.
    HWND WaitForWindow(const std::wstring& caption, std::chrono::milliseconds limit = kPatience);
    void Kill();

private:
    PROCESS_INFORMATION m_info{};
};

// A message box (or other dialog) of the process: its caption, its text
// (the static control), and a way to press its button.
struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    bool hasIcon = false;
};
// `except`: a dialog of the same caption that is not the box (a program's own dialog).
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, const std::wstring& caption,
                                                std::chrono::milliseconds limit = kPatience, HWND except = nullptr);
void PressButton(HWND button);              // BM_CLICK, posted so a modal loop in the target never blocks the test
void CloseMessageBox(HWND messageBox);      // presses OK (IDOK)

// Registry set-up and checks under any root, through the W functions, with
// the exact types and bytes the registry keeps. On 64-bit Windows they work
// in the 64-bit view, the system's own, whatever the test's bitness; the
// flag changes nothing on 32-bit Windows nor under HKEY_CURRENT_USER.
inline constexpr REGSAM kSystemView = KEY_WOW64_64KEY;
struct RawValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const RawValue&) const = default;
};
void DeleteTree(HKEY root, const std::wstring& path);
void CreateKey(HKEY root, const std::wstring& path);
// Through the A function, as a program of the ANSI code page writes it.
void SetRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size);
// Through the W function: exactly these bytes (strings as UTF-16).
void SetRawW(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD size);
void SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
// Stored as the system tools store it: the whole text and its NUL.
void SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ);
// The type and bytes the registry keeps, read through the W function: what
// an A function hands back has lost what the code page lacks.
// (KEY_WOW64_32KEY as the view reads what 32-bit programs see.)
std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view = kSystemView);
void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name);
// A string as the registry keeps it: UTF-16 and its NUL.
std::vector<BYTE> Utf16WithNul(const std::wstring& text);
bool KeyExists(HKEY root, const std::wstring& path);
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path);
// Gives a key a security descriptor that lets everyone have these rights
// (and change the security back), nothing more.
void SetKeyAccess(HKEY root, const std::wstring& path, DWORD rights);
// Everyone may read it and nothing more (writes and sub-key creation are
// refused), or has full access again.
inline void SetKeyReadOnly(HKEY root, const std::wstring& path, bool readOnly) {
    SetKeyAccess(root, path, readOnly ? KEY_READ : KEY_ALL_ACCESS);
}

// Controls as a user tells them apart: every descendant of a class, and the
// same sorted by place on the screen (top to bottom, then left to right).
std::vector<HWND> FindDescendants(HWND parent, const std::wstring& className);
std::vector<HWND> ByPosition(std::vector<HWND> controls);

// Button, combo-box and focus state, read across the process boundary.
bool IsChecked(HWND button);
std::vector<std::wstring> ComboItems(HWND combo);
int ComboSelection(HWND combo);  // CB_ERR (-1) for none
HWND FocusedWindow(HWND topLevel);

// The text of the tool tip that a tool tip control of the tool's process
// shows for that window (a tool registered with TTF_IDISHWND), or nothing
// when no tool tip control knows the window. Read through memory lent in
// the target process, since tool tip messages carry pointers.
std::optional<std::wstring> ToolTipText(HWND tool);

// Real keyboard and mouse input, as the user gives it, to the foreground
// window: BringToFront first.
bool BringToFront(HWND topLevel);
void PressKey(WORD virtualKey, bool shift = false);
void ClickAt(HWND control, int x, int y);  // client coordinates of the control

// What the system's own Open dialog shows in its places bar: the buttons'
// texts, or nothing when it has no visible places bar. The dialog is opened
// in this process (so its controls answer directly) and cancelled.
// E2E_CONSUMER_PROBE64, when set in a 32-bit test, names the 64-bit
// consumer probe, whose dialog must show the same.
std::optional<std::vector<std::wstring>> PlacesInOpenDialog();
// The same without a test around it; `seen` tells whether the dialog came up.
std::optional<std::vector<std::wstring>> OpenDialogPlaces(bool& seen);

// What a program wrote to its standard output and error (UTF-8), and its exit code.
struct Output {
    DWORD exitCode = 0xFFFFFFFF;
    std::string outBytes;
    std::wstring out, err;
};
// The environment a program is started with: this process's, or the one a
// new logon gives (built from the registry, as at the next logon).
enum class Environment { Inherited, Logon };
// Runs a program (a Windows path) with its standard output and error going
// to pipes, waits for it within the driver's patience, and returns what it wrote.
Output RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments,
                  Environment environment = Environment::Inherited);
std::wstring FromUtf8(const std::string& bytes);
// The lines of a text whose every line ends in CRLF.
std::vector<std::wstring> Lines(const std::wstring& text);

// The name the shell shows for a special folder (a CSIDL), as the Open
// dialog's places bar labels it.
std::wstring DisplayNameOfSpecialFolder(int csidl);

// The bytes of a text in the ANSI code page (936 under the test locale).
std::string Ansi(const std::wstring& text);

}  // namespace e2e
