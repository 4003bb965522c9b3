// The seam for tests: queued answers and the record of message boxes.
#include "test_answers.h"

#include <deque>
#include <win32_testing.h>

namespace {

struct Answers {
  std::deque<std::optional<std::string>> files;
  std::deque<int> messageBoxes;
  std::vector<Win32ShownMessageBox> shown;
  bool unattended = false;
};

Answers& State() {
  static Answers answers;
  return answers;
}

}  // namespace

void Win32AnswerNextFileDialog(const char* path) {
  State().files.push_back(path ? std::optional<std::string>(path)
                               : std::nullopt);
}

void Win32AnswerNextMessageBox(int id) { State().messageBoxes.push_back(id); }

void Win32SetUnattended(bool unattended) { State().unattended = unattended; }

std::vector<Win32ShownMessageBox> Win32TakeMessageBoxes() {
  std::vector<Win32ShownMessageBox> shown;
  shown.swap(State().shown);
  return shown;
}

bool TakeFileDialogAnswer(std::optional<std::string>& answer) {
  if (State().files.empty()) return false;
  answer = State().files.front();
  State().files.pop_front();
  return true;
}

bool TakeMessageBoxAnswer(int& id) {
  if (State().messageBoxes.empty()) return false;
  id = State().messageBoxes.front();
  State().messageBoxes.pop_front();
  return true;
}

bool Unattended() { return State().unattended; }

void RecordMessageBox(const char* caption, const char* text, unsigned type) {
  State().shown.push_back(
      Win32ShownMessageBox{caption ? caption : "", text ? text : "", type});
}
