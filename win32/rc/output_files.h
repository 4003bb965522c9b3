// Writing the compiler's outputs so that a failed run leaves no file behind:
// each file is written under a temporary name beside it and renamed into
// place only when complete. Also the depfile format build tools read.
// Does not create directories.
#pragma once

#include <string>
#include <vector>

// Writes `content` to `path`; returns an error text, empty on success.
std::string WriteFileAtomically(const std::string& path,
                                const std::string& content);

// A Makefile-syntax dependency line: "target: dep dep ...", with absolute
// paths and spaces escaped.
std::string DepfileText(const std::string& target,
                        const std::vector<std::string>& dependencies);
