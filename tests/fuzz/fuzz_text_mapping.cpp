// The mappings between Windows-1252 bytes and UTF-8 text.
//
// Each input is used three ways:
//
//  1. As Windows-1252 bytes (zero bytes dropped: the layer stops text at a
//     zero), for the text area's display form: AnsiToDisplay gives
//     well-formed UTF-8, one character per byte (CR LF, CR, LF: one '\n'
//     whose style says which), and DisplayToAnsi gives the bytes back
//     exactly; without the style every line end comes back as CR LF.
//  2. As display text and style bytes the toolkit could hand back (UTF-8 or
//     not, zero bytes dropped as the toolkit's strings have none; style
//     bytes of any value, shorter or longer than the text): DisplayToAnsi
//     gives exactly the bytes of a character-by-character model (the code
//     page's byte, '?' for a character it lacks and for each byte of
//     invalid UTF-8, the line end the style names), never a zero byte, and
//     its result makes the same round trip as in 1.
//  3. As zorkel-cli's input, in Windows-1252 or in UTF-8: TranslatePiece
//     over pieces cut anywhere, with the bytes of a cut sequence carried
//     into the next call as the filter does, equals one call over the whole;
//     the whole equals a model built on the reference pass; in UTF-8 the
//     output has as many units as the input, and every byte that is not
//     well-formed UTF-8 comes out unchanged at the same unit.
//
// Any difference aborts with a description.
//
// Input layout: a control byte, then the text. For 2, bit 7 of the control
// byte says the style is bytes of "ABC?" (else the raw bytes), bit 6 says
// no style at all, and bits 0-5 where the text ends and the style begins.
// For 3 the input is read again: state (4 bytes), modes byte (bit 0 rand,
// bit 1 hard, bit 2 UTF-8, bit 3 the last piece says atEnd itself, bits 4-6
// split points - 1), split points (2 bytes each), then the text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ansi_text.h"
#include "fuzz_input.h"
#include "pass.h"
#include "translate.h"
#include "translate_reference.h"
#include "utf8.h"
#include "windows1252.h"

namespace {

// `states`, when given, are the random source's states after the pass:
// expected, then got.
[[noreturn]] void Fail(const char* what, const std::string& input,
                       const std::string& expected, const std::string& got,
                       const std::uint32_t* states = nullptr) {
  std::fprintf(stderr,
               "fuzz_text_mapping: %s\n  input:    %s\n  expected: %s\n"
               "  got:      %s\n",
               what, Shown(input).c_str(), Shown(expected).c_str(),
               Shown(got).c_str());
  if (states != nullptr) {
    std::fprintf(stderr, "  state after: %u expected, %u got\n",
                 static_cast<unsigned>(states[0]),
                 static_cast<unsigned>(states[1]));
  }
  std::abort();
}

std::string WithoutZeros(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
  return s;
}

// The units of `bytes` as cli's strict decoder reads them, a sequence cut
// short at the end counting as one invalid byte (as at the end of input).
std::vector<cli::Utf8Unit> Units(std::string_view bytes) {
  std::vector<cli::Utf8Unit> units;
  while (!bytes.empty()) {
    cli::Utf8Unit u = cli::DecodeUtf8(bytes);
    if (u.kind == cli::Utf8Kind::kIncomplete) {
      u = {cli::Utf8Kind::kInvalidByte, 1, 0};
    }
    units.push_back(u);
    bytes.remove_prefix(u.length);
  }
  return units;
}

// ---- 1: bytes -> display form -> bytes ----

void CheckBytesRoundTrip(const std::string& bytes) {
  const DisplayText d = AnsiToDisplay(bytes.data(), bytes.size());
  if (d.style.size() != d.utf8.size()) {
    Fail("AnsiToDisplay: style and text lengths differ", bytes, d.utf8,
         d.style);
  }
  // Character by character: what each byte (or CR LF) must become.
  std::u32string characters;
  std::string styles;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      characters.push_back(U'\n');
      styles.push_back(kStyleText);
      ++i;
    } else if (b == '\r') {
      characters.push_back(U'\n');
      styles.push_back(kStyleLoneCr);
    } else if (b == '\n') {
      characters.push_back(U'\n');
      styles.push_back(kStyleLoneLf);
    } else {
      characters.push_back(Windows1252ToUnicode(b));
      styles.push_back(kStyleText);
    }
  }
  std::size_t at = 0;
  std::size_t count = 0;
  std::size_t byteLength = 0;  // as the text area counts it back
  while (at < d.utf8.size()) {
    const cli::Utf8Unit u =
        cli::DecodeUtf8(std::string_view(d.utf8).substr(at));
    if (u.kind != cli::Utf8Kind::kCharacter) {
      Fail("AnsiToDisplay gave malformed UTF-8", bytes, "", d.utf8);
    }
    if (count >= characters.size() || u.character != characters[count] ||
        d.style[at] != styles[count] ||
        d.style.find_first_not_of(kStyleText, at + 1) < at + u.length) {
      Fail("AnsiToDisplay: wrong character or style", bytes, styles, d.style);
    }
    byteLength += (u.character == U'\n' && d.style[at] == kStyleText) ? 2 : 1;
    at += u.length;
    ++count;
  }
  if (count != characters.size() || byteLength != bytes.size()) {
    Fail("AnsiToDisplay: wrong number of characters", bytes, "", d.utf8);
  }

  const std::string back =
      DisplayToAnsi(d.utf8.data(), d.style.c_str(), d.utf8.size());
  if (back != bytes) {
    Fail("bytes -> display -> bytes is not lossless", bytes, bytes, back);
  }
  // Without the style, every '\n' is CR LF.
  std::string crlf;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      crlf += "\r\n";
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      crlf.push_back(bytes[i]);
    }
  }
  const std::string unstyled =
      DisplayToAnsi(d.utf8.data(), nullptr, d.utf8.size());
  if (unstyled != crlf) {
    Fail("display text without style: line ends are not CR LF", bytes, crlf,
         unstyled);
  }
}

// ---- 2: any display text and style -> bytes ----

std::string ModelDisplayToAnsi(const std::string& utf8, const char* style) {
  std::size_t styleLength = 0;
  if (style != nullptr) {
    while (styleLength < utf8.size() && style[styleLength] != '\0') {
      ++styleLength;
    }
  }
  std::string out;
  std::size_t at = 0;
  for (const cli::Utf8Unit& u : Units(utf8)) {
    if (u.kind != cli::Utf8Kind::kCharacter) {
      out.push_back('?');
    } else if (u.character == U'\n') {
      const char s = at < styleLength ? style[at] : kStyleText;
      out += s == kStyleLoneLf ? "\n" : s == kStyleLoneCr ? "\r" : "\r\n";
    } else {
      const int b = UnicodeToWindows1252(u.character);
      out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    at += u.length;
  }
  return out;
}

void CheckDisplayText(const std::string& input) {
  FuzzInput in(reinterpret_cast<const std::uint8_t*>(input.data()),
               input.size());
  const std::uint8_t control = in.Byte();
  const std::string rest = in.Rest();
  const std::size_t textLength = rest.size() * (control & 63) / 63;
  const std::string utf8 = WithoutZeros(rest.substr(0, textLength));
  std::string style = rest.substr(textLength);
  if (control & 0x80) {
    for (char& c : style) c = "ABC?"[static_cast<unsigned char>(c) & 3];
  }
  const char* styleBytes = (control & 0x40) ? nullptr : style.c_str();

  const std::string got = DisplayToAnsi(utf8.data(), styleBytes, utf8.size());
  const std::string expected = ModelDisplayToAnsi(utf8, styleBytes);
  if (got != expected) {
    Fail("DisplayToAnsi differs from the character-by-character model", utf8,
         expected, got);
  }
  if (got.find('\0') != std::string::npos) {
    Fail("DisplayToAnsi gave a zero byte", utf8, "", got);
  }
  CheckBytesRoundTrip(got);
}

// ---- 3: zorkel-cli's pass, whole and in pieces ----

// The pass over `text` in one call, as a model: the reference pass over one
// engine byte per unit, then each unit rewritten from its byte.
std::string ModelPass(RandomSource& source, const cli::PassModes& modes,
                      const std::string& text) {
  if (!modes.utf8) {
    std::string out = text;
    TranslateTextReference(source, out.data(), out.size(), modes.randMode,
                           modes.hardMode);
    return out;
  }
  const std::vector<cli::Utf8Unit> units = Units(text);
  std::string engine;
  for (const cli::Utf8Unit& u : units) {
    const int b = u.kind == cli::Utf8Kind::kCharacter
                      ? UnicodeToWindows1252(u.character)
                      : -1;
    // A byte with no case and no look-alike stands for what the code page
    // lacks: the pass draws for it and leaves it.
    engine.push_back(b < 0 ? '\x81' : static_cast<char>(b));
  }
  TranslateTextReference(source, engine.data(), engine.size(), modes.randMode,
                         modes.hardMode);
  std::string out;
  std::size_t at = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const cli::Utf8Unit& u = units[i];
    const bool mapped = u.kind == cli::Utf8Kind::kCharacter &&
                        UnicodeToWindows1252(u.character) >= 0;
    if (mapped) {
      cli::AppendUtf8(
          Windows1252ToUnicode(static_cast<unsigned char>(engine[i])), out);
    } else {
      out.append(text, at, u.length);
    }
    at += u.length;
  }
  return out;
}

void CheckCliPass(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::uint32_t state = in.U32();
  const std::uint8_t m = in.Byte();
  cli::PassModes modes;
  modes.randMode = (m & 1) != 0;
  modes.hardMode = (m & 2) != 0;
  modes.utf8 = (m & 4) != 0;
  const bool lastSaysAtEnd = (m & 8) != 0;
  const int splitCount = 1 + ((m >> 4) & 7);
  std::vector<std::uint16_t> raw;
  for (int i = 0; i < splitCount; ++i) raw.push_back(in.U16());
  const std::string text = in.Rest();
  const auto pieces = Pieces(SplitPoints(raw, text.size()), text.size());

  RandomSource wholeSource{state};
  std::string whole;
  std::string scratch;
  const std::size_t used =
      cli::TranslatePiece(wholeSource, modes, text, true, whole, scratch);
  if (used != text.size()) {
    Fail("TranslatePiece at the end left bytes unused", text, "", "");
  }

  RandomSource modelSource{state};
  const std::string model = ModelPass(modelSource, modes, text);
  if (whole != model || wholeSource.state != modelSource.state) {
    const std::uint32_t states[] = {modelSource.state, wholeSource.state};
    Fail(modes.utf8 ? "TranslatePiece (UTF-8) differs from the model"
                    : "TranslatePiece differs from the reference pass",
         text, model, whole, states);
  }

  // In pieces, the carried bytes put in front of the next piece.
  RandomSource pieceSource{state};
  std::string joined;
  std::string carried;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const bool atEnd = lastSaysAtEnd && i + 1 == pieces.size();
    const std::string held =
        carried + text.substr(pieces[i].first, pieces[i].second);
    std::string out;
    const std::size_t n =
        cli::TranslatePiece(pieceSource, modes, held, atEnd, out, scratch);
    joined += out;
    carried = held.substr(n);
    // The filter has room for 3 carried bytes: only the start of one
    // sequence cut short may be left.
    const bool cutShort =
        carried.empty() ||
        (modes.utf8 && carried.size() <= 3 && !atEnd &&
         cli::DecodeUtf8(carried).kind == cli::Utf8Kind::kIncomplete &&
         cli::DecodeUtf8(carried).length == carried.size());
    if (!cutShort) {
      Fail("TranslatePiece left bytes that are not one cut sequence", held, "",
           carried);
    }
  }
  if (!lastSaysAtEnd) {  // the filter's last call: no more bytes follow
    std::string out;
    const std::size_t n =
        cli::TranslatePiece(pieceSource, modes, carried, true, out, scratch);
    if (n != carried.size()) {
      Fail("TranslatePiece at the end left bytes unused", carried, "", "");
    }
    joined += out;
  }
  if (joined != whole || pieceSource.state != wholeSource.state) {
    const std::uint32_t states[] = {wholeSource.state, pieceSource.state};
    Fail("TranslatePiece in pieces differs from one call over the whole", text,
         whole, joined, states);
  }

  if (!modes.utf8) return;
  // Unit for unit: same count; invalid bytes unchanged in place; a
  // character changes only in case or to a look-alike of its key.
  const std::vector<cli::Utf8Unit> before = Units(text);
  const std::vector<cli::Utf8Unit> after = Units(whole);
  if (before.size() != after.size()) {
    Fail("UTF-8 output has a different number of units", text, text, whole);
  }
  std::size_t a = 0;
  std::size_t b = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const cli::Utf8Unit& x = before[i];
    const cli::Utf8Unit& y = after[i];
    if (x.kind != cli::Utf8Kind::kCharacter) {
      if (y.kind == cli::Utf8Kind::kCharacter || whole[b] != text[a]) {
        Fail("a byte that is not UTF-8 was not kept in place", text, text,
             whole);
      }
    } else if (y.kind != cli::Utf8Kind::kCharacter) {
      Fail("a character became invalid UTF-8", text, text, whole);
    } else {
      const int from = UnicodeToWindows1252(x.character);
      const int to = UnicodeToWindows1252(y.character);
      bool allowed = x.character == y.character;
      if (from >= 0 && to >= 0) {
        const auto ci = static_cast<unsigned char>(from);
        const auto co = static_cast<unsigned char>(to);
        allowed = ToLowerAscii(ci) == ToLowerAscii(co);
        if (modes.hardMode) {
          for (const LookalikeEntry& row : LookalikeTable) {
            if (row.key == ci) {
              allowed =
                  allowed ||
                  std::string(row.alternatives).find(static_cast<char>(co)) !=
                      std::string::npos;
            }
          }
        }
      }
      if (!allowed) {
        Fail("a character became one the pass cannot make of it", text, text,
             whole);
      }
    }
    a += x.length;
    b += y.length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckBytesRoundTrip(WithoutZeros(input));
  CheckDisplayText(input);
  CheckCliPass(data, size);
  return 0;
}
