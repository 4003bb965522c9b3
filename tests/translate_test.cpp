// The engine: the fixed random sequence, the table, and the pass's results and
// draw counts from a known state.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "translate.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Translated(RandomSource& source, std::string text, bool randMode,
                       bool hardMode) {
  TranslateText(source, text.data(), text.size(), randMode, hardMode);
  return text;
}

// How many draws lead from `from` to `to` (at most `limit`), or -1.
long DrawsBetween(RandomSource from, RandomSource to, long limit) {
  for (long n = 0; n <= limit; ++n) {
    if (from.state == to.state) return n;
    NextRandom(from);
  }
  return -1;
}

TEST(NextRandom, FirstTenValuesFromStart) {
  RandomSource source;
  const int expected[] = {41,    18467, 6334,  26500, 19169,
                          15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(NextRandom(source), value);
}

TEST(NextRandom, ProcessSourceStartsAtOne) {
  // Nothing in this test binary draws from the process-wide source before.
  RandomSource copy = ProcessRandom();
  EXPECT_EQ(copy.state, 1u);
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  ProcessRandom() = RandomSource{};
}

TEST(CaseMapping, OnlyAsciiLettersChange) {
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    const bool lower = c >= 'a' && c <= 'z';
    const bool upper = c >= 'A' && c <= 'Z';
    EXPECT_EQ(ToUpperAscii(b), lower ? c - 32 : c) << c;
    EXPECT_EQ(ToLowerAscii(b), upper ? c + 32 : c) << c;
  }
}

struct PassCase {
  const char* name;
  std::vector<std::string> passes;  // inputs, translated one after another
  bool randMode;
  bool hardMode;
  std::vector<std::string> expected;
};

class PassFromStart : public testing::TestWithParam<PassCase> {};

TEST_P(PassFromStart, GivesTheKnownBytes) {
  const PassCase& c = GetParam();
  RandomSource source;
  for (std::size_t i = 0; i < c.passes.size(); ++i) {
    EXPECT_EQ(Translated(source, c.passes[i], c.randMode, c.hardMode),
              c.expected[i])
        << "pass " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PassFromStart,
    testing::Values(
        PassCase{"BothOff", {"hello world"}, false, false, {"heLLo WORLd"}},
        PassCase{"RandOnly", {"hello world"}, true, false, {"HELLo worLD"}},
        PassCase{"BothOn",
                 {"hello world"},
                 true,
                 true,
                 {Bytes({0x48, 0x33, 0x4C, 0xA3, 0xD8, 0x20, 0x77, 0xD8, 0x72,
                         0xA3, 0x64})}},
        PassCase{"HardOnlyReplacesEveryEligibleByte",
                 {"hello world"},
                 false,
                 true,
                 {Bytes({0x68, 0x33, 0xA3, 0xA3, 0xD8, 0x20, 0x77, 0xD8, 0xAE,
                         0xA3, 0xD0})}},
        PassCase{
            "UpperCaseInputNeverReplaced",
            {"AAAA aaaa"},
            true,
            true,
            {Bytes({0x41, 0x41, 0x41, 0x41, 0x20, 0x34, 0xC6, 0x41, 0x61})}},
        PassCase{"SecondPassContinuesTheSequence",
                 {"abc", "abc"},
                 true,
                 true,
                 {Bytes({0xE3, 0x62, 0x43}), Bytes({0x41, 0xFE, 0xC7})}},
        PassCase{"CrLfUnchanged", {"\r\n"}, true, true, {"\r\n"}}),
    [](const testing::TestParamInfo<PassCase>& info) {
      return std::string(info.param.name);
    });

// The table read a second way: the hex column as printed for people.
TEST(LookalikeTable, MatchesTheHexColumn) {
  struct Row {
    char key;
    const char* hex;
  };
  const Row rows[] = {
      {'a', "40 E5 C0 C4 34 C1 C2 40 C3 C6 E1 E2 E3 34"},
      {'b', "DF FE"},
      {'c', "A9 A2 C7"},
      {'d', "D0"},
      {'e', "33 26"},
      {'i', "7C A1"},
      {'l', "A3"},
      {'n', "F1"},
      {'o', "F8 D8 F5"},
      {'r', "AE"},
      {'s', "A7"},
      {'u', "B5 F9 FA FB FC"},
      {'x', "D7 2A A4"},
      {'y', "A5 FF FD"},
      {'?', "BF"},
      {'!', "A1"},
      {'.', "B7"},
      {'0', "B0 F8 D8 4F"},
      {'1', "B9 49"},
      {'2', "B2"},
      {'3', "B3"},
  };
  ASSERT_EQ(std::size(rows), static_cast<std::size_t>(LookalikeCount));
  for (int i = 0; i < LookalikeCount; ++i) {
    std::string expected;
    std::istringstream in(rows[i].hex);
    unsigned value = 0;
    while (in >> std::hex >> value)
      expected.push_back(static_cast<char>(value));
    EXPECT_EQ(LookalikeTable[i].key, rows[i].key) << "row " << i + 1;
    EXPECT_EQ(std::string(LookalikeTable[i].alternatives), expected)
        << "row " << i + 1;
  }
}

TEST(TranslateText, BytesFrom80ToFFAreNeverChanged) {
  std::string text;
  for (int c = 0x80; c <= 0xFF; ++c) text.push_back(static_cast<char>(c));
  for (int mode = 0; mode < 4; ++mode) {
    RandomSource source;
    EXPECT_EQ(Translated(source, text, mode & 1, mode & 2), text) << mode;
  }
}

TEST(TranslateText, EmptyTextDrawsNothing) {
  RandomSource source;
  TranslateText(source, nullptr, 0, true, true);
  EXPECT_EQ(source.state, 1u);
}

// Draw counts on a text of every byte value 01..FF, counted by walking the
// generator from the start state to where the pass left it.
TEST(TranslateText, DrawCountsFollowTheRules) {
  std::string text;
  for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
  const std::string keys = "abcdeilnorsuxy?!.0123";
  long eligible = 0;
  for (char c : text) eligible += keys.find(c) != std::string::npos;
  const long n = static_cast<long>(text.size());

  for (RandomSource start : {RandomSource{1}, RandomSource{0xDEADBEEF}}) {
    RandomSource source = start;
    Translated(source, text, false, false);
    EXPECT_EQ(DrawsBetween(start, source, 10 * n), n);

    source = start;
    Translated(source, text, false, true);
    EXPECT_EQ(DrawsBetween(start, source, 10 * n), n + eligible);

    // Rand mode: a case draw and a coin per byte, one more on a 1 coin, and
    // one more again for an eligible byte when Hard mode is on.
    for (bool hard : {false, true}) {
      RandomSource model = start;
      long expected = 0;
      for (char c : text) {
        NextRandom(model);
        const bool coin = NextRandom(model) % 2 == 1;
        expected += 2;
        if (coin) {
          NextRandom(model);
          ++expected;
          if (hard && keys.find(c) != std::string::npos) {
            NextRandom(model);
            ++expected;
          }
        }
      }
      source = start;
      Translated(source, text, true, hard);
      EXPECT_EQ(DrawsBetween(start, source, 10 * n), expected) << hard;
      EXPECT_EQ(source.state, model.state);
    }
  }
}

// Only ASCII letters change case, and replacements come only from the row of
// the input byte.
TEST(TranslateText, EveryOutputByteIsAllowedForItsInput) {
  std::string text;
  for (int round = 0; round < 4; ++round)
    for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
  RandomSource source{12345};
  const std::string out = Translated(source, text, true, true);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto in = static_cast<unsigned char>(text[i]);
    const auto o = static_cast<unsigned char>(out[i]);
    std::string allowed(1, static_cast<char>(in));
    allowed.push_back(static_cast<char>(ToUpperAscii(in)));
    allowed.push_back(static_cast<char>(ToLowerAscii(in)));
    for (const LookalikeEntry& row : LookalikeTable)
      if (row.key == in) allowed += row.alternatives;
    EXPECT_NE(allowed.find(static_cast<char>(o)), std::string::npos)
        << "input " << int(in) << " output " << int(o);
  }
}

TEST(TranslateText, ProcessWideOverloadUsesTheProcessSource) {
  ProcessRandom() = RandomSource{};
  std::string text = "abc";
  TranslateText(text.data(), text.size(), true, true);
  EXPECT_EQ(text, Bytes({0xE3, 0x62, 0x43}));
  RandomSource fresh;
  Translated(fresh, "abc", true, true);
  EXPECT_EQ(ProcessRandom().state, fresh.state);
  ProcessRandom() = RandomSource{};
}

}  // namespace
