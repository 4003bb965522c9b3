// Resource identifiers shared by the resource script and the program's code.
#pragma once

#define IDD_MAIN 101
#define IDD_ABOUT 102
#define IDI_MAIN 103

#define IDC_STATIC (-1)

#define IDC_QUIT 1001
#define IDC_TEXT 1002
#define IDC_LOAD 1003
#define IDC_SAVE 1004
#define IDC_TRANSLATE 1005
#define IDC_ABOUT 1006
#define IDC_RAND_MODE 1007
#define IDC_HARD_MODE 1008
#define IDC_CREDITS 1009
#define IDC_CLEAR 1010
