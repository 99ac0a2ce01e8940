#pragma once
// Resource and control ids of Lumbrake. Shared by lumbrake.rc and the code,
// so plain #defines only.

// Icons: 1-19. The lowest id is the one Explorer shows for the program.
#define IDI_LUMBRAKE 1
#define IDI_APPLY 2
#define IDI_CANCEL 3
#define IDI_BROWSE 4

// Raw data: 20-39.
#define IDR_BANNER 20      // for the box at 96 DPI
#define IDR_BANNER_200 21  // at 192 DPI, and scaled for any other

// Controls of Form1: 100-199. IDOK (1) and IDCANCEL (2) stay unused: the
// dialog manager sends them for Enter and Esc, which press no button here.
#define IDC_COMMAND3 100
#define IDC_OPTION3 101
#define IDC_COMMAND1 102
#define IDC_OPTION1 103
#define IDC_OPTION2 104
#define IDC_FRAME2 105
#define IDC_LABEL2 106
#define IDC_LABEL1 107
#define IDC_LABEL9 108
#define IDC_LABEL10 109
#define IDC_LABEL11 110
#define IDC_PICTURE1 111
// The control arrays: index i is id + i.
#define IDC_COMBO1_0 120
#define IDC_COMMAND2_0 130
