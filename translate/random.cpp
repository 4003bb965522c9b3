// The linear congruential generator and the process-wide source.
#include "translate.h"

int NextRandom(RandomSource& source) {
  source.state = source.state * 214013u + 2531011u;  // wraps mod 2^32
  return static_cast<int>((source.state >> 16) & 0x7FFFu);
}

RandomSource& ProcessRandom() {
  // Starts at state 1 when the process starts and lives until it ends.
  static RandomSource process;
  return process;
}

int NextRandom() { return NextRandom(ProcessRandom()); }
