// MessageBoxA's window, drawn with FLTK's own message dialog.
#include <FL/fl_ask.H>

#include "widgets.h"

namespace {

// Breaks lines longer than `width` bytes (a long path, say), preferably after
// a '/' or a blank, so the box stays on the screen.
std::string WrapLongLines(const std::string& text, std::size_t width) {
  std::string out;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\n') {
      lineStart = out.size();
      continue;
    }
    if (out.size() - lineStart < width) continue;
    const std::size_t cut = out.find_last_of("/ ", out.size() - 1);
    const std::size_t at =
        cut != std::string::npos && cut > lineStart ? cut + 1 : out.size();
    // Never inside a UTF-8 sequence.
    std::size_t safe = at;
    while (safe > lineStart && safe < out.size() &&
           (static_cast<unsigned char>(out[safe]) & 0xC0) == 0x80)
      --safe;
    out.insert(safe, 1, '\n');
    lineStart = safe + 1;
  }
  return out;
}

}  // namespace

int BackendMessageBox(const char* text, const char* caption, UINT type) {
  const std::string message = WrapLongLines(ToUtf8(text), 72);
  const std::string title = ToUtf8(caption);
  fl_message_title(title.c_str());
  switch (type & 0xF0) {
    case MB_ICONHAND:
      fl_message_icon()->label("!");
      break;
    case MB_ICONQUESTION:
      fl_message_icon()->label("?");
      break;
    case MB_ICONEXCLAMATION:
      fl_message_icon()->label("!");
      break;
    default:
      fl_message_icon()->label("i");
  }
  // fl_choice returns the button's position; the first one is also what
  // Escape and the title-bar close give.
  switch (type & 0xF) {
    case MB_OKCANCEL:
      return fl_choice("%s", "Cancel", "OK", nullptr, message.c_str()) == 1
                 ? IDOK
                 : IDCANCEL;
    case MB_YESNO:
      return fl_choice("%s", "No", "Yes", nullptr, message.c_str()) == 1 ? IDYES
                                                                         : IDNO;
    case MB_YESNOCANCEL:
      switch (fl_choice("%s", "Cancel", "Yes", "No", message.c_str())) {
        case 1:
          return IDYES;
        case 2:
          return IDNO;
      }
      return IDCANCEL;
  }
  fl_choice("%s", "OK", nullptr, nullptr, message.c_str());
  return IDOK;
}
