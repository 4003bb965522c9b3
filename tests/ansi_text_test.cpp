// The Windows-1252 table and the edit control's two text forms: bytes in,
// display form, bytes out.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ansi_text.h"
#include "windows1252.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string AllBytesFrom1() {
  std::string s;
  for (int b = 1; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

std::string RoundTrip(const std::string& bytes) {
  const DisplayText display = AnsiToDisplay(bytes.data(), bytes.size());
  EXPECT_EQ(display.utf8.size(), display.style.size());
  return DisplayToAnsi(display.utf8.data(), display.style.data(),
                       display.utf8.size());
}

// --- The table ------------------------------------------------------------

TEST(Windows1252, HighRowMatchesThePublishedTable) {
  // 80..9F as Microsoft's code page table lists them, typed out separately
  // from the program's table.
  std::istringstream listed(
      "20AC 0081 201A 0192 201E 2026 2020 2021 02C6 2030 0160 2039 0152 008D"
      " 017D 008F 0090 2018 2019 201C 201D 2022 2013 2014 02DC 2122 0161 203A"
      " 0153 009D 017E 0178");
  std::string hex;
  int byte = 0x80;
  while (listed >> hex) {
    const auto expected = static_cast<char32_t>(std::stoul(hex, nullptr, 16));
    EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(byte)), expected)
        << "byte " << std::hex << byte;
    ++byte;
  }
  EXPECT_EQ(byte, 0xA0);
}

TEST(Windows1252, OtherBytesAreTheirOwnCodePoint) {
  for (int b = 0; b < 256; ++b) {
    if (b >= 0x80 && b <= 0x9F) continue;
    EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(b)),
              static_cast<char32_t>(b));
  }
}

TEST(Windows1252, EveryByteComesBack) {
  for (int b = 0; b < 256; ++b) {
    const char32_t c = Windows1252ToUnicode(static_cast<unsigned char>(b));
    EXPECT_EQ(UnicodeToWindows1252(c), b) << "byte " << b;
  }
}

TEST(Windows1252, ExactlyTheImagesOfTheBytesHaveAByte) {
  int mapped = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const int b = UnicodeToWindows1252(c);
    if (b < 0) continue;
    ++mapped;
    ASSERT_LT(b, 256);
    EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(b)), c);
  }
  EXPECT_EQ(mapped, 256);
  // The C1 controls that the high row replaces have no byte.
  EXPECT_EQ(UnicodeToWindows1252(0x80), -1);
  EXPECT_EQ(UnicodeToWindows1252(0x9F), -1);
}

// --- Round trips ------------------------------------------------------------

struct RoundTripCase {
  const char* name;
  std::string bytes;
};

class AnsiRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(AnsiRoundTrip, BytesComeBackUnchanged) {
  EXPECT_EQ(RoundTrip(GetParam().bytes), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    LineEndsAndBytes, AnsiRoundTrip,
    testing::Values(
        RoundTripCase{"Empty", ""}, RoundTripCase{"CrLf", "one\r\ntwo\r\n"},
        RoundTripCase{"LoneLf", "one\ntwo\n"},
        RoundTripCase{"LoneCr", "one\rtwo\r"},
        RoundTripCase{"CrCrLf", "a\r\r\nb"}, RoundTripCase{"LfCr", "a\n\rb"},
        RoundTripCase{"AllKindsTogether", "\r\n\n\r\r\r\n\n\n\r"},
        RoundTripCase{"EveryByte", AllBytesFrom1()},
        RoundTripCase{"HighRow", Bytes({0x80, 0x81, 0x8A, 0x8D, 0x8F, 0x90,
                                        0x93, 0x99, 0x9D, 0x9F})}),
    [](const testing::TestParamInfo<RoundTripCase>& info) {
      return std::string(info.param.name);
    });

TEST(AnsiRoundTripLong, PseudoRandomBytes) {
  // Long enough to cross many ASCII runs and multi-byte characters.
  std::string bytes(1 << 20, '\0');
  std::uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(1 + (state >> 16) % 255);
  }
  EXPECT_EQ(RoundTrip(bytes), bytes);
}

// --- The display form ------------------------------------------------------

struct DisplayCase {
  std::string bytes;
  std::string utf8;
  std::string style;
};

class AnsiDisplayForm : public testing::TestWithParam<DisplayCase> {};

TEST_P(AnsiDisplayForm, OneNewlinePerLineEndWithItsStyle) {
  const DisplayCase& c = GetParam();
  const DisplayText display = AnsiToDisplay(c.bytes.data(), c.bytes.size());
  EXPECT_EQ(display.utf8, c.utf8);
  EXPECT_EQ(display.style, c.style);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiDisplayForm,
    testing::Values(
        DisplayCase{"a\r\nb\nc\rd", "a\nb\nc\nd", "AAABACA"},
        DisplayCase{"\r\r\n", "\n\n", "CA"}, DisplayCase{"\n\r", "\n\n", "BC"},
        DisplayCase{"\r", "\n", "C"},
        DisplayCase{Bytes({0x80}), Bytes({0xE2, 0x82, 0xAC}), "AAA"},
        // pound, O with stroke, c cedilla
        DisplayCase{Bytes({0xA3, 0xD8, 0xE7}),
                    Bytes({0xC2, 0xA3, 0xC3, 0x98, 0xC3, 0xA7}), "AAAAAA"},
        DisplayCase{Bytes({0x81, 0x9F}), Bytes({0xC2, 0x81, 0xC5, 0xB8}),
                    "AAAA"}));

// --- Back to bytes
// -------------------------------------------------------------

struct ToAnsiCase {
  const char* name;
  std::string utf8;
  const char* style;  // null: no style at all
  std::string bytes;
};

class DisplayToAnsiCases : public testing::TestWithParam<ToAnsiCase> {};

TEST_P(DisplayToAnsiCases, Converts) {
  const ToAnsiCase& c = GetParam();
  EXPECT_EQ(DisplayToAnsi(c.utf8.data(), c.style, c.utf8.size()), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayToAnsiCases,
    testing::Values(
        ToAnsiCase{"NoStyleIsCrLf", "a\nb\n", nullptr, "a\r\nb\r\n"},
        ToAnsiCase{"ShortStyleEndsInCrLf", "a\nb\nc\n", "ABAC", "a\nb\rc\r\n"},
        ToAnsiCase{"Euro", Bytes({0xE2, 0x82, 0xAC}), nullptr, Bytes({0x80})},
        ToAnsiCase{"CapitalYDiaeresis", Bytes({0xC5, 0xB8}), nullptr,
                   Bytes({0x9F})},
        ToAnsiCase{"C1ControlKeptByTheTable", Bytes({0xC2, 0x8D}), nullptr,
                   Bytes({0x8D})},
        ToAnsiCase{"C1ControlReplacedByTheTable", Bytes({0xC2, 0x80}), nullptr,
                   "?"},
        ToAnsiCase{"Omega", "x\xCE\xA9y", nullptr, "x?y"},
        ToAnsiCase{"OutsideTheBmp", "\xF0\x9F\x98\x80!", nullptr, "?!"},
        ToAnsiCase{"LoneLeadByte", "\xC3", nullptr, "?"},
        ToAnsiCase{"TruncatedThenAscii",
                   "\xE2\x82"
                   "A",
                   nullptr, "??A"},
        ToAnsiCase{"StrayContinuation",
                   "a\x80"
                   "b",
                   nullptr, "a?b"},
        ToAnsiCase{"Overlong", "\xC0\xAF\xE0\x80\xAF", nullptr, "?????"},
        ToAnsiCase{"Surrogate", "\xED\xA0\x80", nullptr, "???"},
        ToAnsiCase{"AboveUnicode", "\xF4\x90\x80\x80", nullptr, "????"},
        ToAnsiCase{"InvalidByteFF", "\xFF\xFE", nullptr, "??"}),
    [](const testing::TestParamInfo<ToAnsiCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
