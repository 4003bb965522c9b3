// The fast translation pass against the reference pass.
//
// From the input: the start state of the random source, the modes of each
// pass, how many passes, where the text is cut into pieces, and the text.
// Every path this processor runs, and TranslateText's own choice, translate
// the text piece by piece (one call per piece, the source carried from call
// to call) for each pass; after each pass the bytes and the source's state
// must equal those of TranslateTextReference over the whole text. Any
// difference aborts with a description of the case.
//
// Input layout: state (4 bytes), control byte, modes byte, split points
// (2 bytes each), then the text. Control: bits 0-1 passes - 1, bit 2 spell
// the text in look-alike keys, bits 3-5 split points - 1. Modes: two bits
// per pass, rand then hard.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "translate.h"
#include "translate_paths.h"
#include "translate_reference.h"

namespace {

struct Modes {
  bool rand;
  bool hard;
};

struct Case {
  std::uint32_t state = 0;
  std::vector<Modes> passes;
  std::vector<std::size_t> splits;
  std::string text;
};

// Maps a byte to text where nearly every byte is a look-alike key, its upper
// case, or a line end: the bytes the pass does most work on.
char KeyHeavy(unsigned char b) {
  static const char kAlphabet[] =
      "abcdeilnorsuxy?!.0123ABCDEILNORSUXYz \r\n\xe9";
  return kAlphabet[b % (sizeof kAlphabet - 1)];
}

Case Read(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  Case c;
  c.state = in.U32();
  const std::uint8_t control = in.Byte();
  const std::uint8_t modes = in.Byte();
  const int passes = 1 + (control & 3);
  const bool keyHeavy = (control & 4) != 0;
  const int splitCount = 1 + ((control >> 3) & 7);
  for (int p = 0; p < passes; ++p) {
    c.passes.push_back(
        {((modes >> (2 * p)) & 1) != 0, ((modes >> (2 * p + 1)) & 1) != 0});
  }
  std::vector<std::uint16_t> raw;
  for (int i = 0; i < splitCount; ++i) raw.push_back(in.U16());
  c.text = in.Rest();
  if (keyHeavy) {
    for (char& ch : c.text) ch = KeyHeavy(static_cast<unsigned char>(ch));
  }
  c.splits = SplitPoints(raw, c.text.size());
  return c;
}

[[noreturn]] void Mismatch(const char* path, const Case& c, std::size_t pass,
                           const std::string& expected, std::uint32_t expState,
                           const std::string& got, std::uint32_t gotState) {
  std::size_t at = 0;
  while (at < expected.size() && expected[at] == got[at]) ++at;
  std::fprintf(stderr,
               "fuzz_translate: path %s differs from the reference pass\n"
               "  start state %u, %zu passes, text of %zu bytes, pieces at",
               path, static_cast<unsigned>(c.state), c.passes.size(),
               c.text.size());
  for (const std::size_t s : c.splits) std::fprintf(stderr, " %zu", s);
  std::fprintf(stderr, "\n  pass %zu (rand %s, hard %s): ", pass + 1,
               c.passes[pass].rand ? "on" : "off",
               c.passes[pass].hard ? "on" : "off");
  if (at < expected.size()) {
    std::fprintf(stderr,
                 "first different byte at %zu: 0x%02x expected, 0x%02x got\n",
                 at, static_cast<unsigned char>(expected[at]),
                 static_cast<unsigned char>(got[at]));
  } else {
    std::fprintf(stderr, "same bytes\n");
  }
  std::fprintf(stderr, "  state after the pass: %u expected, %u got\n",
               static_cast<unsigned>(expState),
               static_cast<unsigned>(gotState));
  std::fprintf(stderr, "  text: %s\n", Shown(c.text).c_str());
  std::abort();
}

using PassFunction = void (*)(TranslatePath path, RandomSource&, char*,
                              std::size_t, bool, bool);

void OnPath(TranslatePath path, RandomSource& source, char* text,
            std::size_t length, bool rand, bool hard) {
  TranslateTextOnPath(path, source, text, length, rand, hard);
}

void Dispatched(TranslatePath, RandomSource& source, char* text,
                std::size_t length, bool rand, bool hard) {
  TranslateText(source, text, length, rand, hard);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const Case c = Read(data, size);

  // The reference, pass by pass, over the whole text.
  std::vector<std::string> expected;
  std::vector<std::uint32_t> expectedStates;
  {
    std::string text = c.text;
    RandomSource source{c.state};
    for (const Modes& m : c.passes) {
      TranslateTextReference(source, text.data(), text.size(), m.rand, m.hard);
      expected.push_back(text);
      expectedStates.push_back(source.state);
    }
  }

  struct Runner {
    const char* name;
    TranslatePath path;
    PassFunction run;
  };
  std::vector<Runner> runners;
  for (const TranslatePath path : kAllTranslatePaths) {
    if (TranslatePathAvailable(path)) {
      runners.push_back({TranslatePathName(path), path, OnPath});
    }
  }
  runners.push_back({"TranslateText", FastestTranslatePath(), Dispatched});

  const auto pieces = Pieces(c.splits, c.text.size());
  for (const Runner& runner : runners) {
    std::string text = c.text;
    RandomSource source{c.state};
    for (std::size_t p = 0; p < c.passes.size(); ++p) {
      for (const auto& [offset, length] : pieces) {
        runner.run(runner.path, source, text.data() + offset, length,
                   c.passes[p].rand, c.passes[p].hard);
      }
      if (text != expected[p] || source.state != expectedStates[p]) {
        Mismatch(runner.name, c, p, expected[p], expectedStates[p], text,
                 source.state);
      }
    }
  }
  return 0;
}
