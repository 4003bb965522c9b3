// The dialog manager: dialogs made from templates, modeless and modal, the
// default dialog processing, and access to a dialog's controls.
#include <windows.h>

#include "backend.h"
#include "icon_image.h"
#include "module.h"
#include "window.h"

namespace {

// Scales a dialog-unit value, rounding half away from zero as MulDiv does.
LONG Scale(LONG value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<LONG>(product >= 0 ? (product + half) / denominator
                                        : (product - half) / denominator);
}

// Edges are scaled one by one, as MapDialogRect does.
RECT DialogUnitsToPixels(HWND dialog, short x, short y, short cx, short cy) {
  return RECT{Scale(x, dialog->baseUnitX, 4), Scale(y, dialog->baseUnitY, 8),
              Scale(x + cx, dialog->baseUnitX, 4),
              Scale(y + cy, dialog->baseUnitY, 8)};
}

bool ClassIs(const char* name, const char* expected) {
  for (; *name && *expected; ++name, ++expected) {
    char c = *name;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != *expected) return false;
  }
  return *name == *expected;
}

bool IconFor(HINSTANCE instance, int id, IconImage& image) {
  const Win32IconResource* icon = FindIcon(instance, id);
  return icon && DecodeIcon(icon->data, icon->size, image);
}

HWND CreateControl(HWND dialog, const Win32DialogItem& item) {
  WindowClass windowClass;
  BackendControl kind;
  const DWORD style = static_cast<DWORD>(item.style);
  if (ClassIs(item.className, "BUTTON")) {
    windowClass = WindowClass::Button;
    switch (style & BS_TYPEMASK) {
      case BS_DEFPUSHBUTTON:
        kind = BackendControl::DefPushButton;
        break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
        kind = BackendControl::CheckBox;
        break;
      default:
        kind = BackendControl::PushButton;
    }
  } else if (ClassIs(item.className, "EDIT")) {
    windowClass = WindowClass::Edit;
    kind = BackendControl::Edit;
  } else if (ClassIs(item.className, "STATIC")) {
    windowClass = WindowClass::Static;
    kind = (style & SS_TYPEMASK) == SS_ICON ? BackendControl::StaticIcon
                                            : BackendControl::StaticText;
  } else {
    return nullptr;  // a class this layer does not provide
  }

  HWND control = NewWindow(windowClass);
  control->parent = dialog;
  control->instance = dialog->instance;
  control->id = item.id;
  control->style = style;
  control->exStyle = static_cast<DWORD>(item.exStyle);
  control->rect = DialogUnitsToPixels(dialog, item.x, item.y, item.cx, item.cy);
  control->visible = (style & WS_VISIBLE) != 0;
  dialog->children.push_back(control);

  IconImage icon;
  const bool hasIcon = kind == BackendControl::StaticIcon &&
                       IconFor(dialog->instance, item.iconId, icon);
  const char* text = item.text ? item.text : "";
  if (windowClass != WindowClass::Edit) control->text = text;
  control->widget =
      BackendCreateControl(control, dialog->widget, kind, control->rect, style,
                           text, hasIcon ? &icon : nullptr);
  if (windowClass == WindowClass::Edit) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (style & ES_READONLY) BackendSetEditReadOnly(control->widget, true);
  }
  if (style & WS_DISABLED) {
    control->enabled = true;  // so that EnableWindow tells the backend
    EnableWindow(control, FALSE);
  }
  return control;
}

HWND FirstTabStop(HWND dialog) {
  for (HWND child : dialog->children)
    if ((child->style & WS_TABSTOP) && child->visible && child->enabled)
      return child;
  return nullptr;
}

HWND CreateDialogFromTemplate(HINSTANCE instance,
                              const Win32DialogTemplate& dialogTemplate,
                              HWND owner, DLGPROC proc, LPARAM initParam,
                              bool modal) {
  HWND dialog = NewWindow(WindowClass::Dialog);
  dialog->instance = instance;
  dialog->parent = owner;
  dialog->style = static_cast<DWORD>(dialogTemplate.style) &
                  ~static_cast<DWORD>(WS_VISIBLE);
  dialog->exStyle = static_cast<DWORD>(dialogTemplate.exStyle);
  dialog->text = dialogTemplate.caption ? dialogTemplate.caption : "";
  dialog->dialogProc = proc;
  dialog->modal = modal;

  // Without DS_SETFONT a dialog uses the system font; both map to the
  // desktop's sans-serif face here.
  const bool setFont = (dialogTemplate.style & DS_SETFONT) &&
                       dialogTemplate.fontFace && *dialogTemplate.fontFace;
  const BackendFont font =
      BackendMeasureFont(setFont ? dialogTemplate.fontFace : "MS Sans Serif",
                         setFont ? dialogTemplate.fontPointSize : 8);
  dialog->baseUnitX = font.averageWidth;
  dialog->baseUnitY = font.height;
  const RECT client =
      DialogUnitsToPixels(dialog, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
  dialog->rect = client;
  dialog->widget =
      BackendCreateWindow(dialog, dialog->text.c_str(), client.right,
                          client.bottom, dialog->style, owner);
  if (const Win32IconResource* appIcon = ApplicationIcon(instance)) {
    IconImage image;
    if (DecodeIcon(appIcon->data, appIcon->size, image))
      BackendSetWindowIcon(dialog->widget, image);
  }

  for (int i = 0; i < dialogTemplate.itemCount; ++i) {
    if (!CreateControl(dialog, dialogTemplate.items[i])) {
      DestroyWindow(dialog);
      return nullptr;
    }
  }

  HWND firstTab = FirstTabStop(dialog);
  const LRESULT setFocus = SendMessageA(
      dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), initParam);
  if (!IsLive(dialog)) return nullptr;
  // TRUE asks the dialog manager to focus the first tab stop.
  if (setFocus && firstTab) SetFocus(firstTab);
  if (dialogTemplate.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

LRESULT DefaultDialogProcessing(HWND dialog, UINT message, WPARAM wParam,
                                LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // A close request becomes the cancel command.
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return CaptionMessage(dialog, message, wParam, lParam);
  }
  return 0;
}

}  // namespace

LRESULT DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  const INT_PTR handled = hwnd->dialogProc
                              ? hwnd->dialogProc(hwnd, message, wParam, lParam)
                              : FALSE;
  if (message == WM_INITDIALOG) return handled;
  if (handled || !IsLive(hwnd)) return handled;
  return DefaultDialogProcessing(hwnd, message, wParam, lParam);
}

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                               HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  const Win32DialogTemplate* dialogTemplate =
      FindDialogTemplate(hInstance, lpTemplateName);
  if (!dialogTemplate) return nullptr;
  return CreateDialogFromTemplate(hInstance, *dialogTemplate,
                                  IsLive(hWndParent) ? hWndParent : nullptr,
                                  lpDialogFunc, dwInitParam, false);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                               HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  const Win32DialogTemplate* dialogTemplate =
      FindDialogTemplate(hInstance, lpTemplateName);
  if (!dialogTemplate) return -1;
  HWND owner = IsLive(hWndParent) ? TopLevelOf(hWndParent) : nullptr;
  const bool disableOwner = owner && owner->enabled;
  HWND focusBefore = GetFocus();

  HWND dialog = CreateDialogFromTemplate(hInstance, *dialogTemplate, owner,
                                         lpDialogFunc, dwInitParam, true);
  if (!dialog) return -1;
  // The owner takes no input while the box is open.
  if (disableOwner) EnableWindow(owner, FALSE);
  if (!dialog->ended) ShowWindow(dialog, SW_SHOWNORMAL);

  MSG msg;
  while (IsLive(dialog) && !dialog->ended) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      // The quit request belongs to the outer loop: end the box and pass it on.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }

  const INT_PTR result = IsLive(dialog) ? dialog->result : -1;
  if (disableOwner && IsLive(owner)) EnableWindow(owner, TRUE);
  if (IsLive(dialog)) DestroyWindow(dialog);
  // The owner, active again, gives the focus back to the control that had it
  // before the box opened, so the keyboard works there without a click.
  if (IsLive(focusBefore) && focusBefore->enabled &&
      IsLive(TopLevelOf(focusBefore)) && TopLevelOf(focusBefore)->enabled)
    SetFocus(focusBefore);
  return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  if (!IsLive(hDlg) || hDlg->windowClass != WindowClass::Dialog) return FALSE;
  hDlg->ended = true;
  hDlg->result = nResult;
  return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  if (!IsLive(hDlg)) return nullptr;
  for (HWND child : hDlg->children)
    if (child->id == nIDDlgItem) return child;
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) { return IsLive(hWnd) ? hWnd->id : 0; }

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg,
                                   WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item ? SendMessageA(item, Msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  if (!button) return FALSE;
  SendMessageA(button, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  return static_cast<UINT>(
      SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  if (!IsLive(hDlg) || hDlg->windowClass != WindowClass::Dialog || !lpRect)
    return FALSE;
  const RECT r = *lpRect;
  lpRect->left = Scale(r.left, hDlg->baseUnitX, 4);
  lpRect->right = Scale(r.right, hDlg->baseUnitX, 4);
  lpRect->top = Scale(r.top, hDlg->baseUnitY, 8);
  lpRect->bottom = Scale(r.bottom, hDlg->baseUnitY, 8);
  return TRUE;
}
