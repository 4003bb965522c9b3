// The fast pass's paths over whole batches. Internal to the translate library;
// translate_paths.h is the way in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pass_tables.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZORKEL_HAVE_AVX512_PATH 1
#else
#define ZORKEL_HAVE_AVX512_PATH 0
#endif

namespace pass {

// Each translates `batches` * kBatchBytes bytes of `text` in place, drawing
// from `state`, and returns the state after the last draw.
std::uint32_t TranslatePortable(const Tables& tables, std::uint32_t state,
                                char* text, std::size_t batches, bool randMode,
                                bool hardMode);

#if ZORKEL_HAVE_AVX512_PATH
// Whether this processor (and the operating system) can run the AVX-512 path.
bool Avx512Supported();
std::uint32_t TranslateAvx512(const Tables& tables, std::uint32_t state,
                              char* text, std::size_t batches, bool randMode,
                              bool hardMode);
#endif

}  // namespace pass
