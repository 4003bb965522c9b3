// How a program's resources reach the layer: the resource compiler turns a
// resource script into one constant Win32Module, and the program's instance
// handle points at it, so CreateDialogParamA and DialogBoxParamA find their
// templates through the HINSTANCE they are given, as on the platform.
//
// This is the layer's own format (plain data, no behaviour); the program's
// code never names it. Dialog geometry is in dialog units, styles are the
// WS_/DS_/ES_/BS_/SS_ values of windows.h, texts are Windows-1252 bytes.
#pragma once

#include <cstddef>

struct Win32DialogItem {
  const char* className;  // upper case: "BUTTON", "EDIT", "STATIC"
  const char* text;       // the caption, or "" for none
  int iconId;             // SS_ICON statics: the icon's resource id; else 0
  int id;                 // the control identifier (-1 for IDC_STATIC)
  unsigned long style;
  unsigned long exStyle;
  short x, y, cx, cy;
};

struct Win32DialogTemplate {
  int id;
  unsigned long style;
  unsigned long exStyle;
  short x, y, cx, cy;
  const char* caption;
  const char* fontFace;  // "" when the template sets no font
  int fontPointSize;
  const Win32DialogItem* items;
  int itemCount;
};

struct Win32IconResource {
  int id;
  const unsigned char* data;  // the bytes of an .ico file
  std::size_t size;
};

struct Win32Module {
  const char* name;
  const Win32DialogTemplate* dialogs;
  int dialogCount;
  const Win32IconResource* icons;
  int iconCount;
};

// The instance handle of a module: what the start-up passes to WinMain.
struct HINSTANCE__;
inline HINSTANCE__* Win32InstanceOf(const Win32Module& module) {
  return reinterpret_cast<HINSTANCE__*>(const_cast<Win32Module*>(&module));
}
