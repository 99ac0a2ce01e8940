// Calls GetTickCount64, which Windows XP's kernel32 does not export: the
// release check must refuse this program.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return static_cast<int>(GetTickCount64() & 1); }
