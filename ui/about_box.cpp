// The About box's dialog procedure: one handler per message.
#include "about_box.h"

#include <cstring>

#include "main_window.h"
#include "resource.h"

const char kCredits[] =
    "\xA9 1998 Murkwin / Tolvag - all rights reserved \r\n"
    "-> C0d3d by Murkwin on c0ld coffee at 4am \r\n"
    "-> Dedicated to all l33t typists out there \r\n"
    " \r\n"
    "For any other information, you can contact me : \r\n"
    " murkwin@example.org - http://www.example.org/~tolvag/ \r\n";

namespace {

BOOL OnInitDialog(HWND hwnd) {
  char credits[500];
  static_assert(sizeof(kCredits) <= sizeof(credits),
                "the credits fit their buffer");
  std::memcpy(credits, kCredits, sizeof(kCredits));
  SendDlgItemMessageA(hwnd, IDC_CREDITS, WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(credits));
  return TRUE;  // the focus goes to the first tab stop, OK
}

BOOL OnCommand(HWND hwnd, WPARAM command) {
  // The whole wParam is compared: buttons notify with BN_CLICKED (0).
  switch (command) {
    case IDOK:
    case IDCANCEL:
      EndDialog(hwnd, 0);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowAboutBox(HWND owner) {
  DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUT), owner,
                  AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND hwnd, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(hwnd);
    case WM_COMMAND:
      return OnCommand(hwnd, wParam);
  }
  return FALSE;
}
