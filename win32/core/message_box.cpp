// MessageBoxA: a modal message with buttons, its owner disabled while open.
#include <windows.h>

#include "backend.h"
#include "test_answers.h"
#include "window.h"

namespace {

// The answer of a box closed without a choice: cancel, no, or OK.
int DismissAnswer(UINT type) {
  switch (type & 0xF) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
      return IDCANCEL;
    case MB_YESNO:
      return IDNO;
  }
  return IDOK;
}

}  // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  const char* caption = lpCaption ? lpCaption : "Error";
  const char* text = lpText ? lpText : "";
  RecordMessageBox(caption, text, uType);
  int answer = 0;
  if (TakeMessageBoxAnswer(answer)) return answer;
  if (Unattended()) return DismissAnswer(uType);

  HWND owner = IsLive(hWnd) ? TopLevelOf(hWnd) : nullptr;
  const bool disableOwner = owner && owner->enabled;
  if (disableOwner) EnableWindow(owner, FALSE);
  answer = BackendMessageBox(text, caption, uType);
  if (disableOwner && IsLive(owner)) EnableWindow(owner, TRUE);
  return answer;
}
