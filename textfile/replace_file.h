// Writing a whole file on Linux without ever destroying what it replaces:
// the bytes go to a new file in the same folder, are flushed to disk, and
// the new file then takes the target's place in one step (rename). If
// anything fails on the way, the old file is left as it was and no
// temporary file is left behind.
//
// An existing target keeps its permission bits and, where allowed, its owner;
// a symbolic link is followed, so the file it points to is replaced and the
// link stays. A target that cannot be replaced safely is left to the caller
// to write in place: one that is not a regular file (a device such as
// /dev/null), one with other hard links (replacing would split them), one
// that cannot be renamed over (a bind mount answers EBUSY), or one in a
// folder where no new file can be made.
#pragma once

#include <cstddef>
#include <string>

enum class ReplaceResult { Replaced, WriteInPlace, Failed };

struct ReplaceOutcome {
  ReplaceResult result;
  int error;           // errno, when Failed
  std::string target;  // the file written or to write: links followed
};

ReplaceOutcome ReplaceFileContents(const std::string& path, const char* data,
                                   std::size_t length);
