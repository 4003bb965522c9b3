// The texts of --help and --version. Does not print them.
#pragma once

#include <string>

namespace cli {

std::string HelpText();
std::string VersionText();

// The hint that follows a usage error message.
inline constexpr const char* kHelpHint = "Try 'zorkel-cli --help'.\n";

}  // namespace cli
