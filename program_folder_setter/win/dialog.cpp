#include "dialog.h"

#include "program_files_dir.h"
#include "resource.h"

namespace tarnvale {

HINSTANCE InstanceHandle;
char TextBuffer[1024];

namespace {

// The registry calls that StoreProgramFilesDir makes, straight onto advapi32.
struct Advapi32Registry {
    long CreateKey(platform::RegKey root, const char* path, platform::RegKey* result) {
        HKEY key = nullptr;
        LONG rc = RegCreateKeyA(reinterpret_cast<HKEY>(root), path, &key);
        *result = reinterpret_cast<platform::RegKey>(key);
        return rc;
    }
    long SetValueEx(platform::RegKey key, const char* name, std::uint32_t type, const void* data, std::uint32_t size) {
        return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, type, static_cast<const BYTE*>(data), size);
    }
    long CloseKey(platform::RegKey key) { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

void OnClose(HWND dialog) { EndDialog(dialog, 0); }

void OnInitDialog(HWND dialog) {
    // LoadIcon hands out a shared icon that the system frees: nothing to destroy.
    HICON icon = LoadIconA(InstanceHandle, MAKEINTRESOURCEA(IDI_PROGRAM));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    EnableWindow(GetDlgItem(dialog, IDC_CUSTOM_PATH), FALSE);
}

// Whichever control sent the command, and why, the checked choice is stored
// again. The five tests are independent; the buttons form one group, so at
// most one of them is checked.
void OnCommand(HWND dialog) {
    Advapi32Registry registry;
    HWND edit = GetDlgItem(dialog, IDC_CUSTOM_PATH);
    for (int id = IDC_PATH_C; id <= IDC_PATH_F; ++id) {
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
            EnableWindow(edit, FALSE);
            StoreProgramFilesDir(registry, FixedPath(id));
        }
    }
    if (IsDlgButtonChecked(dialog, IDC_CUSTOM) == BST_CHECKED) {
        EnableWindow(edit, TRUE);
        GetDlgItemTextA(dialog, IDC_CUSTOM_PATH, TextBuffer, sizeof TextBuffer);
        if (IsStorablePath(TextBuffer)) StoreProgramFilesDir(registry, TextBuffer);
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
