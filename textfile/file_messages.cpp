// The messages of the Load and Save commands.
#include "file_messages.h"

#include <commdlg.h>

#include <string>

namespace {

const char kCaption[] = "Zorkel";

void Show(HWND mainWindow, const char* action, const char* path,
          const char* reason) {
  std::string text = action;
  text += "\n";
  text += path;
  text += "\n\n";
  text += reason;
  MessageBoxA(mainWindow, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
}

// The system's message for the last error, without its line end.
std::string LastErrorText() {
  const DWORD error = GetLastError();
  char buffer[512];
  DWORD n =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, buffer, sizeof buffer, nullptr);
  while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r' ||
                   buffer[n - 1] == ' ' || buffer[n - 1] == '.'))
    --n;
  if (n == 0) return "Error " + std::to_string(error) + ".";
  return std::string(buffer, n) + ".";
}

}  // namespace

void ShowLoadError(HWND mainWindow, const char* path, const char* reason) {
  Show(mainWindow, "Could not load the file", path, reason);
}

void ShowSaveError(HWND mainWindow, const char* path, const char* reason) {
  Show(mainWindow, "Could not save the text to", path, reason);
}

void ShowLoadSystemError(HWND mainWindow, const char* path) {
  ShowLoadError(mainWindow, path, LastErrorText().c_str());
}

void ShowSaveSystemError(HWND mainWindow, const char* path) {
  ShowSaveError(mainWindow, path, LastErrorText().c_str());
}

void ShowDialogError(HWND mainWindow, DWORD dialogError) {
  const std::string text = dialogError == FNERR_BUFFERTOOSMALL
                               ? "The chosen file's name is too long."
                               : "The file dialog failed (error " +
                                     std::to_string(dialogError) + ").";
  MessageBoxA(mainWindow, text.c_str(), kCaption, MB_OK | MB_ICONERROR);
}
