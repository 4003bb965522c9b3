// One translation pass over a piece of input, in Windows-1252 bytes or in
// UTF-8, continuing the given random sequence.
//
// Pieces of one input may be passed one after another: the result equals one
// pass over the whole. Does no I/O and keeps nothing between calls; the
// caller carries back any bytes a call leaves unconsumed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "translate.h"

namespace cli {

struct PassModes {
  bool randMode = true;
  bool hardMode = true;
  bool utf8 = false;  // input and output are UTF-8, not Windows-1252
};

// Translates the front of `in` and appends the result to `out`. Returns how
// many bytes of `in` it used: all of them, except that in UTF-8 a sequence
// cut short at the end is left for the next call unless `atEnd` says no more
// bytes follow (it is then invalid bytes). `scratch` is working space, kept
// by the caller so that a run of calls allocates once.
std::size_t TranslatePiece(RandomSource& source, const PassModes& modes,
                           std::string_view in, bool atEnd, std::string& out,
                           std::string& scratch);

}  // namespace cli
