// zorkel-rc: compiles a resource script into a C++ source file defining the
// program's Win32Module.
//
//   zorkel-rc [-I DIR]... [--resource-dir DIR]... [--depfile FILE]
//             -o OUT.cpp --symbol NAME SCRIPT.rc
//
// Errors go to stderr as "file:line: message"; the exit status is then 1
// and no output file is written. Usage errors exit with 2.
#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cpp_writer.h"
#include "output_files.h"
#include "preprocessor.h"
#include "rc_error.h"
#include "script_parser.h"

namespace {

const char kUsage[] =
    "usage: zorkel-rc [-I DIR]... [--resource-dir DIR]... [--depfile FILE]\n"
    "                 -o OUT.cpp --symbol NAME SCRIPT.rc\n";

struct Options {
  std::vector<std::string> includeDirs;
  std::vector<std::string> resourceDirs;
  std::string depfile;
  std::string output;
  std::string symbol;
  std::string script;
};

bool IsIdentifier(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
    return false;
  }
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

// Fills `options`; returns an error text, empty when the command line is
// complete.
std::string ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string dir;
    if (arg.size() > 2 && arg.compare(0, 2, "-I") == 0) {
      options.includeDirs.push_back(arg.substr(2));
    } else if (arg == "-I") {
      if (!value(dir)) return "-I needs a directory";
      options.includeDirs.push_back(dir);
    } else if (arg == "--resource-dir") {
      if (!value(dir)) return "--resource-dir needs a directory";
      options.resourceDirs.push_back(dir);
    } else if (arg == "--depfile") {
      if (!value(options.depfile)) return "--depfile needs a file name";
    } else if (arg == "-o") {
      if (!value(options.output)) return "-o needs a file name";
    } else if (arg == "--symbol") {
      if (!value(options.symbol)) return "--symbol needs a name";
    } else if (!arg.empty() && arg[0] == '-') {
      return "unknown option '" + arg + "'";
    } else if (options.script.empty()) {
      options.script = arg;
    } else {
      return "more than one script given";
    }
  }
  if (options.script.empty()) return "no script given";
  if (options.output.empty()) return "no output file given (-o)";
  if (options.symbol.empty()) return "no symbol given (--symbol)";
  if (!IsIdentifier(options.symbol)) {
    return "'" + options.symbol + "' is not a C++ identifier";
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const std::string usageError = ParseArguments(argc, argv, options);
  if (!usageError.empty()) {
    std::cerr << "zorkel-rc: " << usageError << "\n" << kUsage;
    return 2;
  }

  std::string source;
  std::vector<std::string> dependencies;
  try {
    Preprocessor preprocessor(options.includeDirs);
    if (!preprocessor.Start(options.script)) {
      std::cerr << "zorkel-rc: cannot read '" << options.script << "'\n";
      return 1;
    }
    ScriptParser parser(preprocessor, options.resourceDirs);
    const ResourceScript script = parser.Parse();
    const std::filesystem::path scriptPath(options.script);
    source =
        WriteModuleSource(script, options.symbol, scriptPath.stem().string(),
                          scriptPath.filename().string());
    dependencies = preprocessor.files();
    for (const IconResource& icon : script.icons) {
      dependencies.push_back(icon.path);
    }
  } catch (const RcError& error) {
    std::cerr << error.where().file << ":" << error.where().line << ": "
              << error.what() << "\n";
    return 1;
  }

  std::string writeError = WriteFileAtomically(options.output, source);
  if (writeError.empty() && !options.depfile.empty()) {
    writeError = WriteFileAtomically(options.depfile,
                                     DepfileText(options.output, dependencies));
    if (!writeError.empty()) std::filesystem::remove(options.output);
  }
  if (!writeError.empty()) {
    std::cerr << "zorkel-rc: " << writeError << "\n";
    return 1;
  }
  return 0;
}
