// The filter: every input in order through the translation, to standard
// output, with one random sequence for the whole run.
//
// With one pass an input is read and translated a chunk at a time, so memory
// does not grow with its size; with more passes each input is read whole.
// An input that cannot be read is reported and skipped; the first output
// failure ends the run. Does not parse the command line.
#pragma once

#include <cstddef>

#include "command_line.h"

namespace cli {

// How much is read at a time.
inline constexpr std::size_t kChunkBytes = 256 * 1024;

// Runs the filter and closes standard output. Returns the exit status: 0, or
// 1 when an input could not be read or the output could not be written.
int RunFilter(const Settings& settings);

}  // namespace cli
