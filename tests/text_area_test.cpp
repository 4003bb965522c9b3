// The multi-line edit control in a real window: bytes in and out, keys and
// pastes as FLTK delivers them, and the read-only state.
//
// Needs an X display (the suite runs under tests/with-display.sh). Events are
// fed through Fl::handle with the event fields set, as the X event loop would
// set them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <FL/Fl.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>

#include "text_area.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// A widget that keeps whatever is pasted into it.
class PasteCatcher : public Fl_Widget {
 public:
  PasteCatcher(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {}
  int handle(int event) override {
    if (event != FL_PASTE) return Fl_Widget::handle(event);
    received.assign(Fl::event_text(), Fl::event_length());
    return 1;
  }
  void draw() override {}
  std::string received;
};

class TextAreaTest : public testing::Test {
 public:  // the helpers are used from lambdas in the tests
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr)
        << "needs an X display; run under tests/with-display.sh";
    window_ = std::make_unique<Fl_Window>(400, 300);
    area_ = new TextArea(10, 10, 300, 150);
    next_ = new Fl_Input(10, 170, 300, 25);
    catcher_ = new PasteCatcher(10, 200, 10, 10);
    window_->end();
    window_->show();
    Fl::check();
    Fl::focus(area_);
  }

  void TearDown() override {
    window_.reset();
    Fl::check();
  }

  // A key press as X delivers it: keysym, modifiers and the text it types.
  int Key(int keysym, int state = 0, const std::string& typed = "") {
    std::string text = typed;
    Fl::e_keysym = keysym;
    Fl::e_state = state;
    Fl::e_text = text.data();
    Fl::e_length = static_cast<int>(text.size());
    const int used = Fl::handle(FL_KEYBOARD, window_.get());
    Fl::e_text = empty_;
    Fl::e_length = 0;
    Fl::e_state = 0;
    return used;
  }

  // Typing a character: an unbound keysym carrying UTF-8 text.
  void Type(const std::string& utf8) { Key(0x20000, 0, utf8); }

  // Text arriving as FL_PASTE (a paste or a drop).
  void Paste(const std::string& utf8) {
    std::string text = utf8;
    Fl::e_text = text.data();
    Fl::e_length = static_cast<int>(text.size());
    area_->handle(FL_PASTE);
    Fl::e_text = empty_;
    Fl::e_length = 0;
  }

  // A middle-button click inside the text area: pastes the X selection.
  void MiddleClick(const std::string& primary = "selected") {
    Fl::copy(primary.data(), static_cast<int>(primary.size()), 0);
    Fl::e_x = Fl::e_x_root = area_->x() + 20;
    Fl::e_y = Fl::e_y_root = area_->y() + 20;
    Fl::e_keysym = FL_Button + FL_MIDDLE_MOUSE;
    Fl::e_state = FL_BUTTON2;
    Fl::handle(FL_PUSH, window_.get());
    Fl::e_state = 0;
    Fl::handle(FL_RELEASE, window_.get());
  }

  // What the editor shows.
  std::string Shown() const {
    char* text = area_->buffer()->text();
    std::string shown(text);
    std::free(text);
    return shown;
  }

  void SetBytes(const std::string& bytes) {
    area_->SetBytes(bytes.data(), bytes.size());
  }

  void CaretAtEnd() { area_->insert_position(area_->buffer()->length()); }

  static inline char empty_[1] = {'\0'};
  std::unique_ptr<Fl_Window> window_;
  TextArea* area_ = nullptr;
  Fl_Input* next_ = nullptr;
  PasteCatcher* catcher_ = nullptr;
};

// --- Bytes in and out ------------------------------------------------------

TEST_F(TextAreaTest, BytesRoundTrip) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  const std::vector<std::string> cases = {
      "",
      "one\r\ntwo",
      "one\ntwo\n",
      "one\rtwo\r",
      "a\r\r\nb",
      "a\n\rb",
      Bytes({0xA3, ' ', 0xD8, ' ', 0xE7, ' ', 0x80}),
      everyByte,
  };
  for (const std::string& bytes : cases) {
    SetBytes(bytes);
    EXPECT_EQ(area_->GetBytes(), bytes);
    EXPECT_EQ(area_->ByteLength(), bytes.size());
  }
}

TEST_F(TextAreaTest, LoneLineEndsShowAsLineBreaks) {
  SetBytes("a\nb\rc\r\nd");
  EXPECT_EQ(Shown(), "a\nb\nc\nd");
  EXPECT_EQ(area_->buffer()->count_lines(0, area_->buffer()->length()), 3);
}

TEST_F(TextAreaTest, SetBytesEndsAtAZeroByte) {
  const char bytes[] = {'a', '\n', 'b', '\0', 'c'};
  area_->SetBytes(bytes, sizeof bytes);
  EXPECT_EQ(area_->GetBytes(), "a\nb");
  EXPECT_EQ(area_->ByteLength(), 3u);
}

// --- Typing ----------------------------------------------------------------

TEST_F(TextAreaTest, TypedTextIsCutDownToWindows1252) {
  SetBytes("x\ny");  // a lone LF before the caret must survive the edits
  CaretAtEnd();
  const std::vector<std::string> typed = {
      "a", "\xCE\xA9" /* omega */, "\xE2\x82\xAC" /* euro */,
      "\xC3\xA9" /* e acute */, "\xF0\x9F\x98\x80" /* emoji */};
  for (const std::string& t : typed) Type(t);
  EXPECT_EQ(Shown(), "x\nya?\xE2\x82\xAC\xC3\xA9?");
  EXPECT_EQ(area_->GetBytes(), "x\nya?" + Bytes({0x80, 0xE9}) + "?");
  EXPECT_EQ(area_->ByteLength(), area_->GetBytes().size());
}

TEST_F(TextAreaTest, EnterReadsBackAsCrLf) {
  SetBytes("a\rb");
  CaretAtEnd();
  Key(FL_Enter, 0, "\r");
  Type("c");
  EXPECT_EQ(area_->GetBytes(), "a\rb\r\nc");
  EXPECT_EQ(area_->ByteLength(), 6u);
}

TEST_F(TextAreaTest, DeletingKeepsTheOtherLineEnds) {
  struct Case {
    int caret;  // in the display form "a\nb\nc\nd"
    int key;
    std::string bytes;
  };
  const Case cases[] = {
      {2, FL_BackSpace, "ab\rc\r\nd"},  // the lone LF goes
      {3, FL_Delete, "a\nbc\r\nd"},     // the lone CR goes
      {5, FL_Delete, "a\nb\rcd"},       // the CR LF goes
      {0, FL_Delete, "\nb\rc\r\nd"},
  };
  for (const Case& c : cases) {
    SetBytes("a\nb\rc\r\nd");
    area_->insert_position(c.caret);
    Key(c.key);
    EXPECT_EQ(area_->GetBytes(), c.bytes) << "caret " << c.caret;
    EXPECT_EQ(area_->ByteLength(), c.bytes.size()) << "caret " << c.caret;
  }
}

TEST_F(TextAreaTest, TabMovesTheFocusOn) {
  SetBytes("a");
  CaretAtEnd();
  Key(FL_Tab, 0, "\t");
  EXPECT_EQ(Fl::focus(), next_);
  EXPECT_EQ(area_->GetBytes(), "a");
}

TEST_F(TextAreaTest, UndoTakesBackTyping) {
  SetBytes("a\nb");
  CaretAtEnd();
  Type("x");
  ASSERT_EQ(area_->GetBytes(), "a\nbx");
  Key('z', FL_CTRL);
  EXPECT_EQ(area_->GetBytes(), "a\nb");
  EXPECT_EQ(area_->ByteLength(), 3u);
}

TEST_F(TextAreaTest, UndoDoesNotReachBehindSetBytes) {
  SetBytes("old");
  CaretAtEnd();
  Type("x");
  SetBytes("new\n");
  Key('z', FL_CTRL);
  EXPECT_EQ(area_->GetBytes(), "new\n");
}

// --- Pasting ---------------------------------------------------------------

TEST_F(TextAreaTest, PastedTextIsCutDownToWindows1252) {
  struct Case {
    std::string pasted;
    std::string bytes;  // after "p\nq" with the caret at the end
  };
  const Case cases[] = {
      {"1\n2", "p\nq1\r\n2"},
      {"1\r\n2", "p\nq1\r\n2"},
      {"1\r2", "p\nq1\r\n2"},
      {"\r\n\r\n", "p\nq\r\n\r\n"},
      {"\xCE\xA9\xE2\x82\xAC\xC2\xA3", "p\nq?" + Bytes({0x80, 0xA3})},
      {"a\xFF"
       "b",
       "p\nqa?b"},
      {std::string("a\0b", 3), "p\nqa"},
  };
  for (const Case& c : cases) {
    SetBytes("p\nq");
    CaretAtEnd();
    Paste(c.pasted);
    EXPECT_EQ(area_->GetBytes(), c.bytes);
    EXPECT_EQ(area_->ByteLength(), c.bytes.size());
  }
}

TEST_F(TextAreaTest, PasteShowsQuestionMarksRightAway) {
  SetBytes("");
  Paste("\xCE\xA9-\xE2\x82\xAC");
  EXPECT_EQ(Shown(), "?-\xE2\x82\xAC");
}

TEST_F(TextAreaTest, PasteReplacesTheSelection) {
  SetBytes("one\ntwo\rthree");
  area_->buffer()->select(4, 7);  // "two", as a user selects it
  area_->insert_position(7);
  Paste("2");
  EXPECT_EQ(area_->GetBytes(), "one\n2\rthree");
}

TEST_F(TextAreaTest, CtrlVPastesTheClipboardFiltered) {
  const std::string clip = "x\n\xCE\xA9";
  Fl::copy(clip.data(), static_cast<int>(clip.size()), 1);
  SetBytes("a\rb");
  CaretAtEnd();
  Key('v', FL_CTRL);
  EXPECT_EQ(area_->GetBytes(), "a\rbx\r\n?");
}

TEST_F(TextAreaTest, MiddleClickPastesTheXSelectionFiltered) {
  SetBytes("");
  MiddleClick("sel\r\n\xCE\xA9");
  EXPECT_EQ(area_->GetBytes(), "sel\r\n?");
}

TEST_F(TextAreaTest, CopyGivesUtf8WithNewlines) {
  SetBytes("a\r\nb\rc" + Bytes({0x80}));
  Key('a', FL_CTRL);
  Key('c', FL_CTRL);
  Fl::paste(*catcher_, 1);
  EXPECT_EQ(catcher_->received, "a\nb\nc\xE2\x82\xAC");
}

// --- Read-only -------------------------------------------------------------

TEST_F(TextAreaTest, ReadOnlyRefusesEveryEdit) {
  struct Case {
    const char* name;
    void (*act)(TextAreaTest&);
  };
  const Case cases[] = {
      {"typing", [](TextAreaTest& t) { t.Type("z"); }},
      {"Enter", [](TextAreaTest& t) { t.Key(FL_Enter, 0, "\r"); }},
      {"BackSpace", [](TextAreaTest& t) { t.Key(FL_BackSpace); }},
      {"Delete", [](TextAreaTest& t) { t.Key(FL_Delete); }},
      {"Ctrl+X", [](TextAreaTest& t) { t.Key('x', FL_CTRL); }},
      {"Shift+Delete", [](TextAreaTest& t) { t.Key(FL_Delete, FL_SHIFT); }},
      {"Ctrl+V", [](TextAreaTest& t) { t.Key('v', FL_CTRL); }},
      {"Shift+Insert", [](TextAreaTest& t) { t.Key(FL_Insert, FL_SHIFT); }},
      {"Ctrl+Z", [](TextAreaTest& t) { t.Key('z', FL_CTRL); }},
      {"paste event", [](TextAreaTest& t) { t.Paste("z"); }},
      {"middle click", [](TextAreaTest& t) { t.MiddleClick(); }},
  };
  const std::string clip = "pasted";
  for (const Case& c : cases) {
    Fl::copy(clip.data(), static_cast<int>(clip.size()), 1);
    area_->SetReadOnly(false);
    SetBytes("a\nb");
    CaretAtEnd();
    Fl::focus(area_);  // a key the control leaves to the dialog may move it
    Type("c");         // something for Ctrl+Z to take back
    area_->SetReadOnly(true);
    area_->buffer()->select(0, area_->buffer()->length());
    c.act(*this);
    EXPECT_EQ(area_->GetBytes(), "a\nbc") << c.name;
  }
}

TEST_F(TextAreaTest, ReadOnlyStillSelectsAndCopies) {
  SetBytes("ab\ncd");
  area_->SetReadOnly(true);
  area_->insert_position(0);
  Key(FL_Right, FL_SHIFT);
  Key(FL_Right, FL_SHIFT);
  Key('c', FL_CTRL);
  Fl::paste(*catcher_, 1);
  EXPECT_EQ(catcher_->received, "ab");
  Key('a', FL_CTRL);
  Key(FL_Insert, FL_CTRL);
  Fl::paste(*catcher_, 1);
  EXPECT_EQ(catcher_->received, "ab\ncd");
}

}  // namespace
