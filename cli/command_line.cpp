// Command-line reading. Options are taken in order, so the first of --help,
// --version or an error decides what happens, as in the usual tools.
#include "command_line.h"

#include <optional>
#include <string_view>
#include <utility>

namespace cli {

namespace {

// Plain decimal digits only: no sign, no spaces, no prefix.
std::optional<std::uint64_t> ParseDecimal(std::string_view text,
                                          std::uint64_t max) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (max - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

CommandLine UsageError(std::string message) {
  CommandLine line;
  line.action = Action::kUsageError;
  line.error = std::move(message);
  return line;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const char* const> args) {
  CommandLine line;
  Settings& s = line.settings;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
      s.inputs.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h") return CommandLine{Action::kHelp, {}, {}};
    if (!arg.starts_with("--")) {
      return UsageError("unknown option '" + std::string(arg) + "'");
    }

    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    std::optional<std::string_view> value;
    if (equals != std::string_view::npos) value = arg.substr(equals + 1);

    const bool takesValue = name == "--passes" || name == "--seed";
    const bool isFlag = name == "--no-rand" || name == "--no-hard" ||
                        name == "--utf-8" || name == "--help" ||
                        name == "--version";
    if (!takesValue && !isFlag) {
      return UsageError("unknown option '" + std::string(name) + "'");
    }
    if (isFlag && value) {
      return UsageError("option '" + std::string(name) +
                        "' doesn't allow an argument");
    }
    if (takesValue && !value) {
      if (i + 1 == args.size()) {
        return UsageError("option '" + std::string(name) +
                          "' requires an argument");
      }
      value = args[++i];
    }

    if (name == "--no-rand") {
      s.modes.randMode = false;
    } else if (name == "--no-hard") {
      s.modes.hardMode = false;
    } else if (name == "--utf-8") {
      s.modes.utf8 = true;
    } else if (name == "--help") {
      return CommandLine{Action::kHelp, {}, {}};
    } else if (name == "--version") {
      return CommandLine{Action::kVersion, {}, {}};
    } else if (name == "--passes") {
      const auto n = ParseDecimal(*value, kMaxPasses);
      if (!n || *n == 0) {
        return UsageError("invalid number of passes '" + std::string(*value) +
                          "' (expected 1 to " + std::to_string(kMaxPasses) +
                          ")");
      }
      s.passes = static_cast<unsigned>(*n);
    } else {  // --seed
      const auto n = ParseDecimal(*value, 0xFFFFFFFFu);
      if (!n) {
        return UsageError("invalid seed '" + std::string(*value) +
                          "' (expected 0 to 4294967295)");
      }
      s.seed = static_cast<std::uint32_t>(*n);
    }
  }
  return line;
}

}  // namespace cli
