// The "Load file..." and "Save file..." commands of the main window: the
// text area's content replaced by a file's bytes, or written to a file, as
// raw bytes with no header, terminator or conversion. Neither command touches
// the check boxes or the random state.
#pragma once

#include <windows.h>

// Files larger than this are refused by Load: the text area would take
// several times the size in memory.
inline constexpr LONG kLargestTextFile = 64 * 1024 * 1024;

void LoadTextFile(HWND mainWindow);
void SaveTextFile(HWND mainWindow);
