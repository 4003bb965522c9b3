// One translation pass. In UTF-8 each unit goes through the engine as one
// byte: its Windows-1252 byte when the code page has the character, or else
// an opaque stand-in that the engine leaves as it is.
#include "pass.h"

#include "utf8.h"
#include "windows1252.h"

namespace cli {

namespace {

// A high byte that is no look-alike key and has no case: the engine draws
// for it as for any byte 80..FF and never changes it.
constexpr char kOpaqueStandIn = '\x81';

struct Unit {
  std::size_t length = 0;
  int engineByte = -1;  // -1 for an opaque unit
};

// The unit at the front of `in`; length 0 when it is cut short and more
// bytes may follow.
Unit NextUnit(std::string_view in, bool atEnd) {
  const Utf8Unit u = DecodeUtf8(in);
  switch (u.kind) {
    case Utf8Kind::kCharacter:
      return {u.length, UnicodeToWindows1252(u.character)};
    case Utf8Kind::kIncomplete:
      if (!atEnd) return {};
      [[fallthrough]];
    case Utf8Kind::kInvalidByte:
      break;
  }
  return {1, -1};
}

}  // namespace

std::size_t TranslatePiece(RandomSource& source, const PassModes& modes,
                           std::string_view in, bool atEnd, std::string& out,
                           std::string& scratch) {
  if (!modes.utf8) {
    const std::size_t start = out.size();
    out.append(in);
    TranslateText(source, out.data() + start, in.size(), modes.randMode,
                  modes.hardMode);
    return in.size();
  }

  scratch.clear();
  std::size_t used = 0;
  while (used < in.size()) {
    // Runs of ASCII, most of any Linux text, are their own engine bytes.
    std::size_t ascii = used;
    while (ascii < in.size() && static_cast<unsigned char>(in[ascii]) < 0x80)
      ++ascii;
    if (ascii > used) {
      scratch.append(in.data() + used, ascii - used);
      used = ascii;
      continue;
    }
    const Unit unit = NextUnit(in.substr(used), atEnd);
    if (unit.length == 0) break;
    scratch.push_back(unit.engineByte < 0 ? kOpaqueStandIn
                                          : static_cast<char>(unit.engineByte));
    used += unit.length;
  }
  TranslateText(source, scratch.data(), scratch.size(), modes.randMode,
                modes.hardMode);

  // Walking the same bytes again finds the same units, so nothing needs to
  // be stored per unit between the two walks.
  out.reserve(out.size() + 2 * used);  // an ASCII byte may become two
  std::size_t at = 0;
  for (const char result : scratch) {
    if (static_cast<unsigned char>(in[at]) < 0x80) {
      const auto r = static_cast<unsigned char>(result);
      if (r < 0x80) {
        out.push_back(static_cast<char>(r));
      } else if (r >= 0xA0) {
        out.push_back(static_cast<char>(0xC0 | (r >> 6)));
        out.push_back(static_cast<char>(0x80 | (r & 0x3F)));
      } else {
        AppendUtf8(Windows1252ToUnicode(r), out);
      }
      ++at;
      continue;
    }
    const Unit unit = NextUnit(in.substr(at), atEnd);
    if (unit.engineByte < 0) {
      out.append(in.substr(at, unit.length));
    } else {
      AppendUtf8(Windows1252ToUnicode(static_cast<unsigned char>(result)), out);
    }
    at += unit.length;
  }
  return used;
}

}  // namespace cli
