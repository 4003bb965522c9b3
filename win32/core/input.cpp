// Input reported by the backend, turned into posted messages.
#include "input.h"

#include "message_queue.h"
#include "window.h"

namespace {

bool AcceptsInput(HWND hwnd) {
  if (!IsLive(hwnd) || !hwnd->enabled) return false;
  HWND top = TopLevelOf(hwnd);
  return IsLive(top) && top->enabled;
}

}  // namespace

void Win32ReportClick(HWND button) {
  if (AcceptsInput(button)) PostMessageA(button, BM_CLICK, 0, 0);
}

void Win32ReportClose(HWND window) {
  if (AcceptsInput(window)) PostMessageA(window, WM_CLOSE, 0, 0);
}

void Win32ReportEscape(HWND window) {
  // Only a modal dialog's loop does the dialog keyboard handling that turns
  // Escape into the cancel command; the main window's loop does not, so
  // Escape never closes it.
  if (AcceptsInput(window) && window->windowClass == WindowClass::Dialog &&
      window->modal)
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
}

void Win32ReportMouseMove(HWND window, int x, int y) {
  if (!AcceptsInput(window)) return;
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void Win32ReportFocus(HWND window) { NoteFocus(window); }
