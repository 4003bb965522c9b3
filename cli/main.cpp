// zorkel-cli: the command-line filter around the translation engine.
#include <span>

#include "command_line.h"
#include "diagnostics.h"
#include "filter.h"
#include "output.h"
#include "usage.h"

int main(int argc, char** argv) {
  const cli::CommandLine line =
      cli::ParseCommandLine(std::span<const char* const>(
          argv + 1, static_cast<std::size_t>(argc - 1)));
  switch (line.action) {
    case cli::Action::kUsageError:
      cli::ReportUsageError(line.error);
      return 2;
    case cli::Action::kHelp:
      return cli::WriteOutput(cli::HelpText()) && cli::CloseOutput() ? 0 : 1;
    case cli::Action::kVersion:
      return cli::WriteOutput(cli::VersionText()) && cli::CloseOutput() ? 0 : 1;
    case cli::Action::kTranslate:
      break;
  }
  return cli::RunFilter(line.settings);
}
