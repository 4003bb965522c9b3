// The FLTK widgets behind the layer's windows: a top-level dialog window, the
// buttons, and the record that ties a widget to its HWND. Internal to the
// FLTK backend.
#pragma once

#include <FL/Fl_Widget.H>
#include <windows.h>

#include <memory>
#include <string>

#include "backend.h"

class Fl_RGB_Image;

struct BackendWidget {
  HWND hwnd = nullptr;
  BackendControl kind = BackendControl::StaticText;
  bool isWindow = false;
  Fl_Widget* widget = nullptr;
  std::unique_ptr<Fl_RGB_Image> image;  // an icon shown by the widget
  std::string tooltip;                  // FLTK keeps only a pointer
};

// Windows-1252 bytes to the UTF-8 that FLTK draws.
std::string ToUtf8(const char* ansi);
// A label for FLTK: UTF-8, with '@' doubled so it is never a symbol.
std::string ToLabel(const char* ansi);

// The pixel size of the desktop's sans-serif face for a dialog font size.
int FontPixels(int pointSize);
// The font the current dialog is built with (set by BackendMeasureFont).
int CurrentFontPixels();
