// Faults of the file system on demand, for tests: the executable that
// compiles tests/faults/file_faults.cpp in has its own open, read, write,
// fsync, close, rename and mkostemp, which pass every call on to the C library
// unless an armed rule picks it. A rule picks the Nth call of one kind on a
// file whose path matches a pattern, and fails it, shortens it, or resizes the
// file under the reader.
//
// Only calls made through the executable's own code reach these functions:
// the project's libraries linked into the test, and the test itself. Calls
// the C library makes inside itself (stdio, mkostemp's own open) do not.
// Under AddressSanitizer, read and write go on through its own interceptors,
// so its checks of the buffers still happen.
#pragma once

#include <cstddef>
#include <vector>

namespace file_faults {

enum class Call { Open, Read, Write, Fsync, Close, Rename };

enum class Effect {
  // The call fails with errno `value` and does nothing; except close, which
  // releases the descriptor first, as Linux does whatever close returns.
  Fail,
  // read or write passes at most `value` bytes on (0: returns 0 at once).
  Short,
  // Before the read, the file is cut or extended (with 'x' bytes) to `value`
  // bytes, as if another program changed it; then the read goes on.
  Resize,
};

struct Rule {
  Call call;
  // fnmatch(3) pattern for the path: the path given to open, the one a
  // descriptor was opened with (mkostemp's result included), or either name
  // of a rename.
  const char* path;
  int nth;    // the first matching call picked, from 1
  int count;  // how many matching calls in a row are picked; 0: all from nth
  Effect effect;
  long value;
};

// Replaces the rules; descriptors opened from now on are followed.
void Arm(const std::vector<Rule>& rules);
// Drops the rules; every call passes straight on again.
void Disarm();
// How many calls each rule of the last Arm picked, in the rules' order.
std::vector<int> Fired();

}  // namespace file_faults
