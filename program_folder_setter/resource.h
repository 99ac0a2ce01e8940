#pragma once
// Resource and control ids, shared by the .rc, the dialog procedure and the
// portable decisions. The numbers are fixed: tests and users' habits rely on them.

#define IDD_PROGRAM_FOLDER 1
#define IDI_PROGRAM 1000

// The four fixed-path radio buttons are contiguous: 1001 is C:, 1004 is F:.
#define IDC_PATH_C 1001
#define IDC_PATH_D 1002
#define IDC_PATH_E 1003
#define IDC_PATH_F 1004
#define IDC_CUSTOM 1005
#define IDC_CUSTOM_PATH 1006
#define IDC_NOTICE 2
#define IDC_FRAME 3
