// Stands in for the web browser in end-to-end tests: records the command
// line it was started with, and how its window was to be shown, then ends.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    wchar_t path[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", path, MAX_PATH);
    lstrcatW(path, L"\\stub-browser.txt");
    if (FILE* file = _wfopen(path, L"ab")) {
        std::fwprintf(file, L"%d|%ls\n", show, GetCommandLineW());
        std::fclose(file);
    }
    return 0;
}
