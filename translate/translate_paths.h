// The fast pass's code paths, for the tests and the benchmarks to run each one
// by name. TranslateText picks the fastest this processor can run, once.
//
// Every path gives the same bytes and leaves the source in the same state as
// TranslateTextReference. A path works on whole batches of
// kTranslateBatchBytes bytes; the bytes after the last whole batch go through
// the reference pass.
#pragma once

#include <cstddef>

#include "translate.h"

enum class TranslatePath {
  kPortable,  // plain C++
  kAvx512,    // x86-64 with AVX-512 (BW, VL, VBMI) and BMI2
};

inline constexpr TranslatePath kAllTranslatePaths[] = {TranslatePath::kPortable,
                                                       TranslatePath::kAvx512};

inline constexpr std::size_t kTranslateBatchBytes = 64;

const char* TranslatePathName(TranslatePath path);

// Whether this build has the path and this processor can run it.
bool TranslatePathAvailable(TranslatePath path);

// The path TranslateText uses.
TranslatePath FastestTranslatePath();

// TranslateText on the given path; a path that is not available falls back
// to the portable one.
void TranslateTextOnPath(TranslatePath path, RandomSource& source, char* text,
                         std::size_t length, bool randMode, bool hardMode);
