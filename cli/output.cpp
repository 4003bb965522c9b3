// Standard output and its errors.
#include "output.h"

#include <cerrno>
#include <unistd.h>

#include "diagnostics.h"
#include "fd_io.h"

namespace cli {

bool WriteOutput(std::string_view bytes) {
  const int error = WriteAll(STDOUT_FILENO, bytes);
  if (error == 0) return true;
  if (error != EPIPE) ReportFileError(kStandardOutputName, error);
  return false;
}

bool CloseOutput() {
  if (close(STDOUT_FILENO) == 0) return true;
  ReportFileError(kStandardOutputName, errno);
  return false;
}

}  // namespace cli
