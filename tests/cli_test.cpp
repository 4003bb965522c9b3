// zorkel-cli as a process: the real binary run with pipes, its output
// compared with the engine run here from the same random state.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "filter.h"
#include "translate.h"
#include "windows1252.h"

namespace {

// ---------------------------------------------------------------------------
// Running the binary

struct Child {
  std::vector<std::string> args{};
  std::string input{};       // written to its standard input through a pipe
  std::string stdinPath{};   // instead: standard input opened from this path
  std::string stdoutPath{};  // standard output to this path, not captured
  // Our end of the standard output pipe is closed once this much has come.
  std::size_t stdoutLimit = std::string::npos;
  bool sigpipeIgnored = false;  // as if started by a shell that ignores it
  std::string workDir{};
};

struct Finished {
  std::string out;
  std::string err;
  int status = 0;  // from waitpid
  int ExitCode() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
};

// Failures here are of the machine, not of the program under test.
void Require(bool ok, const char* what) {
  if (!ok) {
    std::perror(what);
    std::abort();
  }
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

Finished RunCli(const Child& c) {
  // A child that stops reading must not end the test with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);

  int in[2] = {-1, -1};
  int out[2] = {-1, -1};
  int err[2] = {-1, -1};
  if (c.stdinPath.empty()) {
    Require(pipe2(in, O_CLOEXEC) == 0, "pipe");
  } else {
    in[0] = open(c.stdinPath.c_str(), O_RDONLY | O_CLOEXEC);
    Require(in[0] >= 0, c.stdinPath.c_str());
  }
  if (c.stdoutPath.empty()) {
    Require(pipe2(out, O_CLOEXEC) == 0, "pipe");
  } else {
    out[1] = open(c.stdoutPath.c_str(), O_WRONLY | O_CLOEXEC);
    Require(out[1] >= 0, c.stdoutPath.c_str());
  }
  Require(pipe2(err, O_CLOEXEC) == 0, "pipe");

  std::vector<std::string> argStrings{ZORKEL_CLI_PATH};
  argStrings.insert(argStrings.end(), c.args.begin(), c.args.end());
  std::vector<char*> argv;
  for (std::string& s : argStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  Require(pid >= 0, "fork");
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    if (dup2(in[0], 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0) {
      _exit(126);
    }
    if (!c.workDir.empty() && chdir(c.workDir.c_str()) != 0) _exit(126);
    signal(SIGPIPE, c.sigpipeIgnored ? SIG_IGN : SIG_DFL);
    execv(argv[0], argv.data());
    _exit(127);
  }
  CloseFd(in[0]);
  CloseFd(out[1]);
  CloseFd(err[1]);

  Finished done;
  std::size_t sent = 0;
  if (in[1] >= 0) {
    if (c.input.empty())
      CloseFd(in[1]);
    else
      fcntl(in[1], F_SETFL, O_NONBLOCK);
  }
  char buffer[65536];
  while (in[1] >= 0 || out[0] >= 0 || err[0] >= 0) {
    pollfd fds[3];
    int* owners[3];
    nfds_t n = 0;
    for (int* fd : {&in[1], &out[0], &err[0]}) {
      if (*fd < 0) continue;
      fds[n] = {*fd, fd == &in[1] ? short(POLLOUT) : short(POLLIN), 0};
      owners[n++] = fd;
    }
    if (poll(fds, n, -1) < 0) {
      Require(errno == EINTR, "poll");
      continue;
    }
    for (nfds_t i = 0; i < n; ++i) {
      if (fds[i].revents == 0) continue;
      int& fd = *owners[i];
      if (&fd == &in[1]) {
        const ssize_t put =
            write(fd, c.input.data() + sent, c.input.size() - sent);
        if (put > 0) sent += static_cast<std::size_t>(put);
        // EPIPE: the child has stopped reading; the rest is not wanted.
        if (sent == c.input.size() || (put < 0 && errno != EAGAIN)) {
          CloseFd(fd);
        }
        continue;
      }
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got <= 0) {
        CloseFd(fd);
        continue;
      }
      std::string& sink = &fd == &out[0] ? done.out : done.err;
      sink.append(buffer, static_cast<std::size_t>(got));
      if (&fd == &out[0] && done.out.size() >= c.stdoutLimit) CloseFd(fd);
    }
  }
  Require(waitpid(pid, &done.status, 0) == pid, "waitpid");
  return done;
}

// ---------------------------------------------------------------------------
// Expected results

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Engine(RandomSource& source, std::string text, bool randMode = true,
                   bool hardMode = true) {
  TranslateText(source, text.data(), text.size(), randMode, hardMode);
  return text;
}

// Written here rather than taken from the program, so that a fault in its
// encoder cannot hide. Windows-1252 characters all lie below U+10000.
std::string Utf8Of(char32_t c) {
  const auto v = static_cast<unsigned>(c);
  if (v < 0x80) return std::string(1, static_cast<char>(v));
  if (v < 0x800) return Bytes({0xC0 | int(v >> 6), 0x80 | int(v & 0x3F)});
  return Bytes(
      {0xE0 | int(v >> 12), 0x80 | int((v >> 6) & 0x3F), 0x80 | int(v & 0x3F)});
}

// One unit of UTF-8 input: its bytes and the Windows-1252 byte it goes
// through the engine as, or kOpaque.
constexpr int kOpaque = -1;
struct Unit {
  std::string bytes;
  int byte;
};

std::string Join(const std::vector<Unit>& units, std::size_t repeat = 1) {
  std::string s;
  for (std::size_t r = 0; r < repeat; ++r)
    for (const Unit& u : units) s += u.bytes;
  return s;
}

// The engine over the units' bytes (an opaque unit as a high byte, which
// draws like any other and never changes), `passes` times, then back to
// UTF-8 with each opaque unit as it came.
std::string ExpectedUtf8(RandomSource& source, const std::vector<Unit>& units,
                         std::size_t repeat = 1, unsigned passes = 1) {
  std::string engine;
  for (std::size_t r = 0; r < repeat; ++r)
    for (const Unit& u : units)
      engine.push_back(static_cast<char>(u.byte == kOpaque ? 0x81 : u.byte));
  for (unsigned p = 0; p < passes; ++p) engine = Engine(source, engine);
  std::string out;
  for (std::size_t i = 0; i < engine.size(); ++i) {
    const Unit& u = units[i % units.size()];
    out += u.byte == kOpaque ? u.bytes
                             : Utf8Of(Windows1252ToUnicode(
                                   static_cast<unsigned char>(engine[i])));
  }
  return out;
}

// Deterministic noise, zero bytes included.
std::string RandomBytes(std::size_t size) {
  std::mt19937 generator(20240611);
  std::string s(size, '\0');
  for (char& c : s) c = static_cast<char>(generator() & 0xFF);
  return s;
}

class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "zorkel-cli-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Creates a file in the test's directory and returns its path.
  std::string File(const std::string& name, const std::string& bytes) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::string dir_;
};

// ---------------------------------------------------------------------------
// Translation

// Test listings show a case by its name or arguments, not as a byte dump.
void PrintArgs(const std::vector<std::string>& args, std::ostream* os) {
  for (const std::string& a : args) *os << a << ' ';
}

struct ModeCase {
  const char* name;
  std::vector<std::string> args;
  std::string expected;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << c.name; }

class Modes : public testing::TestWithParam<ModeCase> {};

TEST_P(Modes, StandardInputFromProcessStart) {
  const Finished r = RunCli({.args = GetParam().args, .input = "hello world"});
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    HelloWorld, Modes,
    testing::Values(ModeCase{"BothOn",
                             {},
                             Bytes({0x48, 0x33, 0x4C, 0xA3, 0xD8, 0x20, 0x77,
                                    0xD8, 0x72, 0xA3, 0x64})},
                    ModeCase{
                        "BothOff", {"--no-rand", "--no-hard"}, "heLLo WORLd"},
                    ModeCase{"HardOnly",
                             {"--no-rand"},
                             Bytes({0x68, 0x33, 0xA3, 0xA3, 0xD8, 0x20, 0x77,
                                    0xD8, 0xAE, 0xA3, 0xD0})},
                    ModeCase{"RandOnly", {"--no-hard"}, "HELLo worLD"}),
    [](const testing::TestParamInfo<ModeCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(CliTest, FilesContinueOneSequence) {
  const std::string a = File("a", "abc");
  const std::string b = File("b", "abc");
  const Finished r = RunCli({.args = {a, b}});
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.out, Bytes({0xE3, 0x62, 0x43, 0x41, 0xFE, 0xC7}));
}

TEST_F(CliTest, EmptyInputsDrawNothingAndStandardInputTakesItsTurn) {
  const std::string empty = File("empty", "");
  const std::string a = File("a", "abc");
  const std::string b = File("b", "lose!");
  const Finished r =
      RunCli({.args = {empty, a, "-", empty, b}, .input = "xyz 0."});
  RandomSource source;
  std::string expected = Engine(source, "abc");
  expected += Engine(source, "xyz 0.");
  expected += Engine(source, "lose!");
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.out, expected);
}

struct SeedCase {
  std::vector<std::string> args;
  std::uint32_t state;
};
void PrintTo(const SeedCase& c, std::ostream* os) { PrintArgs(c.args, os); }

class Seed : public testing::TestWithParam<SeedCase> {};

TEST_P(Seed, StartsTheSequenceThere) {
  const std::string text = "hello world, abc 0123 xyz?!.";
  const Finished r = RunCli({.args = GetParam().args, .input = text});
  RandomSource source{GetParam().state};
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.out, Engine(source, text));
}

INSTANTIATE_TEST_SUITE_P(
    States, Seed,
    testing::Values(SeedCase{{"--seed", "0"}, 0},
                    SeedCase{{"--seed=4294967295"}, 0xFFFFFFFFu},
                    SeedCase{{"--seed", "00012345"}, 12345},
                    SeedCase{{"--seed=1"}, 1}));

struct PassesCase {
  std::vector<std::string> args;
  unsigned passes;
  bool randMode;
};
void PrintTo(const PassesCase& c, std::ostream* os) { PrintArgs(c.args, os); }

class Passes : public testing::TestWithParam<PassesCase> {};

// Each input is done N times in a row before the next one starts.
TEST_P(Passes, EachInputWorksOnThePreviousPass) {
  const PassesCase& c = GetParam();
  std::vector<std::string> args = c.args;
  args.push_back("-");
  args.push_back("-");  // at its end already: an empty input
  const Finished r = RunCli({.args = args, .input = "hello world abc"});
  RandomSource source;
  std::string expected = "hello world abc";
  for (unsigned p = 0; p < c.passes; ++p)
    expected = Engine(source, expected, c.randMode);
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, Passes,
    testing::Values(PassesCase{{"--passes", "2"}, 2, true},
                    PassesCase{{"--passes=3", "--no-rand"}, 3, false},
                    PassesCase{{"--passes", "1"}, 1, true},
                    PassesCase{{"--passes", "25"}, 25, true}));

TEST_F(CliTest, PassesOverTwoFilesFinishTheFirstBeforeTheSecond) {
  const std::string a = File("a", "abc");
  const std::string b = File("b", "lose");
  const Finished r = RunCli({.args = {"--passes", "2", a, b}});
  RandomSource source;
  std::string expected = Engine(source, Engine(source, "abc"));
  expected += Engine(source, Engine(source, "lose"));
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.out, expected);
}

class Chunks : public CliTest, public testing::WithParamInterface<bool> {};

// Several chunks of noise, zeros included, equal one pass over the whole,
// whether read from a file (full chunks) or a pipe (whatever it holds).
TEST_P(Chunks, BytesEqualOnePassOverTheWhole) {
  const std::string text = RandomBytes(6 * cli::kChunkBytes + 12345);
  Child child;
  if (GetParam()) {
    child.args = {File("noise", text)};
  } else {
    child.input = text;
  }
  const Finished r = RunCli(child);
  RandomSource source;
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_TRUE(r.out == Engine(source, text));  // no 6 MiB dump on failure
}

INSTANTIATE_TEST_SUITE_P(FileOrPipe, Chunks, testing::Bool());

// ---------------------------------------------------------------------------
// UTF-8

// Characters of the code page, characters outside it, and bad bytes of every
// kind, each bad byte its own unit.
const std::vector<Unit> kMixedUnits = {
    {"h", 'h'},
    {"\xC3\xA9", 0xE9},             // é
    {"\xE2\x82\xAC", 0x80},         // €
    {"\xE4\xB8\xAD", kOpaque},      // 中
    {"\xFF", kOpaque},              // never valid
    {"\xC3", kOpaque},              // cut short by the next lead byte
    {"\xF0\x9F\x98\x80", kOpaque},  // 😀
    {"l", 'l'},
    {"\xC5\xBE", 0x9E},     // ž
    {"\xC2\x81", 0x81},     // U+0081, one of the five undefined bytes
    {"\xC2\x80", kOpaque},  // U+0080: 80 stands for €
    {"\xC5\xB8", 0x9F},     // Ÿ
    {"o", 'o'},
    {"\xC0", kOpaque},  // overlong '/'
    {"\xAF", kOpaque},
    {"\xE0", kOpaque},  // overlong U+0000
    {"\x80", kOpaque},
    {"\x80", kOpaque},
    {"\xED", kOpaque},  // surrogate U+D800
    {"\xA0", kOpaque},
    {"\x80", kOpaque},
    {"\xF4", kOpaque},  // U+110000
    {"\x90", kOpaque},
    {"\x80", kOpaque},
    {"\x80", kOpaque},
    {"a", 'a'},
    {"\xBF", kOpaque},       // stray continuation byte
    {"\xE2\x80\x9A", 0x82},  // ‚
    {"b", 'b'},
    {std::string(1, '\0'), 0},
    {"\xEF\xBF\xBD", kOpaque},  // U+FFFD
    {"e", 'e'},
    {"\xE2", kOpaque},  // € cut short by the end of the input
    {"\x82", kOpaque},
};

struct Utf8Case {
  const char* name;
  std::vector<std::string> args;
  unsigned passes;
};
void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8 : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8, MappedUnitsGoThroughTheEngineAndTheOthersComeOutAsTheyCame) {
  const std::vector<Unit>& units = kMixedUnits;
  std::vector<std::string> args = GetParam().args;
  args.push_back("--utf-8");
  const Finished r = RunCli({.args = args, .input = Join(units)});
  RandomSource source;
  const std::string expected =
      ExpectedUtf8(source, units, 1, GetParam().passes);
  ASSERT_NE(expected, Join(units));  // the engine changed something
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Mixed, Utf8,
    testing::Values(Utf8Case{"OnePass", {}, 1},
                    Utf8Case{"ThreePasses", {"--passes", "3"}, 3}),
    [](const testing::TestParamInfo<Utf8Case>& info) {
      return std::string(info.param.name);
    });

class Utf8Chunks : public CliTest, public testing::WithParamInterface<bool> {};

// A 15-byte pattern against 256 KiB chunks: 2^18 mod 15 = 4, so over 15
// chunk boundaries each byte of the pattern lands on one, and every
// multi-byte sequence is split at every inner point.
TEST_P(Utf8Chunks, SequencesSplitAcrossReadsAreKept) {
  const std::vector<Unit> pattern = {{"a", 'a'},
                                     {"\xC3\xA9", 0xE9},
                                     {"\xE2\x82\xAC", 0x80},
                                     {"\xE4\xB8\xAD", kOpaque},
                                     {"\xF0\x9F\x98\x80", kOpaque},
                                     {"\xFF", kOpaque},
                                     {"b", 'b'}};
  const std::size_t repeat = 16 * cli::kChunkBytes / 15 + 1;
  const std::string text = Join(pattern, repeat);
  ASSERT_EQ(Join(pattern).size(), 15u);
  Child child{.args = {"--utf-8"}};
  if (GetParam()) {
    child.args.push_back(File("text", text));
  } else {
    child.input = text;
  }
  const Finished r = RunCli(child);
  RandomSource source;
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_TRUE(r.out == ExpectedUtf8(source, pattern, repeat));
}

INSTANTIATE_TEST_SUITE_P(FileOrPipe, Utf8Chunks, testing::Bool());

// ---------------------------------------------------------------------------
// Command line

struct FormCase {
  const char* name;
  std::vector<std::string> args;
  std::uint32_t seed;
  unsigned passes;
  bool randMode;
  bool hardMode;
};
void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class Forms : public CliTest, public testing::WithParamInterface<FormCase> {};

// Run in a directory holding "in", "--no-rand" and "-x", each "hello world".
TEST_P(Forms, OptionsAreReadAsWritten) {
  const FormCase& c = GetParam();
  const std::string text = "hello world";
  for (const char* name : {"in", "--no-rand", "-x"}) File(name, text);
  const Finished r = RunCli({.args = c.args, .input = text, .workDir = dir_});
  RandomSource source{c.seed};
  std::string expected = text;
  for (unsigned p = 0; p < c.passes; ++p)
    expected = Engine(source, expected, c.randMode, c.hardMode);
  EXPECT_EQ(r.ExitCode(), 0) << r.err;
  EXPECT_EQ(r.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, Forms,
    testing::Values(
        FormCase{"Joined", {"--seed=7", "--passes=2", "in"}, 7, 2, true, true},
        FormCase{"Separate",
                 {"--seed", "7", "--passes", "2", "in"},
                 7,
                 2,
                 true,
                 true},
        FormCase{"OptionAfterFile", {"in", "--no-hard"}, 1, 1, true, false},
        FormCase{
            "FileNamedLikeAnOption", {"--", "--no-rand"}, 1, 1, true, true},
        FormCase{"FileStartingWithDash",
                 {"--no-rand", "--", "-x"},
                 1,
                 1,
                 false,
                 true},
        FormCase{"LastValueWins",
                 {"--seed", "3", "--seed", "9", "-"},
                 9,
                 1,
                 true,
                 true}),
    [](const testing::TestParamInfo<FormCase>& info) {
      return std::string(info.param.name);
    });

class UsageErrors : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(UsageErrors, ExitTwoWithAHint) {
  const Finished r = RunCli({.args = GetParam(), .input = "abc"});
  EXPECT_EQ(r.ExitCode(), 2);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(r.err.starts_with("zorkel-cli: ")) << r.err;
  EXPECT_TRUE(r.err.ends_with("\nTry 'zorkel-cli --help'.\n")) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageErrors,
    testing::Values(std::vector<std::string>{"--bogus"},
                    std::vector<std::string>{"-x"},
                    std::vector<std::string>{"--no-rand=1"},
                    std::vector<std::string>{"--passes"},
                    std::vector<std::string>{"--passes", "0"},
                    std::vector<std::string>{"--passes=-1"},
                    std::vector<std::string>{"--passes", "2x"},
                    std::vector<std::string>{"--passes", ""},
                    std::vector<std::string>{"--passes",
                                             "18446744073709551617"},
                    std::vector<std::string>{"--passes", "1000001"},
                    std::vector<std::string>{"--seed", "4294967296"},
                    std::vector<std::string>{"--seed=-1"},
                    std::vector<std::string>{"--seed", "+5"},
                    std::vector<std::string>{"--seed", " 5"},
                    std::vector<std::string>{"--seed", "0x10"},
                    std::vector<std::string>{"--seed="}));

class Help : public testing::TestWithParam<const char*> {};

TEST_P(Help, ListsEveryOption) {
  const Finished r = RunCli({.args = {GetParam()}});
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(r.out.starts_with("Usage: zorkel-cli")) << r.out;
  for (const char* option : {"--no-rand", "--no-hard", "--passes", "--seed",
                             "--utf-8", "--help", "--version", "memory"}) {
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  }
}

INSTANTIATE_TEST_SUITE_P(Spellings, Help, testing::Values("--help", "-h"));

TEST(Version, PrintsNameAndVersion) {
  const Finished r = RunCli({.args = {"--version"}});
  EXPECT_EQ(r.ExitCode(), 0);
  EXPECT_EQ(r.out, "zorkel-cli " ZORKEL_VERSION "\n");
}

// ---------------------------------------------------------------------------
// Failures

TEST_F(CliTest, UnreadableInputsAreReportedAndSkipped) {
  const std::string a = File("a", "abc");
  const std::string b = File("b", "abc");
  const std::string missing = dir_ + "/missing";
  const Finished r = RunCli({.args = {a, missing, dir_, b}});
  EXPECT_EQ(r.ExitCode(), 1);
  EXPECT_EQ(r.out, Bytes({0xE3, 0x62, 0x43, 0x41, 0xFE, 0xC7}));
  EXPECT_EQ(r.err, "zorkel-cli: " + missing + ": " + std::strerror(ENOENT) +
                       "\nzorkel-cli: " + dir_ + ": " + std::strerror(EISDIR) +
                       "\n");
}

TEST_F(CliTest, UnreadableStandardInputIsNamedSo) {
  for (const char* passes : {"1", "2"}) {
    const Finished r =
        RunCli({.args = {"--passes", passes}, .stdinPath = dir_});
    EXPECT_EQ(r.ExitCode(), 1);
    EXPECT_EQ(r.err, std::string("zorkel-cli: standard input: ") +
                         std::strerror(EISDIR) + "\n");
  }
}

struct FullCase {
  const char* name;
  std::vector<std::string> args;
  std::string input;
  std::string stdinPath;
};
void PrintTo(const FullCase& c, std::ostream* os) { *os << c.name; }

class FullDisk : public testing::TestWithParam<FullCase> {};

// Endless input from /dev/zero shows that the first failed write ends it.
TEST_P(FullDisk, ExitsOneWithTheReason) {
  const FullCase& c = GetParam();
  const Finished r = RunCli({.args = c.args,
                             .input = c.input,
                             .stdinPath = c.stdinPath,
                             .stdoutPath = "/dev/full"});
  EXPECT_EQ(r.ExitCode(), 1);
  EXPECT_EQ(r.err, std::string("zorkel-cli: standard output: ") +
                       std::strerror(ENOSPC) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    DevFull, FullDisk,
    testing::Values(
        FullCase{"ShortText", {}, "hello", ""},
        FullCase{"ShortTextManyPasses", {"--passes", "4"}, "hi", ""},
        FullCase{"EndlessInput", {}, "", "/dev/zero"},
        FullCase{"EndlessUtf8", {"--utf-8"}, "", "/dev/zero"},
        // The run ends there: standard input, next, is not read.
        FullCase{"EndlessFileThenMore", {"/dev/zero", "-"}, "hello", ""},
        FullCase{"Help", {"--help"}, "", ""},
        FullCase{"Version", {"--version"}, "", ""}),
    [](const testing::TestParamInfo<FullCase>& info) {
      return std::string(info.param.name);
    });

class BrokenPipe : public testing::TestWithParam<bool> {};

// The reader takes one byte of endless output and goes away.
TEST_P(BrokenPipe, EndsQuietly) {
  const bool ignored = GetParam();
  const Finished r = RunCli(
      {.stdinPath = "/dev/zero", .stdoutLimit = 1, .sigpipeIgnored = ignored});
  EXPECT_EQ(r.out.substr(0, 1), std::string(1, '\0'));
  EXPECT_EQ(r.err, "");
  if (ignored) {
    EXPECT_EQ(r.ExitCode(), 1);
  } else {
    ASSERT_TRUE(WIFSIGNALED(r.status)) << r.status;
    EXPECT_EQ(WTERMSIG(r.status), SIGPIPE);
  }
}

INSTANTIATE_TEST_SUITE_P(Sigpipe, BrokenPipe, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Ignored"
                                                         : "Default");
                         });

}  // namespace
