// Standard output, with its failures reported.
//
// A broken pipe is not reported: the reader has gone, which is its choice,
// not an error of ours. (With SIGPIPE left at its default the process ends
// before it gets here.) Keeps no state: the caller stops at the first
// failure.
#pragma once

#include <string_view>

namespace cli {

// Writes all of `bytes`; on failure reports it and returns false.
bool WriteOutput(std::string_view bytes);

// Closes standard output, so that an error the system reports only then
// still counts; on failure reports it and returns false.
bool CloseOutput();

}  // namespace cli
