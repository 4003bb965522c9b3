// "Load file...": the text area's content replaced by a file's bytes.
#include <commdlg.h>

#include <cstdlib>

#include "resource.h"
#include "file_dialog_record.h"
#include "file_messages.h"
#include "text_file.h"

namespace {

// Reads the whole file into a new buffer with a zero byte after it; on
// failure shows why and returns null.
char* ReadWholeFile(HWND mainWindow, const char* path, HFILE file) {
  // A folder, a device or a pipe has no size to read, and a FIFO or
  // /dev/zero would be waited on or never end: only regular files.
  if (GetFileType(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file))) !=
      FILE_TYPE_DISK) {
    ShowLoadError(mainWindow, path,
                  "It is not a regular file (a folder, a device or a pipe).");
    return nullptr;
  }
  const LONG size = _llseek(file, 0, FILE_END);
  if (size == HFILE_ERROR || _llseek(file, 0, FILE_BEGIN) == HFILE_ERROR) {
    ShowLoadSystemError(mainWindow, path);
    return nullptr;
  }
  if (size > kLargestTextFile) {
    ShowLoadError(mainWindow, path,
                  "It is larger than 64 MiB, the most the text area takes.");
    return nullptr;
  }
  char* buffer = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
  if (!buffer) {
    ShowLoadError(mainWindow, path, "There is not enough memory.");
    return nullptr;
  }
  const UINT got = _lread(file, buffer, static_cast<UINT>(size));
  if (got == static_cast<UINT>(HFILE_ERROR)) {
    ShowLoadSystemError(mainWindow, path);
    std::free(buffer);
    return nullptr;
  }
  // A file that shrank or grew while it was read would give a text that
  // never was in the file.
  char extra;
  const UINT more =
      got == static_cast<UINT>(size) ? _lread(file, &extra, 1) : 0;
  if (more == static_cast<UINT>(HFILE_ERROR)) {
    ShowLoadSystemError(mainWindow, path);
    std::free(buffer);
    return nullptr;
  }
  if (got != static_cast<UINT>(size) || more != 0) {
    ShowLoadError(mainWindow, path,
                  "It changed while it was being read. Try again.");
    std::free(buffer);
    return nullptr;
  }
  buffer[size] = '\0';
  return buffer;
}

}  // namespace

void LoadTextFile(HWND mainWindow) {
  char* fileName = static_cast<char*>(std::calloc(kFileNameBufferSize, 1));
  if (!fileName) return;
  OPENFILENAMEA ofn;
  FillFileDialogRecord(ofn, mainWindow, fileName);
  if (!GetOpenFileNameA(&ofn)) {
    if (const DWORD error = CommDlgExtendedError())
      ShowDialogError(mainWindow, error);
    std::free(fileName);
    return;
  }

  const HFILE file = _lopen(fileName, OF_READ);
  if (file == HFILE_ERROR) {
    ShowLoadSystemError(mainWindow, fileName);
  } else {
    if (char* text = ReadWholeFile(mainWindow, fileName, file)) {
      // The whole previous content is replaced; a zero byte ends the text.
      SendDlgItemMessageA(mainWindow, IDC_TEXT, WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(text));
      std::free(text);
    }
    _lclose(file);
  }
  std::free(fileName);
}
