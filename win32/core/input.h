// How a backend reports the user's input to the core. Each report becomes a
// posted message, as input does on the platform, so dialog procedures run
// only from the message loop, never from inside the toolkit's event handling.
// Input to a window whose top-level window is disabled is dropped.
#pragma once

#include <windows.h>

// A push button or check box was pressed (mouse, space bar, or Enter for the
// default button).
void Win32ReportClick(HWND button);
// The user asked to close a top-level window (title bar, window menu).
void Win32ReportClose(HWND window);
// Escape was pressed in a top-level window.
void Win32ReportEscape(HWND window);
// The mouse moved over a window's own area, at client coordinates x, y.
void Win32ReportMouseMove(HWND window, int x, int y);
// A window received the keyboard focus.
void Win32ReportFocus(HWND window);
