#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"对话框的常用位置！", L"Veltrix", MB_OK);
    return 0;
}
