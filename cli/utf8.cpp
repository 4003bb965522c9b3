// Strict UTF-8 reading and writing.
#include "utf8.h"

namespace cli {

Utf8Unit DecodeUtf8(std::string_view bytes) {
  const Utf8Unit invalid{Utf8Kind::kInvalidByte, 1, 0};
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) return {Utf8Kind::kCharacter, 1, lead};

  std::size_t following = 0;
  char32_t value = 0;
  // Allowed range of the second byte. Narrowing it for E0, ED, F0 and F4
  // is what rules out overlong forms, surrogates and values past U+10FFFF.
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    value = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    value = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return invalid;  // a continuation byte, C0, C1 or F5..FF
  }

  for (std::size_t i = 1; i <= following; ++i) {
    if (i == bytes.size()) return {Utf8Kind::kIncomplete, i, 0};
    const auto next = static_cast<unsigned char>(bytes[i]);
    if (next < low || next > high) return invalid;
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (next & 0x3Fu);
  }
  return {Utf8Kind::kCharacter, following + 1, value};
}

void AppendUtf8(char32_t character, std::string& out) {
  const auto c = static_cast<unsigned>(character);
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace cli
