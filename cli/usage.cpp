// Help and version texts. The version comes from the project's CMake.
#include "usage.h"

#include "command_line.h"

namespace cli {

std::string HelpText() {
  return "Usage: zorkel-cli [OPTION]... [FILE]...\n"
         "Rewrite each FILE in leet writing and write the result to standard "
         "output.\n"
         "With no FILE, or when FILE is -, read standard input.\n"
         "\n"
         "Without --utf-8 the text is Windows-1252 bytes; every byte is "
         "accepted.\n"
         "All inputs share one random sequence: each one continues where the "
         "one\n"
         "before stopped, so the output depends on the order of the FILEs.\n"
         "\n"
         "      --no-rand    Rand mode off: every letter with a look-alike is\n"
         "                   replaced (with Hard mode), not a random half\n"
         "      --no-hard    Hard mode off: letters only change case, no "
         "look-alikes\n"
         "      --passes N   translate each input N times in a row, each pass "
         "working\n"
         "                   on the result of the one before (1 to " +
         std::to_string(kMaxPasses) +
         ");\n"
         "                   with N above 1 each input is held in memory "
         "whole\n"
         "      --seed N     start the random sequence at state N (0 to "
         "4294967295)\n"
         "                   instead of 1\n"
         "      --utf-8      read and write UTF-8; characters and bytes that "
         "Windows-1252\n"
         "                   cannot express pass through unchanged\n"
         "  -h, --help       show this help and exit\n"
         "      --version    show the version and exit\n"
         "\n"
         "Exit status: 0 on success, 1 if an input could not be read or the "
         "output\n"
         "could not be written, 2 for a wrong command line.\n";
}

std::string VersionText() {
  return std::string("zorkel-cli ") + ZORKEL_VERSION + "\n";
}

}  // namespace cli
