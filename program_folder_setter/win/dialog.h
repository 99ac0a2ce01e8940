#pragma once
#include <windows.h>

namespace tarnvale {

// The two program-wide items: the module that holds the template and the
// icon, and the buffer that every read of the typed path reuses.
extern HINSTANCE InstanceHandle;
extern char TextBuffer[1024];

// The one dialog procedure: closing, initialisation and every command.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tarnvale
