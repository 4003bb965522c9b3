// The display, the event wait, the dialog font and the cursor.
#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cmath>

#include "widgets.h"

namespace {
int currentFontPixels = 11;
}

bool BackendOpen(const char* programName) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  fl_open_display(display);
  Fl_Window::default_xclass(programName);
  // Labels and tooltips are drawn like the platform's: no FLTK symbols, and
  // the focus shown on every control that takes it.
  Fl::visible_focus(1);
  Fl_Tooltip::font(FL_HELVETICA);
  Fl_Tooltip::size(currentFontPixels);
  return true;
}

void BackendClose() {
  while (Fl_Window* window = Fl::first_window()) window->hide();
  Fl::flush();
}

void BackendWait() { Fl::wait(); }

void BackendPoll() { Fl::check(); }

int FontPixels(int pointSize) {
  // Points at the desktop's 96 dots per inch.
  return static_cast<int>(std::lround(pointSize * 96.0 / 72.0));
}

int CurrentFontPixels() { return currentFontPixels; }

BackendFont BackendMeasureFont(const char* face, int pointSize) {
  // Every dialog face maps to the desktop's sans-serif face.
  (void)face;
  currentFontPixels = FontPixels(pointSize > 0 ? pointSize : 8);
  fl_font(FL_HELVETICA, currentFontPixels);
  // The platform's average width: the width of the 52 letters, halved and
  // rounded as it does.
  const double letters =
      fl_width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int averageWidth = (static_cast<int>(letters) / 26 + 1) / 2;
  return BackendFont{averageWidth, fl_height()};
}

POINT BackendCursorPos() {
  int x = 0, y = 0;
  Fl::get_mouse(x, y);
  return POINT{x, y};
}
