#include "dialog.h"

#include "program_files_dir.h"
#include "resource.h"

#include <platform/exact_ansi.h>
#include <platform/win/advapi32.h>

namespace tarnvale {

HINSTANCE InstanceHandle;
char TextBuffer[1024];

namespace {

// One dialog a process: what the custom choice may have to put back.
EarlierFolder BeforeCustomChoice;

// Whether this is 64-bit Windows, where ProgramFilesDir is the 64-bit view's.
// IsWow64Process is looked up, not imported: Windows XP before SP2 lacks it.
bool Windows64() {
    if (sizeof(void*) == 8) return true;
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, BOOL*);
    const auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// Reads the typed path as Unicode, so that a character the code page lacks
// is found rather than turned into '?', and puts its ANSI form in
// TextBuffer. Its byte count; 0 when nothing is typed; -1 when it cannot be
// stored exactly: blank, outside the code page, or longer than the buffer
// (never cut, least of all inside a double-byte character).
[[nodiscard]] int ReadTypedPath(HWND dialog) {
    TextBuffer[0] = '\0';
    HWND edit = GetDlgItem(dialog, IDC_CUSTOM_PATH);
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) return 0;
    if (length >= static_cast<int>(sizeof TextBuffer)) return -1;
    wchar_t typed[sizeof TextBuffer];
    const int copied = GetWindowTextW(edit, typed, static_cast<int>(sizeof TextBuffer));
    const std::wstring_view text(typed, static_cast<std::size_t>(copied > 0 ? copied : 0));
    if (IsBlankText(text)) return -1;
    const int bytes = platform::SystemAnsiInto(text, TextBuffer, static_cast<int>(sizeof TextBuffer) - 1);
    if (bytes < 0) return -1;
    TextBuffer[bytes] = '\0';
    return bytes;
}

// A choice that could not be stored is said once, with the dialog's caption;
// the same choice failing again (as every keystroke in the edit does) says
// nothing more until something is stored or another choice is made. The
// message box takes the focus, which sends the dialog commands of its own
// while it is up: the choice is marked as told before the box is shown.
void Outcome(HWND dialog, int choice, bool stored) {
    if (stored) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        return;
    }
    if (GetWindowLongPtrW(dialog, DWLP_USER) == choice) return;
    SetWindowLongPtrW(dialog, DWLP_USER, choice);
    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    MessageBoxW(dialog, kWriteFailed, caption, MB_OK | MB_ICONERROR);
}

void OnClose(HWND dialog) { EndDialog(dialog, 0); }

void OnInitDialog(HWND dialog) {
    // LoadIcon hands out a shared icon that the system frees: nothing to destroy.
    HICON icon = LoadIconA(InstanceHandle, MAKEINTRESOURCEA(IDI_PROGRAM));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    EnableWindow(GetDlgItem(dialog, IDC_CUSTOM_PATH), FALSE);
}

static_assert(IDC_PATH_D == IDC_PATH_C + 1 && IDC_PATH_E == IDC_PATH_C + 2 && IDC_PATH_F == IDC_PATH_C + 3 &&
                  (IDC_CUSTOM < IDC_PATH_C || IDC_CUSTOM > IDC_PATH_F),
              "OnCommand walks the fixed-path buttons by id, from C: to F:");

// Whichever control sent the command, and why, the checked choice is stored
// again. The five tests are independent; the buttons form one group, so at
// most one of them is checked.
void OnCommand(HWND dialog) {
    platform::Advapi32Registry registry;
    const bool windows64 = Windows64();
    HWND edit = GetDlgItem(dialog, IDC_CUSTOM_PATH);
    for (int id = IDC_PATH_C; id <= IDC_PATH_F; ++id) {
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
            EnableWindow(edit, FALSE);
            Outcome(dialog, id, StoreProgramFilesDir(registry, windows64, FixedPath(id)));
        }
    }
    if (IsDlgButtonChecked(dialog, IDC_CUSTOM) == BST_CHECKED) {
        // The edit is still disabled only on the command that finds the
        // custom button newly chosen: the moment to remember what it replaces.
        if (!IsWindowEnabled(edit)) RememberProgramFilesDir(registry, windows64, BeforeCustomChoice);
        EnableWindow(edit, TRUE);
        const int typed = ReadTypedPath(dialog);
        const TypedPathResult result = StoreTypedPath(registry, windows64, BeforeCustomChoice, typed < 0 ? nullptr : TextBuffer);
        if (result != TypedPathResult::Untold) Outcome(dialog, IDC_CUSTOM, result == TypedPathResult::Stored);
    }
}

}  // namespace

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CLOSE: OnClose(dialog); return TRUE;
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_COMMAND: OnCommand(dialog); return TRUE;
    default: return FALSE;
    }
}

}  // namespace tarnvale
