// The layer's seam for tests: answers for the next file dialogs and message
// boxes, so that commands can be tested through the real dialog procedures
// without a person. Not part of the platform's API; programs never use it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The next file dialog returns this path as if the person had chosen it
// (null: the person cancels). Answers are taken in order.
void Win32AnswerNextFileDialog(const char* path);
// The next message box returns this button identifier (IDOK, IDYES, ...).
void Win32AnswerNextMessageBox(int id);

// Unattended: a dialog with no answer waiting is cancelled (a message box
// returns its cancel, no or OK button) instead of asking a person.
void Win32SetUnattended(bool unattended);

struct Win32ShownMessageBox {
  std::string caption;
  std::string text;
  UINT type;
};
// The message boxes shown or answered since the last call, oldest first.
std::vector<Win32ShownMessageBox> Win32TakeMessageBoxes();
