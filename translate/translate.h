// The translation engine: the random source, the ASCII case mapping, the
// look-alike table and the translation pass.
//
// Standard C++, no platform, no toolkit, no locale; on x86-64 the pass also
// has an AVX-512 path, taken only when the processor has it
// (translate_paths.h). The pass rewrites a buffer in place and allocates
// nothing; its lookup tables are built once, on first use.
//
// Two ways in:
//  - the free functions without a RandomSource argument draw from the one
//    process-wide source, which starts at state 1 and is never reseeded; this
//    is what the window uses;
//  - the overloads taking a RandomSource draw from that value, so tests and the
//    filter can start from a known state without a new process.
#pragma once

#include <cstddef>
#include <cstdint>

// The generator's whole state. A pass draws from it and leaves it where its
// last draw stopped.
struct RandomSource {
  std::uint32_t state = 1;
};

// Advances the source (state = state * 214013 + 2531011 mod 2^32) and returns
// bits 16..30 of the new state, a value in 0..32767.
int NextRandom(RandomSource& source);
int NextRandom();

// The process-wide source behind the free functions.
RandomSource& ProcessRandom();

// a..z to A..Z and back; every other byte, 80..FF included, is unchanged.
constexpr unsigned char ToUpperAscii(unsigned char c) {
  return (c >= 0x61 && c <= 0x7A) ? static_cast<unsigned char>(c - 32) : c;
}
constexpr unsigned char ToLowerAscii(unsigned char c) {
  return (c >= 0x41 && c <= 0x5A) ? static_cast<unsigned char>(c + 32) : c;
}

// One row of the look-alike table: a key byte and its alternatives, a
// zero-terminated Windows-1252 byte string. Row order and the order inside a
// list decide which byte a draw picks.
struct LookalikeEntry {
  int key;
  const char* alternatives;
};

inline constexpr int LookalikeCount = 21;
extern const LookalikeEntry LookalikeTable[LookalikeCount];

// Rewrites `length` bytes of `text` in place. With length 0 nothing is drawn.
void TranslateText(RandomSource& source, char* text, std::size_t length,
                   bool randMode, bool hardMode);
void TranslateText(char* text, std::size_t length, bool randMode,
                   bool hardMode);
