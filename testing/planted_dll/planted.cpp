// A comctl32.dll as someone could leave it beside a downloaded program: when
// it is loaded, it says so in the registry. It exports what a program that
// imports comctl32 for its tool tips would look for.
#include <windows.h>

extern "C" {

__declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*) { return TRUE; }
__declspec(dllexport) void WINAPI InitCommonControls() {}

}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\LumbrakeTests\\Planted", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            RegSetValueExW(key, L"LoadedBy", 0, REG_SZ, reinterpret_cast<const BYTE*>(program),
                           static_cast<DWORD>((lstrlenW(program) + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
    }
    return TRUE;
}
