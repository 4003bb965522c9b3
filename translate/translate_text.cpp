// The translation pass: the fastest path of the fast pass (translate_paths.h),
// which gives the same bytes as the reference pass (translate_reference.h).
#include "translate.h"
#include "translate_paths.h"

void TranslateText(RandomSource& source, char* text, std::size_t length,
                   bool randMode, bool hardMode) {
  TranslateTextOnPath(FastestTranslatePath(), source, text, length, randMode,
                      hardMode);
}

void TranslateText(char* text, std::size_t length, bool randMode,
                   bool hardMode) {
  TranslateText(ProcessRandom(), text, length, randMode, hardMode);
}
