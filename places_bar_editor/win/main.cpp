// Lumbrake: shows the places-bar policy of the current user and lets the
// user choose another.
#include "form1.h"

#include <platform/ansi.h>
#include <platform/win_registry.h>

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};  // the tool tips
    InitCommonControlsEx(&classes);

    lumbrake::Module1 module1(platform::SystemRegistry(), platform::SystemCodePage());
    lumbrake::win::Form1 form1(module1);
    if (!form1.Show(instance, showCommand)) return 1;

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        form1.RelayToToolTips(message);
        // Tab and Shift+Tab through the controls, as in a dialog box.
        if (IsDialogMessageW(form1.Window(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
