// Error messages on standard error, each line in the form
// "zorkel-cli: WHAT: reason". Decides no exit status.
#pragma once

#include <string_view>

namespace cli {

inline constexpr std::string_view kStandardInputName = "standard input";
inline constexpr std::string_view kStandardOutputName = "standard output";

// "zorkel-cli: NAME: " and the text of errno value `error`.
void ReportFileError(std::string_view name, int error);

// "zorkel-cli: MESSAGE" and the line that points to --help.
void ReportUsageError(std::string_view message);

}  // namespace cli
