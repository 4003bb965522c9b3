// English-like text for the benchmarks.
//
// The translation pass does different work for different bytes (only some
// letters have look-alikes), so a throughput figure means something only on
// text that looks like what people feed the program. This generator makes such
// text without shipping a corpus: words drawn from a small built-in list,
// weighted by how often they occur in ordinary English (so letter frequencies
// come out close to real prose), sentences with a capital first letter, commas,
// full stops, the odd question mark, exclamation mark or number, and lines
// wrapped at a word boundary before 70 characters with CR LF line ends.
//
// The output depends only on the seed and is the same on every compiler and
// platform: the generator uses its own fixed arithmetic, not <random>'s
// distributions. A shorter text is the prefix of a longer one from the same
// seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::uint64_t kEnglishTextSeed = 0x5A6F726B656C2131u;

// `length` bytes of English-like text, ASCII only.
std::string EnglishText(std::size_t length,
                        std::uint64_t seed = kEnglishTextSeed);
