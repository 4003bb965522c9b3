// Strict UTF-8: reading one unit from the front of a byte string, and writing
// one character.
//
// Only well-formed sequences are characters: overlong forms, surrogates,
// values above U+10FFFF and stray continuation bytes are not. A bad sequence
// yields its first byte alone as an invalid unit, so reading on from the next
// byte turns each byte of it into its own unit. Knows nothing of code pages
// or of the engine (windows1252.h maps characters to bytes).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

enum class Utf8Kind {
  kCharacter,    // a well-formed sequence of `length` bytes
  kInvalidByte,  // one byte that starts no well-formed sequence
  kIncomplete,   // a valid start that the bytes given end too soon to finish
};

struct Utf8Unit {
  Utf8Kind kind;
  std::size_t length;  // bytes taken; 1 for an invalid byte
  char32_t character;  // only for kCharacter
};

// Reads the unit at the front of `bytes`, which must not be empty.
Utf8Unit DecodeUtf8(std::string_view bytes);

// Appends the encoding of `character`, a Unicode scalar value.
void AppendUtf8(char32_t character, std::string& out);

}  // namespace cli
