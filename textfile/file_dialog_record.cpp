// The record both file dialogs are shown with.
#include "file_dialog_record.h"

void FillFileDialogRecord(OPENFILENAMEA& ofn, HWND mainWindow, char* fileName) {
  ofn = OPENFILENAMEA{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400;
  ofn.hwndOwner = mainWindow;
  ofn.hInstance = reinterpret_cast<HINSTANCE>(
      GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
  ofn.lpstrFilter =
      "Fichiers TXT (*.txt)\0*.txt\0"
      "All files (*.*)\0*.*\0";
  ofn.nFilterIndex = 0;
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = kFileNameBufferSize;
  ofn.Flags = OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_FILEMUSTEXIST |
              OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  ofn.lpstrDefExt = "TXT";
}
