// The fast translation pass against the reference pass: every path this
// processor can run, every combination of modes, texts of every byte value,
// English-like text and text made mostly of look-alike keys, from many start
// states. Each comparison covers the output bytes and the state left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "english_text.h"
#include "translate.h"
#include "translate_paths.h"
#include "translate_reference.h"
#include "support/test_random.h"

// Names the path in test output.
void PrintTo(TranslatePath path, std::ostream* out) {
  *out << TranslatePathName(path);
}

namespace {

constexpr std::size_t kBatch = kTranslateBatchBytes;

struct Modes {
  bool rand;
  bool hard;
};
constexpr Modes kAllModes[] = {
    {false, false}, {false, true}, {true, false}, {true, true}};

std::string Describe(Modes m) {
  return std::string("rand=") + (m.rand ? "on" : "off") +
         " hard=" + (m.hard ? "on" : "off");
}

// Bytes of every value, 00 to FF, equally likely.
std::string AnyBytes(TestRandom& random, std::size_t length) {
  std::string s(length, '\0');
  for (char& c : s) c = static_cast<char>(random.Next() & 0xFF);
  return s;
}

// Mostly bytes with look-alikes, so that nearly every byte may draw a
// replacement, with their upper-case forms and a few other bytes between.
std::string KeyHeavy(TestRandom& random, std::size_t length) {
  static const std::string kPool =
      "abcdeilnorsuxy?!.0123abcdeilnorsuxy?!.0123aaaaooouuu"
      "ABCDEILNORSUXYzZ \r\n\x81\xE9";
  std::string s(length, '\0');
  for (char& c : s) c = kPool[random.Below(kPool.size())];
  return s;
}

struct Outcome {
  std::string text;
  std::uint32_t state;
};

Outcome Reference(std::uint32_t start, std::string text, Modes m,
                  int passes = 1) {
  RandomSource source{start};
  for (int i = 0; i < passes; ++i)
    TranslateTextReference(source, text.data(), text.size(), m.rand, m.hard);
  return {text, source.state};
}

Outcome OnPath(TranslatePath path, std::uint32_t start, std::string text,
               Modes m, int passes = 1) {
  RandomSource source{start};
  for (int i = 0; i < passes; ++i)
    TranslateTextOnPath(path, source, text.data(), text.size(), m.rand, m.hard);
  return {text, source.state};
}

// The first position where two results differ, for a readable failure.
std::string FirstDifference(const Outcome& expected, const Outcome& actual) {
  if (expected.text.size() != actual.text.size()) return "length differs";
  for (std::size_t i = 0; i < expected.text.size(); ++i) {
    if (expected.text[i] != actual.text[i]) {
      return "byte " + std::to_string(i) + ": expected " +
             std::to_string(static_cast<unsigned char>(expected.text[i])) +
             ", got " +
             std::to_string(static_cast<unsigned char>(actual.text[i]));
    }
  }
  if (expected.state != actual.state) {
    return "final state: expected " + std::to_string(expected.state) +
           ", got " + std::to_string(actual.state);
  }
  return "";
}

// The state whose low 17 bits stand `position` steps into the cycle of the
// generator's low 17 bits that starts at 0, with `high` above them. The
// parity of every draw comes from that cycle, which has length 2^17.
std::uint32_t StateAtCyclePosition(std::uint32_t position, std::uint32_t high) {
  std::uint32_t x = 0;
  for (std::uint32_t i = 0; i < position; ++i)
    x = (x * 214013u + 2531011u) & 0x1FFFFu;
  return (high << 17) | x;
}

class FastPass : public testing::TestWithParam<TranslatePath> {
 protected:
  void SetUp() override {
    if (!TranslatePathAvailable(GetParam()))
      GTEST_SKIP() << TranslatePathName(GetParam())
                   << " is not available on this machine";
  }

  void ExpectSame(std::uint32_t start, const std::string& text, Modes m,
                  const std::string& what, int passes = 1) {
    const Outcome expected = Reference(start, text, m, passes);
    const Outcome actual = OnPath(GetParam(), start, text, m, passes);
    EXPECT_EQ(FirstDifference(expected, actual), "")
        << what << ", " << Describe(m) << ", length " << text.size()
        << ", start state " << start << ", passes " << passes;
  }
};

// Lengths around the batch size and its multiples, and a few longer ones.
const std::size_t kLengths[] = {0,
                                1,
                                kBatch - 1,
                                kBatch,
                                kBatch + 1,
                                2 * kBatch - 1,
                                2 * kBatch,
                                3 * kBatch + 5,
                                7 * kBatch + kBatch / 2,
                                64 * kBatch + 3,
                                1000 * kBatch + 63};

TEST_P(FastPass, MatchesReferenceOnEveryByteValue) {
  TestRandom random(1);
  for (const Modes m : kAllModes) {
    for (const std::size_t length : kLengths) {
      for (int trial = 0; trial < 3; ++trial)
        ExpectSame(random.State(), AnyBytes(random, length), m, "any bytes");
    }
  }
}

TEST_P(FastPass, MatchesReferenceOnEnglishText) {
  const std::string text = EnglishText(256 * 1024 + 37);
  TestRandom random(2);
  for (const Modes m : kAllModes) {
    for (const std::uint32_t start : {1u, 0u, 0xFFFFFFFFu, random.State()})
      ExpectSame(start, text, m, "English text");
  }
}

TEST_P(FastPass, MatchesReferenceOnTextMostlyOfKeys) {
  TestRandom random(3);
  for (const Modes m : kAllModes) {
    for (const std::size_t length : kLengths)
      ExpectSame(random.State(), KeyHeavy(random, length), m, "keys");
  }
}

// Keys whose rows have 3 or more alternatives, so that a replacement needs
// the whole value of its draw, not just its parity; up to every byte of a
// batch needs one.
TEST_P(FastPass, MatchesReferenceWhenEveryReplacementNeedsTheWholeDraw) {
  static const std::string kPool = "aocuxy0";
  TestRandom random(7);
  for (const Modes m : kAllModes) {
    std::string text(40 * kBatch + 13, '\0');
    for (char& c : text) c = kPool[random.Below(kPool.size())];
    ExpectSame(random.State(), text, m, "keys of 3 or more alternatives");
  }
}

// Translating a text piece by piece, the state carried from one piece to the
// next, gives what one pass over the whole gives.
TEST_P(FastPass, PiecesInARowEqualOnePass) {
  TestRandom random(4);
  for (const Modes m : kAllModes) {
    for (int trial = 0; trial < 150; ++trial) {
      const std::size_t length = random.Below(9 * kBatch);
      const std::string text =
          trial % 2 ? AnyBytes(random, length) : KeyHeavy(random, length);
      std::vector<std::size_t> cuts = {0, length};
      for (std::size_t n = random.Below(5); n > 0; --n)
        cuts.push_back(random.Below(length + 1));
      std::sort(cuts.begin(), cuts.end());

      const std::uint32_t start = random.State();
      const Outcome expected = Reference(start, text, m);
      Outcome actual{text, start};
      RandomSource source{start};
      for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        TranslateTextOnPath(GetParam(), source, actual.text.data() + cuts[i],
                            cuts[i + 1] - cuts[i], m.rand, m.hard);
      }
      actual.state = source.state;
      EXPECT_EQ(FirstDifference(expected, actual), "")
          << Describe(m) << ", length " << length << ", " << cuts.size() - 1
          << " pieces, start state " << start;
    }
  }
}

// Each pass works on what the one before it wrote, drawing on from where it
// stopped.
TEST_P(FastPass, SeveralPassesInARow) {
  TestRandom random(5);
  for (const Modes m : kAllModes) {
    ExpectSame(random.State(), EnglishText(40 * kBatch + 9), m, "English", 4);
    ExpectSame(random.State(), KeyHeavy(random, 40 * kBatch + 50), m, "keys",
               4);
  }
}

// The parity of the draws repeats every 2^17 draws; a pass that starts just
// before the end of that cycle reads its parity across the end.
TEST_P(FastPass, StartsJustBeforeTheEndOfTheParityCycle) {
  TestRandom random(6);
  for (const std::uint32_t before :
       {1u, 2u, 3u, 5u, 64u, 65u, 100u, 255u, 256u, 257u, 511u, 700u}) {
    const std::uint32_t start = StateAtCyclePosition(
        (1u << 17) - before,
        static_cast<std::uint32_t>(random.Below(1u << 15)));
    for (const Modes m : kAllModes) {
      ExpectSame(start, KeyHeavy(random, 12 * kBatch + 7), m, "keys");
      ExpectSame(start, AnyBytes(random, 12 * kBatch + 7), m, "any bytes");
    }
  }
}

// A batch of 64 look-alike keys in Rand and Hard mode takes from 128 draws
// (every coin even) to 256 (every coin odd). The start states where such a
// batch takes the most and the fewest draws the cycle allows push the draw
// counts within a batch to their extremes.
TEST_P(FastPass, BatchesThatTakeTheMostAndTheFewestDraws) {
  constexpr std::uint32_t kCycle = 1u << 17;
  // parity[i]: the parity of the draw made from cycle position i.
  std::vector<std::uint8_t> parity(kCycle);
  std::uint32_t x = 0;
  for (std::uint32_t i = 0; i < kCycle; ++i) {
    x = (x * 214013u + 2531011u) & 0x1FFFFu;
    parity[i] = static_cast<std::uint8_t>((x >> 16) & 1u);
  }
  auto drawsFrom = [&](std::uint32_t position, bool hard) {
    std::uint32_t draws = 0;
    for (std::size_t byte = 0; byte < kBatch; ++byte) {
      const std::uint32_t coin = parity[(position + draws + 1) % kCycle];
      draws += 2 + coin * (hard ? 2 : 1);
    }
    return draws;
  };

  for (const bool hard : {false, true}) {
    std::uint32_t most = 0, fewest = 0;
    std::uint32_t mostDraws = 0, fewestDraws = 4 * kBatch;
    for (std::uint32_t p = 0; p < kCycle; ++p) {
      const std::uint32_t draws = drawsFrom(p, hard);
      if (draws > mostDraws) most = p, mostDraws = draws;
      if (draws < fewestDraws) fewest = p, fewestDraws = draws;
    }
    for (const std::uint32_t position : {most, fewest}) {
      const std::uint32_t start = StateAtCyclePosition(position, 0x1234);
      const Modes m{true, hard};
      ExpectSame(start, std::string(3 * kBatch, 'a'), m,
                 "draws " + std::to_string(drawsFrom(position, hard)));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryPath, FastPass,
                         testing::ValuesIn(kAllTranslatePaths),
                         [](const testing::TestParamInfo<TranslatePath>& info) {
                           return std::string(TranslatePathName(info.param));
                         });

TEST(TranslateTextDispatch, UsesAnAvailablePathAndMatchesTheReference) {
  EXPECT_TRUE(TranslatePathAvailable(TranslatePath::kPortable));
  EXPECT_TRUE(TranslatePathAvailable(FastestTranslatePath()));
  std::string text = EnglishText(100 * kBatch + 21);
  const Outcome expected = Reference(77, text, {true, true});
  RandomSource source{77};
  TranslateText(source, text.data(), text.size(), true, true);
  EXPECT_EQ(FirstDifference(expected, {text, source.state}), "");
}

}  // namespace
