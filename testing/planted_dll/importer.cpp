// A program that imports comctl32 at load time, as a control: beside the
// planted DLL, it loads it.
#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&classes) ? 0 : 1;
}
