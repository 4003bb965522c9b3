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

  // First the exact size, so the second pass writes through plain pointers
  // into buffers that never move.
  std::size_t size = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (in[i] == '\n' && i > 0 && in[i - 1] == '\r') continue;  // CR LF: one
    size += forms[in[i]].length;
  }
  DisplayText out;
  out.utf8.resize(size);
  out.style.resize(size, kStyleText);
  char* text = out.utf8.data();
  char* style = out.style.data();

  std::size_t i = 0;
  while (i < length) {
    std::size_t run = i;
    while (run < length && IsPlainAscii(in[run])) ++run;
    if (run > i) {
      std::memcpy(text, bytes + i, run - i);
      text += run - i;
      style += run - i;
      i = run;
      if (i == length) break;
    }
    const unsigned char b = in[i];
    if (b == '\r') {
      const bool crlf = i + 1 < length && in[i + 1] == '\n';
      *text++ = '\n';
      *style++ = crlf ? kStyleText : kStyleLoneCr;
      i += crlf ? 2 : 1;
    } else if (b == '\n') {
      *text++ = '\n';
      *style++ = kStyleLoneLf;
      ++i;
    } else {
      const Utf8Form& f = forms[b];
      for (unsigned k = 0; k < f.length; ++k) *text++ = f.bytes[k];
      style += f.length;
      ++i;
    }
  }
  return out;
}

std::string DisplayToAnsi(const char* utf8, const char* style,
                          std::size_t length) {
  const auto* in = reinterpret_cast<const unsigned char*>(utf8);

  // Style bytes are read up to the first zero; past it, all count as text.
  // (memchr stops at the first match, so a short style is not over-read.)
  std::size_t styleLength = 0;
  if (style != nullptr) {
    const void* end = std::memchr(style, '\0', length);
    styleLength = end ? static_cast<const char*>(end) - style : length;
  }

  // At most two bytes for each input byte (a '\n' that stands for CR LF);
  // written through a pointer, then cut to size.
  std::string out(2 * length, '\0');
  char* o = out.data();

  std::size_t i = 0;
  while (i < length) {
    std::size_t run = i;
    while (run < length && IsPlainAscii(in[run])) ++run;
    if (run > i) {
      std::memcpy(o, utf8 + i, run - i);
      o += run - i;
      i = run;
      if (i == length) break;
    }
    const unsigned char b = in[i];
    if (b == '\n') {
      const char s = i < styleLength ? style[i] : kStyleText;
      if (s == kStyleLoneLf) {
        *o++ = '\n';
      } else if (s == kStyleLoneCr) {
        *o++ = '\r';
      } else {
        *o++ = '\r';
        *o++ = '\n';
      }
      ++i;
    } else if (b < 0x80) {  // a CR of its own in the display form
      *o++ = static_cast<char>(b);
      ++i;
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < length &&
               IsContinuation(in[i + 1])) {
      // U+0080..U+00FF, the bulk of what is not ASCII here.
      const char32_t c = ((b & 0x1F) << 6) | (in[i + 1] & 0x3F);
      const int ansi =
          c >= 0xA0 ? static_cast<int>(c) : UnicodeToWindows1252(c);
      *o++ = ansi < 0 ? '?' : static_cast<char>(ansi);
      i += 2;
    } else {
      char32_t c = 0;
      const std::size_t n = DecodeUtf8(in + i, length - i, c);
      if (n == 0) {  // invalid: this byte alone becomes '?'
        *o++ = '?';
        ++i;
        continue;
      }
      const int ansi = UnicodeToWindows1252(c);
      *o++ = ansi < 0 ? '?' : static_cast<char>(ansi);
      i += n;
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}
