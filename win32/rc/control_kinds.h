// The control statements a dialog body may hold, with the window class each
// one creates and the style it has before the script's own style is OR-ed
// in (the documented defaults, WS_CHILD | WS_VISIBLE included).
//
// Also the style constants the compiler itself needs; scripts take theirs
// from windows.h. Does not parse statements (see script_parser.h).
#pragma once

#include <cstdint>

#include "token.h"

namespace style {
inline constexpr std::uint32_t kPopup = 0x80000000u;
inline constexpr std::uint32_t kChild = 0x40000000u;
inline constexpr std::uint32_t kVisible = 0x10000000u;
inline constexpr std::uint32_t kBorder = 0x00800000u;
inline constexpr std::uint32_t kSysMenu = 0x00080000u;
inline constexpr std::uint32_t kGroup = 0x00020000u;
inline constexpr std::uint32_t kTabStop = 0x00010000u;
inline constexpr std::uint32_t kSetFont = 0x40u;  // DS_SETFONT
// A dialog without a STYLE statement.
inline constexpr std::uint32_t kDialogDefault = kPopup | kBorder | kSysMenu;
}  // namespace style

enum class ControlShape {
  kText,     // KEYWORD "text", id, x, y, cx, cy [, style [, exstyle]]
  kNoText,   // EDITTEXT id, x, y, cx, cy [, style [, exstyle]]
  kGeneric,  // CONTROL "text", id, class, style, x, y, cx, cy [, exstyle]
  kIcon,     // ICON icon, id, x, y [, cx, cy [, style [, exstyle]]]
};

struct ControlKind {
  const char* keyword;
  const char* className;  // null for CONTROL: the script names the class
  std::uint32_t defaultStyle;
  ControlShape shape;
};

// The kind for a control keyword, or null.
const ControlKind* FindControlKind(const Token& keyword);

// Whether `keyword` is a control statement of the platform that this
// compiler does not support (for a clearer message than "unknown").
bool IsUnsupportedControl(const Token& keyword);
