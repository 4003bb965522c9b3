#include "source_lines.h"

#include <fstream>
#include <iterator>

#include "rc_error.h"

namespace {

// Joins backslash-newline continuations and turns CR LF into LF, keeping the
// physical line number of every remaining character.
void JoinContinuations(const std::string& content, std::string& text,
                       std::vector<int>& lineOf) {
  int line = 1;
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') continue;
    if (c == '\\') {
      std::size_t j = i + 1;
      if (j < content.size() && content[j] == '\r') ++j;
      if (j < content.size() && content[j] == '\n') {
        i = j;
        ++line;
        continue;
      }
    }
    text.push_back(c);
    lineOf.push_back(line);
    if (c == '\n') ++line;
  }
}

}  // namespace

std::vector<SourceLine> SplitSourceLines(const std::string& path,
                                         const std::string& content) {
  std::string text;
  std::vector<int> lineOf;
  JoinContinuations(content, text, lineOf);

  std::vector<SourceLine> lines;
  SourceLine current;
  auto put = [&current](char c, int line) {
    if (current.text.empty()) current.firstLine = line;
    current.text.push_back(c);
    current.lineOf.push_back(line);
  };
  auto endLine = [&](int line) {
    if (current.text.empty()) current.firstLine = line;
    lines.push_back(std::move(current));
    current = SourceLine{};
  };

  enum class State { kCode, kString, kChar, kBlockComment };
  State state = State::kCode;
  int commentLine = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const int line = lineOf[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (state) {
      case State::kCode:
        if (c == '\n') {
          endLine(line);
        } else if (c == '/' && next == '/') {
          while (i + 1 < text.size() && text[i + 1] != '\n') ++i;
        } else if (c == '/' && next == '*') {
          state = State::kBlockComment;
          commentLine = line;
          ++i;
          put(' ', line);
        } else {
          if (c == '"') state = State::kString;
          if (c == '\'') state = State::kChar;
          put(c, line);
        }
        break;
      case State::kString:
      case State::kChar: {
        const char quote = state == State::kString ? '"' : '\'';
        if (c == '\n') {  // an unterminated literal ends with its line
          state = State::kCode;
          endLine(line);
          break;
        }
        put(c, line);
        if (c == '\\' && next != '\n' && next != '\0') {
          put(next, lineOf[i + 1]);
          ++i;
        } else if (c == quote) {
          if (quote == '"' && next == '"') {  // "" is a quote inside a string
            put(next, lineOf[i + 1]);
            ++i;
          } else {
            state = State::kCode;
          }
        }
        break;
      }
      case State::kBlockComment:
        // The comment's line breaks do not end the logical line: the comment
        // is one space, as in C.
        if (c == '*' && next == '/') {
          state = State::kCode;
          ++i;
        }
        break;
    }
  }
  if (state == State::kBlockComment) {
    throw RcError({path, commentLine}, "unterminated comment");
  }
  if (!current.text.empty()) lines.push_back(std::move(current));
  return lines;
}

std::optional<std::vector<SourceLine>> ReadSourceLines(
    const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)),
                      std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return SplitSourceLines(path, content);
}
