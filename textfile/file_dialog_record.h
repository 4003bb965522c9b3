// The record both file dialogs are shown with. Internal to the commands.
#pragma once

#include <windows.h>
#include <commdlg.h>

// The file-name buffer holds any path this platform allows.
inline constexpr DWORD kFileNameBufferSize = 4096;  // PATH_MAX on Linux

// Fills `ofn` for the main window, with `fileName` (kFileNameBufferSize
// bytes, starting empty) as its file-name buffer.
void FillFileDialogRecord(OPENFILENAMEA& ofn, HWND mainWindow, char* fileName);
