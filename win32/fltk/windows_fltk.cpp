// Top-level dialog windows and controls as FLTK widgets. Widgets report to
// the core through win32/core/input.h from static bridge callbacks whose user
// data is the HWND.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/fl_draw.H>

#include "core/icon_image.h"
#include "core/input.h"
#include "core/window.h"
#include "text_area.h"
#include "widgets.h"

namespace {

HWND HwndOf(void* data) { return static_cast<HWND>(data); }

// Reports the focus when FLTK gives it to a control.
template <class Base>
class Reporting : public Base {
 public:
  Reporting(HWND hwnd, int x, int y, int w, int h)
      : Base(x, y, w, h), hwnd_(hwnd) {}
  int handle(int event) override {
    const int used = Base::handle(event);
    if (event == FL_FOCUS && used) Win32ReportFocus(hwnd_);
    return used;
  }

 private:
  HWND hwnd_;
};

// The default push button: pressed by Enter anywhere in its window unless a
// control that uses Enter itself (the text area) has the focus.
class DefaultButton : public Reporting<Fl_Button> {
 public:
  using Reporting<Fl_Button>::Reporting;
  int handle(int event) override {
    if (event == FL_SHORTCUT &&
        (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter) &&
        active_r()) {
      do_callback();
      return 1;
    }
    return Reporting<Fl_Button>::handle(event);
  }
  void draw() override {
    Reporting<Fl_Button>::draw();
    // The platform marks the default button with a dark frame.
    fl_color(FL_BLACK);
    fl_rect(x(), y(), w(), h());
  }
};

class DialogWindow : public Fl_Double_Window {
 public:
  DialogWindow(HWND hwnd, int w, int h) : Fl_Double_Window(w, h), hwnd_(hwnd) {}
  int handle(int event) override {
    const int used = Fl_Double_Window::handle(event);
    if ((event == FL_MOVE || event == FL_ENTER) && OverOwnArea())
      Win32ReportMouseMove(hwnd_, Fl::event_x(), Fl::event_y());
    return used || event == FL_MOVE || event == FL_ENTER;
  }

 private:
  bool OverOwnArea() {
    for (int i = 0; i < children(); ++i)
      if (child(i)->visible() && Fl::event_inside(child(i))) return false;
    return true;
  }
  HWND hwnd_;
};

void WindowCallback(Fl_Widget*, void* data) {
  // FLTK calls a window's callback for Escape and for the close request.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
    Win32ReportEscape(HwndOf(data));
  else
    Win32ReportClose(HwndOf(data));
}

void ButtonCallback(Fl_Widget*, void* data) { Win32ReportClick(HwndOf(data)); }

void CheckBoxCallback(Fl_Widget* widget, void* data) {
  // The core owns the check state and pushes it back through
  // BackendSetCheck once the click has been handled.
  auto* button = static_cast<Fl_Check_Button*>(widget);
  button->value(!button->value());
  Win32ReportClick(HwndOf(data));
}

std::unique_ptr<Fl_RGB_Image> ImageOf(const IconImage& icon) {
  auto image = std::make_unique<Fl_RGB_Image>(icon.rgba.data(), icon.width,
                                              icon.height, 4);
  // Fl_RGB_Image keeps a pointer; copy so the image owns its pixels.
  return std::unique_ptr<Fl_RGB_Image>(
      static_cast<Fl_RGB_Image*>(image->copy()));
}

// The room a control's label has on one line.
int LabelRoom(const Fl_Widget* widget, BackendControl kind) {
  switch (kind) {
    case BackendControl::CheckBox:
      return widget->w() - widget->h() - 6;  // the box and its margins
    case BackendControl::PushButton:
    case BackendControl::DefPushButton:
      return widget->w() - 6;
    default:
      return widget->w();
  }
}

// Sets a label in the dialog font, a pixel or two smaller where the desktop's
// face is wider than the one a template was laid out with and a one-line
// label would otherwise be cut.
void SetLabel(Fl_Widget* widget, BackendControl kind, const char* ansi) {
  widget->copy_label(ToLabel(ansi).c_str());
  const int size = CurrentFontPixels();
  widget->labelsize(size);
  fl_font(widget->labelfont(), size);
  if (widget->h() >= 2 * fl_height()) return;  // room to wrap instead
  const int room = LabelRoom(widget, kind);
  for (int smaller = size - 1; smaller >= size - 2 && smaller >= 8; --smaller) {
    int w = 0, h = 0;
    fl_font(widget->labelfont(), widget->labelsize());
    widget->measure_label(w, h);
    if (w <= room) break;
    widget->labelsize(smaller);
  }
}

}  // namespace

BackendWidget* BackendCreateWindow(HWND hwnd, const char* caption, int width,
                                   int height, DWORD style, HWND owner) {
  (void)style;
  auto* backend = new BackendWidget;
  backend->hwnd = hwnd;
  backend->isWindow = true;
  auto* window = new DialogWindow(hwnd, width, height);
  window->end();
  window->copy_label(ToUtf8(caption).c_str());
  // A dialog frame: fixed size, so the desktop offers no maximise.
  window->size_range(width, height, width, height);
  window->callback(WindowCallback, hwnd);
  window->labelsize(CurrentFontPixels());
  if (owner) {
    window->set_modal();
    // Centred over its owner.
    if (owner->widget && owner->widget->isWindow) {
      Fl_Widget* ownerWindow = owner->widget->widget;
      window->position(ownerWindow->x() + (ownerWindow->w() - width) / 2,
                       ownerWindow->y() + (ownerWindow->h() - height) / 2);
    }
  }
  backend->widget = window;
  return backend;
}

BackendWidget* BackendCreateControl(HWND hwnd, BackendWidget* window,
                                    BackendControl kind, const RECT& rect,
                                    DWORD style, const char* text,
                                    const IconImage* icon) {
  auto* parent = static_cast<Fl_Double_Window*>(window->widget);
  const int x = rect.left, y = rect.top;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int fontPixels = CurrentFontPixels();
  auto* backend = new BackendWidget;
  backend->hwnd = hwnd;
  backend->kind = kind;
  Fl_Widget* widget = nullptr;
  switch (kind) {
    case BackendControl::PushButton:
      widget = new Reporting<Fl_Button>(hwnd, x, y, w, h);
      widget->callback(ButtonCallback, hwnd);
      break;
    case BackendControl::DefPushButton:
      widget = new DefaultButton(hwnd, x, y, w, h);
      widget->callback(ButtonCallback, hwnd);
      break;
    case BackendControl::CheckBox:
      widget = new Reporting<Fl_Check_Button>(hwnd, x, y, w, h);
      widget->callback(CheckBoxCallback, hwnd);
      break;
    case BackendControl::Edit: {
      auto* area = new Reporting<TextArea>(hwnd, x, y, w, h);
      // Scroll bars only where the styles ask for them, as on the platform;
      // FL_ALIGN_CENTER puts them on no side.
      Fl_Align bars = FL_ALIGN_CENTER;
      if (style & WS_VSCROLL) bars |= FL_ALIGN_RIGHT;
      if (style & WS_HSCROLL) bars |= FL_ALIGN_BOTTOM;
      area->scrollbar_align(bars);
      area->SetTextFont(FL_HELVETICA, fontPixels);
      if (!(style & WS_BORDER)) area->box(FL_NO_BOX);
      widget = area;
      break;
    }
    case BackendControl::StaticText:
      widget = new Fl_Box(x, y, w, h);
      // A control paints only inside its own rectangle: text wrapped past
      // its height is cut off rather than drawn over its neighbours.
      widget->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_WRAP |
                    FL_ALIGN_CLIP);
      break;
    case BackendControl::StaticIcon:
      widget = new Fl_Box(x, y, w, h);
      widget->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
      if (icon) {
        backend->image = ImageOf(*icon);
        widget->image(backend->image.get());
      }
      break;
  }
  widget->labelfont(FL_HELVETICA);
  widget->labelsize(fontPixels);
  if (kind != BackendControl::Edit && kind != BackendControl::StaticIcon)
    SetLabel(widget, kind, text);
  if (!(style & WS_TABSTOP) && kind != BackendControl::StaticText &&
      kind != BackendControl::StaticIcon)
    widget->clear_visible_focus();
  if (!(style & WS_VISIBLE)) widget->hide();
  parent->add(widget);
  backend->widget = widget;
  return backend;
}

void BackendDestroy(BackendWidget* backend) {
  if (!backend) return;
  Fl_Widget* widget = backend->widget;
  if (backend->isWindow) {
    static_cast<Fl_Window*>(widget)->hide();
    Fl::delete_widget(widget);
  } else if (Fl_Group* parent = widget->parent()) {
    parent->remove(widget);
    Fl::delete_widget(widget);
  } else {
    Fl::delete_widget(widget);
  }
  delete backend;
}

void BackendShow(BackendWidget* backend, bool visible) {
  Fl_Widget* widget = backend->widget;
  if (visible)
    widget->show();
  else
    widget->hide();
  if (backend->isWindow && visible) Fl::flush();
}

void BackendEnable(BackendWidget* backend, bool enabled) {
  // A disabled top-level window is not greyed, as on the platform: the core
  // stops taking its input instead.
  if (backend->isWindow) return;
  if (enabled)
    backend->widget->activate();
  else
    backend->widget->deactivate();
}

void BackendFocus(BackendWidget* backend) {
  if (Fl::focus() != backend->widget) backend->widget->take_focus();
}

void BackendSetWindowIcon(BackendWidget* backend, const IconImage& icon) {
  if (!backend->isWindow) return;
  backend->image = ImageOf(icon);
  static_cast<Fl_Window*>(backend->widget)->icon(backend->image.get());
}

void BackendSetCaption(BackendWidget* backend, const char* text) {
  if (backend->isWindow)
    backend->widget->copy_label(ToUtf8(text).c_str());
  else if (backend->kind != BackendControl::Edit &&
           backend->kind != BackendControl::StaticIcon)
    SetLabel(backend->widget, backend->kind, text);
  backend->widget->redraw();
}

void BackendSetCheck(BackendWidget* backend, bool checked) {
  if (backend->kind == BackendControl::CheckBox)
    static_cast<Fl_Check_Button*>(backend->widget)->value(checked ? 1 : 0);
}

void BackendSetTooltip(BackendWidget* backend, const char* text) {
  if (text) {
    backend->tooltip = ToUtf8(text);
    backend->widget->tooltip(backend->tooltip.c_str());
  } else {
    backend->widget->tooltip(nullptr);
    backend->tooltip.clear();
  }
}

void BackendSetEditText(BackendWidget* backend, const char* text,
                        std::size_t length) {
  static_cast<TextArea*>(backend->widget)->SetBytes(text, length);
}

std::string BackendGetEditText(BackendWidget* backend) {
  return static_cast<TextArea*>(backend->widget)->GetBytes();
}

std::size_t BackendEditTextLength(BackendWidget* backend) {
  return static_cast<TextArea*>(backend->widget)->ByteLength();
}

void BackendSetEditReadOnly(BackendWidget* backend, bool readOnly) {
  static_cast<TextArea*>(backend->widget)->SetReadOnly(readOnly);
}
