// Error messages. Each message goes out in one write so that lines from
// processes sharing the terminal do not interleave; a failure to write to
// standard error has nowhere to be reported and is ignored.
#include "diagnostics.h"

#include <cstring>
#include <string>
#include <unistd.h>

#include "fd_io.h"
#include "usage.h"

namespace cli {

void ReportFileError(std::string_view name, int error) {
  std::string line = "zorkel-cli: ";
  line += name;
  line += ": ";
  line += std::strerror(error);
  line += '\n';
  WriteAll(STDERR_FILENO, line);
}

void ReportUsageError(std::string_view message) {
  std::string text = "zorkel-cli: ";
  text += message;
  text += '\n';
  text += kHelpHint;
  WriteAll(STDERR_FILENO, text);
}

}  // namespace cli
