#include "control_kinds.h"

namespace {

using namespace style;

constexpr std::uint32_t kBase = kChild | kVisible;

const ControlKind kKinds[] = {
    {"CONTROL", nullptr, kBase, ControlShape::kGeneric},
    {"EDITTEXT", "EDIT", kBase | kTabStop | kBorder, ControlShape::kNoText},
    {"PUSHBUTTON", "BUTTON", kBase | kTabStop, ControlShape::kText},
    {"DEFPUSHBUTTON", "BUTTON", kBase | kTabStop | 0x1u, ControlShape::kText},
    {"CHECKBOX", "BUTTON", kBase | kTabStop | 0x2u, ControlShape::kText},
    {"AUTOCHECKBOX", "BUTTON", kBase | kTabStop | 0x3u, ControlShape::kText},
    {"GROUPBOX", "BUTTON", kBase | 0x7u, ControlShape::kText},
    {"LTEXT", "STATIC", kBase | kGroup, ControlShape::kText},
    {"CTEXT", "STATIC", kBase | kGroup | 0x1u, ControlShape::kText},
    {"RTEXT", "STATIC", kBase | kGroup | 0x2u, ControlShape::kText},
    {"ICON", "STATIC", kBase | 0x3u, ControlShape::kIcon},
};

const char* const kUnsupported[] = {
    "AUTO3STATE",  "AUTORADIOBUTTON", "COMBOBOX", "LISTBOX",    "PUSHBOX",
    "RADIOBUTTON", "SCROLLBAR",       "STATE3",   "USERBUTTON",
};

}  // namespace

const ControlKind* FindControlKind(const Token& keyword) {
  for (const ControlKind& kind : kKinds) {
    if (IsKeyword(keyword, kind.keyword)) return &kind;
  }
  return nullptr;
}

bool IsUnsupportedControl(const Token& keyword) {
  for (const char* name : kUnsupported) {
    if (IsKeyword(keyword, name)) return true;
  }
  return false;
}
