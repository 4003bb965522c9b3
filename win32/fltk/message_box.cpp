// MessageBoxA's window, drawn with FLTK's own message dialog.
#include <FL/fl_ask.H>

#include "widgets.h"

int BackendMessageBox(const char* text, const char* caption, UINT type) {
  const std::string message = ToUtf8(text);
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
