// The layer's multi-line edit control: an FLTK text editor whose content goes
// in and out as Windows-1252 bytes.
//
// The editor shows the display form of ansi_text.h, so a lone LF or a lone CR
// is a line break on screen and still comes back as it went in. Whatever the
// user types or pastes is cut down to what Windows-1252 can hold ('?' for the
// rest) before it reaches the buffer, and a line break entered reads back as
// CR LF. No word wrap; Tab leaves the control instead of inserting a tab.
//
// This class does not know about window handles, messages or notifications;
// the edit control built on it maps those to these calls.
#pragma once

#include <cstddef>
#include <string>

#include <FL/Enumerations.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

namespace text_area_detail {

// The text and its parallel style string. A base class rather than members so
// that it is built before the editor and destroyed after it: the editor's
// destructor still detaches itself from the text buffer.
struct Buffers {
  Fl_Text_Buffer textBuffer;
  Fl_Text_Buffer styleBuffer;
};

}  // namespace text_area_detail

class TextArea : private text_area_detail::Buffers, public Fl_Text_Editor {
 public:
  TextArea(int x, int y, int w, int h);
  TextArea(const TextArea&) = delete;
  TextArea& operator=(const TextArea&) = delete;

  // Replaces the whole content with Windows-1252 bytes (a zero byte, if any,
  // ends them). Clears the selection and the undo step; the caret goes to the
  // start.
  void SetBytes(const char* bytes, std::size_t length);

  // The content as Windows-1252 bytes: exactly what SetBytes was given when
  // nothing has been edited since.
  std::string GetBytes() const;

  // GetBytes().size(), counted without building the bytes and kept until the
  // next edit.
  std::size_t ByteLength() const;

  // A read-only control still lets the user select, scroll and copy, but no
  // key, paste, drop or undo changes the text. SetBytes still does.
  void SetReadOnly(bool readOnly);
  bool ReadOnly() const { return readOnly_; }

  void SetTextFont(Fl_Font font, int size);

  int handle(int event) override;

 private:
  static void OnModify(int pos, int inserted, int deleted, int restyled,
                       const char* deletedText, void* self);
  int HandleKey();
  int HandleReadOnlyKey();
  int HandlePaste();
  // Runs the editor's own handling of `event` with Fl::event_text() replaced
  // by `text`, so FLTK's insert, overstrike and drop logic stay as they are.
  int ForwardWithText(int event, std::string& text);

  bool readOnly_ = false;
  bool settingBytes_ = false;  // SetBytes writes both buffers itself
  mutable std::size_t byteLength_ = 0;
  mutable bool byteLengthKnown_ = true;
};
