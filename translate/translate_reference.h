// The translation pass written the plain way: one byte at a time, every draw
// taken from the generator as the rules come to it.
//
// This is the pass's definition in code. The fast pass (TranslateText) must
// give the same bytes and leave the source in the same state; the tests, the
// benchmarks and any fuzzer compare against this function.
#pragma once

#include <cstddef>

#include "translate.h"

void TranslateTextReference(RandomSource& source, char* text,
                            std::size_t length, bool randMode, bool hardMode);
