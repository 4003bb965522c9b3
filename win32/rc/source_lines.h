// Reading a script or header into logical lines, as the C preprocessor sees
// them: backslash-newline joins lines, comments become one space, and every
// character keeps the physical line it came from (for error messages).
//
// Knows nothing of directives or tokens; string and character literals are
// only recognised so that comment markers inside them stay text.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct SourceLine {
  std::string text;
  std::vector<int> lineOf;  // the physical line of each character of text
  int firstLine = 0;        // where the logical line starts
};

// Reads `path`. Returns nullopt when the file cannot be read; throws RcError
// for a comment that never ends.
std::optional<std::vector<SourceLine>> ReadSourceLines(const std::string& path);

// The same on text already in memory (`path` only names it in errors).
std::vector<SourceLine> SplitSourceLines(const std::string& path,
                                         const std::string& content);
