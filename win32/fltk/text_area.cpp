// The multi-line edit control on Fl_Text_Editor; see text_area.h.
#include "text_area.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include <FL/Fl.H>

#include "ansi_text.h"

namespace {

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};
// Fl_Text_Buffer::text() hands out a malloc'ed copy.
using BufferCopy = std::unique_ptr<char, FreeDeleter>;

// Text from the user (typed, pasted or dropped) in the form the buffer holds:
// it ends at a zero byte as clipboard text does, every line end (CR LF, CR,
// LF) becomes '\n', and each character Windows-1252 lacks becomes '?'.
std::string ToBufferText(const char* utf8, std::size_t length) {
  if (utf8 == nullptr) return {};
  std::string lines;
  lines.reserve(length);
  for (std::size_t i = 0; i < length && utf8[i] != '\0'; ++i) {
    if (utf8[i] == '\r') {
      lines.push_back('\n');
      if (i + 1 < length && utf8[i + 1] == '\n') ++i;
    } else {
      lines.push_back(utf8[i]);
    }
  }
  // Through the bytes and back: the round trip is what drops the characters
  // Windows-1252 lacks, with the same rules GetBytes uses.
  const std::string ansi = DisplayToAnsi(lines.data(), nullptr, lines.size());
  return AnsiToDisplay(ansi.data(), ansi.size()).utf8;
}

bool IsNavigationKey(int key) {
  switch (key) {
    case FL_Left:
    case FL_Right:
    case FL_Up:
    case FL_Down:
    case FL_Home:
    case FL_End:
    case FL_Page_Up:
    case FL_Page_Down:
      return true;
    default:
      return false;
  }
}

}  // namespace

TextArea::TextArea(int x, int y, int w, int h) : Fl_Text_Editor(x, y, w, h) {
  // The style buffer only mirrors the text; undo belongs to the text alone.
  // It is not handed to the editor as highlight data: every style looks the
  // same, and drawing would only pay for looking it up.
  styleBuffer.canUndo(0);
  buffer(&textBuffer);
  textBuffer.add_modify_callback(OnModify, this);
  wrap_mode(WRAP_NONE, 0);
}

void TextArea::SetBytes(const char* bytes, std::size_t length) {
  if (bytes == nullptr) length = 0;
  if (const void* zero = length ? std::memchr(bytes, '\0', length) : nullptr) {
    length = static_cast<std::size_t>(static_cast<const char*>(zero) - bytes);
  }
  const DisplayText display = AnsiToDisplay(bytes, length);

  // Both buffers are written whole here; OnModify stays out of it.
  settingBytes_ = true;
  styleBuffer.text(display.style.c_str());
  textBuffer.text(display.utf8.c_str());
  settingBytes_ = false;
  byteLength_ = length;
  byteLengthKnown_ = true;

  // Like WM_SETTEXT: no undo into the old text, caret at the start.
  textBuffer.canUndo(0);
  textBuffer.canUndo(1);
  insert_position(0);
  show_insert_position();
}

std::string TextArea::GetBytes() const {
  const BufferCopy text(textBuffer.text());
  const BufferCopy style(styleBuffer.text());
  return DisplayToAnsi(text.get(), style.get(),
                       static_cast<std::size_t>(textBuffer.length()));
}

std::size_t TextArea::ByteLength() const {
  if (byteLengthKnown_) return byteLength_;
  // One byte per character, two for a '\n' that stands for CR LF. The buffer
  // only ever holds well-formed UTF-8 (all input passes ToBufferText), so
  // counting lead bytes counts characters.
  const BufferCopy text(textBuffer.text());
  const BufferCopy style(styleBuffer.text());
  const auto* t = reinterpret_cast<const unsigned char*>(text.get());
  const char* s = style.get();
  const std::size_t length = static_cast<std::size_t>(textBuffer.length());
  std::size_t count = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if ((t[i] & 0xC0) != 0x80) ++count;
    if (t[i] == '\n' && s[i] != kStyleLoneLf && s[i] != kStyleLoneCr) ++count;
  }
  byteLength_ = count;
  byteLengthKnown_ = true;
  return count;
}

void TextArea::SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

void TextArea::SetTextFont(Fl_Font font, int size) {
  textfont(font);
  textsize(size);
  // Laying out again makes the editor measure the new line height.
  resize(x(), y(), w(), h());
  redraw();
}

int TextArea::handle(int event) {
  switch (event) {
    case FL_KEYBOARD:
      return HandleKey();
    case FL_PASTE:
      return HandlePaste();
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
      if (readOnly_) return 0;  // refuse the drop
      break;
    default:
      break;
  }
  return Fl_Text_Editor::handle(event);
}

int TextArea::HandleKey() {
  // Tab and Shift+Tab are left to the window, which moves the focus (what
  // tab_nav(1) does in later FLTK versions).
  if (Fl::event_key() == FL_Tab && !Fl::event_state(FL_CTRL | FL_ALT | FL_META))
    return 0;
  if (readOnly_) return HandleReadOnlyKey();
  if (Fl::event_key() == 'z' && Fl::event_state(FL_CTRL) &&
      !Fl::event_state(FL_ALT | FL_META | FL_SHIFT)) {
    // FLTK's own undo key moves the caret to a position that the buffer
    // leaves unset when there is nothing to undo.
    int caret = insert_position();
    if (textBuffer.undo(&caret)) {
      insert_position(caret);
      show_insert_position();
    }
    return 1;
  }
  std::string text = ToBufferText(Fl::event_text(),
                                  static_cast<std::size_t>(Fl::event_length()));
  return ForwardWithText(FL_KEYBOARD, text);
}

int TextArea::HandleReadOnlyKey() {
  const int key = Fl::event_key();
  const bool ctrl = Fl::event_state(FL_CTRL) != 0;
  const bool shift = Fl::event_state(FL_SHIFT) != 0;
  const bool altOrMeta = Fl::event_state(FL_ALT | FL_META) != 0;

  if (IsNavigationKey(key)) return Fl_Text_Editor::handle(FL_KEYBOARD);
  switch (key) {
    case FL_Escape:
    case FL_Enter:
    case FL_KP_Enter:
      return 0;  // the dialog's keys
    case FL_BackSpace:
    case FL_Delete:  // Shift+Delete is cut
      return 1;
    case FL_Insert:  // Ctrl+Insert copies, Shift+Insert pastes
      return ctrl && !shift ? Fl_Text_Editor::handle(FL_KEYBOARD) : 1;
    default:
      break;
  }
  if (altOrMeta) return 0;  // mnemonics and menus
  if (ctrl) {
    if (key == 'c' || key == 'a') return Fl_Text_Editor::handle(FL_KEYBOARD);
    if (key == 'x' || key == 'v' || key == 'z') return 1;
    return 0;
  }
  // A typed character is swallowed, so it cannot trigger a button's
  // shortcut instead.
  return Fl::event_length() > 0 ? 1 : 0;
}

int TextArea::HandlePaste() {
  if (readOnly_) return 1;
  std::string text = ToBufferText(Fl::event_text(),
                                  static_cast<std::size_t>(Fl::event_length()));
  return ForwardWithText(FL_PASTE, text);
}

int TextArea::ForwardWithText(int event, std::string& text) {
  char* const savedText = Fl::e_text;
  const int savedLength = Fl::e_length;
  Fl::e_text = text.data();
  Fl::e_length = static_cast<int>(text.size());
  const int used = Fl_Text_Editor::handle(event);
  Fl::e_text = savedText;
  Fl::e_length = savedLength;
  return used;
}

void TextArea::OnModify(int pos, int inserted, int deleted, int /*restyled*/,
                        const char* /*deletedText*/, void* self) {
  auto* area = static_cast<TextArea*>(self);
  if (area->settingBytes_ || (inserted == 0 && deleted == 0)) return;
  area->byteLengthKnown_ = false;
  // New text is plain text: a '\n' typed, pasted or restored by undo reads
  // back as CR LF.
  if (inserted > 0) {
    const std::string style(static_cast<std::size_t>(inserted), kStyleText);
    area->styleBuffer.replace(pos, pos + deleted, style.c_str());
  } else {
    area->styleBuffer.remove(pos, pos + deleted);
  }
}
