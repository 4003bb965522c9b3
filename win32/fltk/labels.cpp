// Text for FLTK: Windows-1252 to UTF-8, and label quoting.
#include <cstring>

#include "core/ansi_text.h"
#include "widgets.h"

std::string ToUtf8(const char* ansi) {
  return AnsiToDisplay(ansi, std::strlen(ansi)).utf8;
}

std::string ToLabel(const char* ansi) {
  std::string utf8 = ToUtf8(ansi);
  std::string label;
  label.reserve(utf8.size());
  for (char c : utf8) {
    label += c;
    if (c == '@') label += '@';
  }
  return label;
}
