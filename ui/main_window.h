// The main window: its dialog procedure and the commands it carries out.
#pragma once

#include <windows.h>

// Set once by WinMain, kept for the life of the process.
extern HINSTANCE g_instance;

INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                LPARAM lParam);
