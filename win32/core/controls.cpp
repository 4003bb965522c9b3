// The window procedures of the standard controls: buttons (push buttons and
// check boxes), edit controls and static controls.
#include <cstring>

#include "backend.h"
#include "window.h"

namespace {

bool IsCheckBox(HWND button) {
  const DWORD type = button->style & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

}  // namespace

LRESULT ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  switch (message) {
    case BM_CLICK:
      if (!hwnd->enabled) return 0;
      // An auto check box toggles itself before its dialog hears of it.
      if ((hwnd->style & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        SendMessageA(hwnd, BM_SETCHECK,
                     hwnd->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED,
                     0);
      if (hwnd->parent)
        SendMessageA(hwnd->parent, WM_COMMAND, MAKEWPARAM(hwnd->id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case BM_GETCHECK:
      return IsCheckBox(hwnd) ? hwnd->check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (IsCheckBox(hwnd)) {
        hwnd->check = static_cast<UINT>(wParam) == BST_CHECKED ? BST_CHECKED
                                                               : BST_UNCHECKED;
        if (hwnd->widget)
          BackendSetCheck(hwnd->widget, hwnd->check == BST_CHECKED);
      }
      return 0;
  }
  return CaptionMessage(hwnd, message, wParam, lParam);
}

LRESULT EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      if (!text) text = "";
      BackendSetEditText(hwnd->widget, text, std::strlen(text));
      return TRUE;
    }
    case WM_GETTEXT: {
      if (wParam == 0) return 0;
      const std::string text = BackendGetEditText(hwnd->widget);
      return CopyTextOut(text.data(), text.size(), wParam, lParam);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(BackendEditTextLength(hwnd->widget));
    case EM_SETREADONLY:
      if (wParam)
        hwnd->style |= ES_READONLY;
      else
        hwnd->style &= ~static_cast<DWORD>(ES_READONLY);
      BackendSetEditReadOnly(hwnd->widget, wParam != 0);
      return TRUE;
  }
  return 0;
}

LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  return CaptionMessage(hwnd, message, wParam, lParam);
}
