// Windows-1252 bytes <-> the display form; see ansi_text.h.
//
// Both directions are one pass over the input. Runs of plain ASCII, the bulk
// of any real text, are appended in one piece; only line ends and bytes of
// 80..FF take the slow path.
#include "ansi_text.h"

#include <array>
#include <cstring>

#include "windows1252.h"

namespace {

// The UTF-8 form of every byte, built once so the hot loop only copies.
struct Utf8Form {
  char bytes[3];
  unsigned char length;
};

std::array<Utf8Form, 256> BuildUtf8Forms() {
  std::array<Utf8Form, 256> forms{};
  for (int b = 0; b < 256; ++b) {
    const char32_t c = Windows1252ToUnicode(static_cast<unsigned char>(b));
    Utf8Form& f = forms[b];
    if (c < 0x80) {
      f.bytes[0] = static_cast<char>(c);
      f.length = 1;
    } else if (c < 0x800) {
      f.bytes[0] = static_cast<char>(0xC0 | (c >> 6));
      f.bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
      f.length = 2;
    } else {  // every character of the table lies below U+10000
      f.bytes[0] = static_cast<char>(0xE0 | (c >> 12));
      f.bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      f.bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
      f.length = 3;
    }
  }
  return forms;
}

const std::array<Utf8Form, 256>& Utf8Forms() {
  static const std::array<Utf8Form, 256> forms = BuildUtf8Forms();
  return forms;
}

bool IsPlainAscii(unsigned char b) {
  return b < 0x80 && b != '\r' && b != '\n';
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one well-formed UTF-8 character at s[0..n) (n >= 1, s[0] >= 0x80).
// Returns its length, or 0 when the bytes there are not a whole, shortest,
// non-surrogate encoding.
std::size_t DecodeUtf8(const unsigned char* s, std::size_t n, char32_t& c) {
  const unsigned char lead = s[0];
  std::size_t length;
  unsigned char low = 0x80;  // allowed range of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (n < length || s[1] < low || s[1] > high) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(s[i])) return 0;
    c = (c << 6) | (s[i] & 0x3F);
  }
  return length;
}

}  // namespace

DisplayText AnsiToDisplay(const char* bytes, std::size_t length) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  const auto& forms = Utf8Forms();
  DisplayText out;
  // Mostly ASCII in practice; the strings grow on their own for the rest.
  out.utf8.reserve(length + length / 8);
  out.style.reserve(length + length / 8);

  std::size_t i = 0;
  while (i < length) {
    std::size_t run = i;
    while (run < length && IsPlainAscii(in[run])) ++run;
    if (run > i) {
      out.utf8.append(bytes + i, run - i);
      out.style.append(run - i, kStyleText);
      i = run;
      if (i == length) break;
    }
    const unsigned char b = in[i];
    if (b == '\r') {
      const bool crlf = i + 1 < length && in[i + 1] == '\n';
      out.utf8.push_back('\n');
      out.style.push_back(crlf ? kStyleText : kStyleLoneCr);
      i += crlf ? 2 : 1;
    } else if (b == '\n') {
      out.utf8.push_back('\n');
      out.style.push_back(kStyleLoneLf);
      ++i;
    } else {
      const Utf8Form& f = forms[b];
      out.utf8.append(f.bytes, f.length);
      out.style.append(f.length, kStyleText);
      ++i;
    }
  }
  return out;
}

std::string DisplayToAnsi(const char* utf8, const char* style,
                          std::size_t length) {
  const auto* in = reinterpret_cast<const unsigned char*>(utf8);
  std::string out;
  // Every line end may double (CR LF); reserving for that would waste room on
  // long texts, so reserve the common case and let the rest grow.
  out.reserve(length + length / 16);

  // Style bytes are read up to the first zero; past it, all count as text.
  // (memchr stops at the first match, so a short style is not over-read.)
  std::size_t styleLength = 0;
  if (style != nullptr) {
    const void* end = std::memchr(style, '\0', length);
    styleLength = end ? static_cast<const char*>(end) - style : length;
  }

  std::size_t i = 0;
  while (i < length) {
    std::size_t run = i;
    while (run < length && IsPlainAscii(in[run])) ++run;
    if (run > i) {
      out.append(utf8 + i, run - i);
      i = run;
      if (i == length) break;
    }
    const unsigned char b = in[i];
    if (b == '\n') {
      const char s = i < styleLength ? style[i] : kStyleText;
      if (s == kStyleLoneLf) {
        out.push_back('\n');
      } else if (s == kStyleLoneCr) {
        out.push_back('\r');
      } else {
        out.append("\r\n", 2);
      }
      ++i;
    } else if (b < 0x80) {  // a CR of its own in the display form
      out.push_back(static_cast<char>(b));
      ++i;
    } else {
      char32_t c = 0;
      const std::size_t n = DecodeUtf8(in + i, length - i, c);
      if (n == 0) {  // invalid: this byte alone becomes '?'
        out.push_back('?');
        ++i;
        continue;
      }
      const int ansi = UnicodeToWindows1252(c);
      out.push_back(ansi < 0 ? '?' : static_cast<char>(ansi));
      i += n;
    }
  }
  return out;
}
