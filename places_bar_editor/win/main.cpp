// Lumbrake: shows the places-bar policy of the current user and lets the
// user choose another.
#include "form1.h"

#include <platform/ansi.h>
#include <platform/win/system_dlls.h>
#include <platform/win/system_function.h>
#include <platform/win_registry.h>

#include <windows.h>
#include <commctrl.h>

namespace {

// The tool tips' class comes from comctl32, which is not a known DLL: it is
// loaded from the system folder by its full path rather than imported.
void LoadCommonControls() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    if (const auto initCommonControls = platform::SystemFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx"))
        initCommonControls(&classes);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    platform::SearchDllsInTheSystemFolderOnly();
    lumbrake::Module1 module1(platform::SystemRegistry(), platform::SystemCodePage());
    lumbrake::win::Form1 form1(module1);
    if (!form1.Show(instance, showCommand)) return 1;

    // What the first painting does not need waits until the window is on the
    // screen and the program idle: a timer's message comes only when no
    // other message waits. Loading comctl32 alone takes about a tenth of the
    // time to the first painting.
    const UINT_PTR startUp = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
    if (!startUp) {
        LoadCommonControls();
        form1.CompleteStartUp();
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && !message.hwnd && message.wParam == startUp) {
            KillTimer(nullptr, startUp);
            LoadCommonControls();
            form1.CompleteStartUp();
            continue;
        }
        form1.RelayToToolTips(message);
        // Tab and Shift+Tab through the controls, as in a dialog box.
        if (IsDialogMessageW(form1.Window(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
