// The program's only messages of its own: why a file could not be loaded or
// saved. Internal to the commands.
#pragma once

#include <windows.h>

// "Could not load" / "Could not save", the file, and the reason.
void ShowLoadError(HWND mainWindow, const char* path, const char* reason);
void ShowSaveError(HWND mainWindow, const char* path, const char* reason);

// The platform's text for the last error of a file function.
void ShowLoadSystemError(HWND mainWindow, const char* path);
void ShowSaveSystemError(HWND mainWindow, const char* path);

// A file dialog that failed rather than being cancelled.
void ShowDialogError(HWND mainWindow, DWORD dialogError);
