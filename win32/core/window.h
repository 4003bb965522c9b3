// The core's window objects: what a HWND points at, the table of live
// windows, and the per-class window procedures. Internal to the layer.
//
// The core owns every window's Win32 state (identifier, styles, check state,
// enabled, owner); the backend owns the native widget that shows it and, for
// edit controls, the text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct BackendWidget;

enum class WindowClass { Dialog, Button, Edit, Static, Tooltip };

struct ToolEntry {
  HWND tool;
  UINT flags;
  std::string text;
};

struct HWND__ {
  WindowClass windowClass = WindowClass::Static;
  HWND parent = nullptr;  // children: their dialog; popups: their owner
  std::vector<HWND> children;
  HINSTANCE instance = nullptr;
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};  // pixels; children relative to their dialog's client area
  std::string text;
  bool enabled = true;
  bool visible = false;
  BackendWidget* widget = nullptr;

  // Buttons.
  UINT check = BST_UNCHECKED;

  // Dialogs.
  DLGPROC dialogProc = nullptr;
  int baseUnitX = 0;  // the dialog font's average character width
  int baseUnitY = 0;  // and height, for dialog units
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;

  // Tooltip windows.
  std::vector<ToolEntry> tools;
  MSG lastRelayed{};
};

// Live windows.
HWND NewWindow(WindowClass windowClass);
bool IsLive(HWND hwnd);
// The top-level window a window belongs to (itself for a top-level).
HWND TopLevelOf(HWND hwnd);

// Records the window that the toolkit has given the focus to.
void NoteFocus(HWND hwnd);

// The window procedure of each class; `WindowProcedure` picks by class.
LRESULT WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TooltipWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam);

// Caption handling shared by the classes whose text the core keeps.
LRESULT CaptionMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Copies `text` into a caller's buffer of `size` bytes as WM_GETTEXT does:
// at most size - 1 bytes and a terminating zero; returns the bytes copied.
LRESULT CopyTextOut(const char* text, std::size_t length, WPARAM size,
                    LPARAM buffer);
