// A dialog control's whole text as bytes, through WM_GETTEXTLENGTH and
// WM_GETTEXT, and setting it through WM_SETTEXT, as the program does.
#pragma once

#include <windows.h>

#include <string>

inline std::string DialogItemText(HWND dialog, int control) {
  const auto n = SendDlgItemMessageA(dialog, control, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  SendDlgItemMessageA(dialog, control, WM_GETTEXT, text.size(),
                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

inline void SetDialogItemText(HWND dialog, int control,
                              const std::string& text) {
  SendDlgItemMessageA(dialog, control, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()));
}
