// What a resource script defines, after parsing and evaluation: dialog
// templates with their controls, and icons with their file bytes. Plain
// data with no checks of its own: the parser fills it (and enforces the
// rules), the C++ writer prints it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ControlItem {
  std::string className;  // upper case
  std::string text;       // Windows-1252 bytes
  int iconId = 0;         // ICON controls: the icon's resource id
  int id = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogResource {
  int id = 0;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::string fontFace;  // empty without FONT
  int fontPointSize = 0;
  std::vector<ControlItem> items;
};

struct IconResource {
  int id = 0;
  std::vector<unsigned char> bytes;  // the whole .ico file
  std::string path;                  // where it was read from
};

struct ResourceScript {
  std::vector<DialogResource> dialogs;  // in script order
  std::vector<IconResource> icons;      // in script order
};
