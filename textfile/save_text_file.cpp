// "Save file...": the text area's bytes written to a file, replacing it
// safely, or in place where it cannot be replaced.
#include <commdlg.h>

#include <cstdlib>
#include <cstring>

#include "resource.h"
#include "file_dialog_record.h"
#include "file_messages.h"
#include "replace_file.h"
#include "text_file.h"

namespace {

// The original way, for targets that must keep their identity (devices,
// hard-linked files, bind mounts): create or truncate, write, close; each
// step checked.
void WriteInPlace(HWND mainWindow, const char* path, const char* text,
                  UINT length) {
  const HFILE file = _lcreat(path, 0);
  if (file == HFILE_ERROR) {
    ShowSaveSystemError(mainWindow, path);
    return;
  }
  if (length > 0 && _lwrite(file, text, length) != length) {
    ShowSaveSystemError(mainWindow, path);
    _lclose(file);
    return;
  }
  if (_lclose(file) == HFILE_ERROR) ShowSaveSystemError(mainWindow, path);
}

void WriteText(HWND mainWindow, const char* path, const char* text,
               UINT length) {
  const ReplaceOutcome outcome = ReplaceFileContents(path, text, length);
  switch (outcome.result) {
    case ReplaceResult::Replaced:
      return;
    case ReplaceResult::WriteInPlace:
      WriteInPlace(mainWindow, outcome.target.c_str(), text, length);
      return;
    case ReplaceResult::Failed:
      ShowSaveError(mainWindow, path,
                    (std::string(std::strerror(outcome.error)) + ".").c_str());
      return;
  }
}

}  // namespace

void SaveTextFile(HWND mainWindow) {
  char* fileName = static_cast<char*>(std::calloc(kFileNameBufferSize, 1));
  if (!fileName) return;
  OPENFILENAMEA ofn;
  FillFileDialogRecord(ofn, mainWindow, fileName);
  if (!GetSaveFileNameA(&ofn)) {
    if (const DWORD error = CommDlgExtendedError())
      ShowDialogError(mainWindow, error);
    std::free(fileName);
    return;
  }

  const LRESULT length =
      SendDlgItemMessageA(mainWindow, IDC_TEXT, WM_GETTEXTLENGTH, 0, 0);
  char* text = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
  if (!text) {
    ShowSaveError(mainWindow, fileName, "There is not enough memory.");
  } else {
    SendDlgItemMessageA(mainWindow, IDC_TEXT, WM_GETTEXT,
                        static_cast<WPARAM>(length) + 1,
                        reinterpret_cast<LPARAM>(text));
    WriteText(mainWindow, fileName, text, static_cast<UINT>(length));
    std::free(text);
  }
  std::free(fileName);
}
