// The byte-at-a-time pass; see translate_reference.h.
#include "translate_reference.h"

#include <cstring>

namespace {

// The row whose key equals `input`, or null. Keys are compared after
// ToLowerAscii, which leaves every key of the table as it is.
const LookalikeEntry* FindLookalike(unsigned char input) {
  const LookalikeEntry* found = nullptr;
  for (const LookalikeEntry& row : LookalikeTable) {
    if (ToLowerAscii(static_cast<unsigned char>(row.key)) == input)
      found = &row;
  }
  return found;
}

unsigned char RandomCase(RandomSource& source, unsigned char c) {
  return (NextRandom(source) & 1) ? ToLowerAscii(c) : ToUpperAscii(c);
}

}  // namespace

void TranslateTextReference(RandomSource& source, char* text,
                            std::size_t length, bool randMode, bool hardMode) {
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char input = static_cast<unsigned char>(text[i]);
    unsigned char c = RandomCase(source, input);
    // With Rand mode off there is no coin; Hard mode alone then replaces
    // every eligible byte.
    bool coin = true;
    if (randMode) {
      coin = (NextRandom(source) % 2) == 1;
      if (coin) c = RandomCase(source, c);
    }
    if (hardMode && coin) {
      // The key is matched on the byte as it came in, so an upper-case input
      // letter is never replaced; the look-alike gets no case change.
      if (const LookalikeEntry* row = FindLookalike(input)) {
        const std::size_t n = std::strlen(row->alternatives);
        c = static_cast<unsigned char>(
            row->alternatives[static_cast<std::size_t>(NextRandom(source)) %
                              n]);
      }
    }
    text[i] = static_cast<char>(c);
  }
}
