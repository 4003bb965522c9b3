// The program's entry: the main window and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "main_window.h"
#include "resource.h"

HINSTANCE g_instance;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance,
                   LPSTR lpCmdLine, int nCmdShow) {
  (void)hPrevInstance;
  (void)lpCmdLine;
  g_instance = hInstance;
  InitCommonControls();

  HWND mainWindow = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_MAIN),
                                       nullptr, MainDialogProc, 0);
  ShowWindow(mainWindow, nCmdShow);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
