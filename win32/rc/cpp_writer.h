// Printing a ResourceScript as a C++ source file that defines one constant
// Win32Module (see win32_module.h) under the given name.
//
// The text depends only on the script's contents, the symbol and the names
// passed in (no paths, dates or addresses), so equal inputs give equal
// files. Strings are written with octal escapes for every byte outside
// printable ASCII, so Windows-1252 bytes reach the program unchanged.
// Checks nothing: it prints what the parser accepted.
#pragma once

#include <string>

#include "resource_script.h"

// `moduleName` becomes Win32Module::name; `scriptName` only appears in the
// header comment.
std::string WriteModuleSource(const ResourceScript& script,
                              const std::string& symbol,
                              const std::string& moduleName,
                              const std::string& scriptName);

// `text` as a C++ string literal, quotes included.
std::string CppStringLiteral(const std::string& text);
