// The main window's dialog procedure: one handler per message, and one per
// command of the commands table.
#include "main_window.h"

#include <commctrl.h>

#include <cstdlib>

#include "about_box.h"
#include "resource.h"
#include "text_file.h"
#include "translate.h"

namespace {

HWND g_tooltip;

struct Tool {
  int control;
  const char* text;  // Windows-1252
};

const Tool kTools[] = {
    {IDC_TRANSLATE, "t4Ke CaR3 tO Zorkel TranSlAtIon !!!"},
    {IDC_LOAD, "cH4ge Un f|chIeR t3xTe"},
    {IDC_SAVE,
     "SauV3 m0i \xE7"
     "4 dAnS uN FuCkin' fichier !"},
    {IDC_ABOUT, "DiS m'En plUs Fl0mby Boy..."},
    {IDC_QUIT, "Se3 yA in h3lL !"},
};

void AddTooltips(HWND hwnd) {
  g_tooltip = CreateWindowExA(
      0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
      CW_USEDEFAULT, 10, 10, hwnd, nullptr, g_instance, nullptr);
  for (const Tool& tool : kTools) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(hwnd, tool.control));
    info.lpszText = const_cast<LPSTR>(tool.text);
    SendMessageA(g_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  }
}

BOOL OnInitDialog(HWND hwnd) {
  CheckDlgButton(hwnd, IDC_RAND_MODE, BST_CHECKED);
  CheckDlgButton(hwnd, IDC_HARD_MODE, BST_CHECKED);
  AddTooltips(hwnd);
  return TRUE;  // the focus goes to the first tab stop, the text area
}

void Quit(HWND hwnd) {
  PostQuitMessage(0);
  DestroyWindow(hwnd);
}

void OnTranslate(HWND hwnd) {
  const LRESULT length =
      SendDlgItemMessageA(hwnd, IDC_TEXT, WM_GETTEXTLENGTH, 0, 0);
  if (length < 1) return;  // nothing to do, and nothing drawn
  char* buffer =
      static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
  if (!buffer) return;
  SendDlgItemMessageA(hwnd, IDC_TEXT, WM_GETTEXT,
                      static_cast<WPARAM>(length) + 1,
                      reinterpret_cast<LPARAM>(buffer));
  const bool hardMode = IsDlgButtonChecked(hwnd, IDC_HARD_MODE) == BST_CHECKED;
  const bool randMode = IsDlgButtonChecked(hwnd, IDC_RAND_MODE) == BST_CHECKED;
  TranslateText(buffer, static_cast<size_t>(length), randMode, hardMode);
  SendDlgItemMessageA(hwnd, IDC_TEXT, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(buffer));
  std::free(buffer);
}

void OnClear(HWND hwnd) {
  SendDlgItemMessageA(hwnd, IDC_TEXT, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(""));
}

BOOL OnCommand(HWND hwnd, WPARAM command) {
  // The whole wParam is compared: buttons notify with BN_CLICKED (0).
  switch (command) {
    case IDCANCEL:
      EndDialog(hwnd, 0);
      Quit(hwnd);
      return TRUE;
    case IDC_QUIT:
      Quit(hwnd);
      return TRUE;
    case IDC_LOAD:
      LoadTextFile(hwnd);
      return TRUE;
    case IDC_SAVE:
      SaveTextFile(hwnd);
      return TRUE;
    case IDC_ABOUT:
      ShowAboutBox(hwnd);
      return TRUE;
    case IDC_TRANSLATE:
      OnTranslate(hwnd);
      return TRUE;
    case IDC_CLEAR:
      OnClear(hwnd);
      return TRUE;
  }
  return FALSE;
}

void OnMouseMove(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = hwnd;
  msg.message = WM_MOUSEMOVE;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = static_cast<DWORD>(GetMessageTime());
  GetCursorPos(&msg.pt);
  SendMessageA(g_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(hwnd);
    case WM_COMMAND:
      return OnCommand(hwnd, wParam);
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, wParam, lParam);
      return FALSE;
  }
  return FALSE;
}
