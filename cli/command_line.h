// Reading the command line into settings.
//
// Accepts --opt=value and --opt value, "--" to end the options, "-" as
// standard input, and options after file names. Does no I/O: the caller
// prints help, the version or the error message.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pass.h"

namespace cli {

inline constexpr unsigned kMaxPasses = 1000000;

enum class Action { kTranslate, kHelp, kVersion, kUsageError };

struct Settings {
  PassModes modes;
  unsigned passes = 1;
  std::uint32_t seed = 1;
  std::vector<std::string> inputs;  // in order; empty means standard input
};

struct CommandLine {
  Action action = Action::kTranslate;
  Settings settings;
  std::string error;  // for kUsageError: what was wrong, without the hint
};

// `args` are the arguments after the program name.
CommandLine ParseCommandLine(std::span<const char* const> args);

}  // namespace cli
