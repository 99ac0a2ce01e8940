#include "dialog.h"
#include "resource.h"

// The command line is not read; the dialog is everything the program does.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tarnvale::InstanceHandle = GetModuleHandleA(nullptr);
    DialogBoxParamA(tarnvale::InstanceHandle, MAKEINTRESOURCEA(IDD_PROGRAM_FOLDER), nullptr, tarnvale::DialogProc, 0);
    ExitProcess(0);
}
