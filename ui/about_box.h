// The About box: the program's name, its makers and the credits.
#pragma once

#include <windows.h>

// The credits shown in the About box, Windows-1252 bytes: six lines, each
// ending with a blank and CR LF.
extern const char kCredits[];

// Opens the About box over `owner` and returns once it has been closed.
void ShowAboutBox(HWND owner);

INT_PTR CALLBACK AboutDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                 LPARAM lParam);
