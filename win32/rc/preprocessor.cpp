#include "preprocessor.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>

#include "lexer.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxIncludeDepth = 32;

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)); }

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::size_t SkipSpaces(const std::string& text, std::size_t pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  return pos;
}

std::string Trimmed(const std::string& text, std::size_t pos) {
  pos = SkipSpaces(text, pos);
  std::size_t end = text.size();
  while (end > pos && IsSpace(text[end - 1])) --end;
  return text.substr(pos, end - pos);
}

bool IsHeaderName(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return ext == ".h" || ext == ".c";
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty() || fs::path(name).is_absolute()) return name;
  return (fs::path(dir) / name).lexically_normal().string();
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::string Canonical(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

}  // namespace

Preprocessor::Preprocessor(std::vector<std::string> includeDirs)
    : includeDirs_(std::move(includeDirs)), evaluator_(macros_) {
  end_.text = "end of file";
  macros_.Define("RC_INVOKED", Macro{"1", false, {}});
}

bool Preprocessor::Start(const std::string& path) {
  end_.where = {path, 1};
  if (!IsFile(path)) return false;
  return Open(path);
}

bool Preprocessor::Open(const std::string& path) {
  std::optional<std::vector<SourceLine>> lines = ReadSourceLines(path);
  if (!lines) return false;
  auto file = std::make_unique<OpenFile>();
  file->path = path;
  file->header = !stack_.empty() && IsHeaderName(path);
  file->lines = std::move(*lines);
  files_.push_back(path);
  stack_.push_back(std::move(file));
  return true;
}

const Token& Preprocessor::Peek() {
  Fill();
  return pending_.empty() ? end_ : pending_.front();
}

Token Preprocessor::Next() {
  Fill();
  if (pending_.empty()) return end_;
  Token token = std::move(pending_.front());
  pending_.pop_front();
  return token;
}

void Preprocessor::PushFront(std::vector<Token> tokens) {
  pending_.insert(pending_.begin(), std::make_move_iterator(tokens.begin()),
                  std::make_move_iterator(tokens.end()));
}

bool Preprocessor::Active(const OpenFile& file) const {
  return file.conditionals.empty() || file.conditionals.back().active;
}

void Preprocessor::Fill() {
  while (pending_.empty() && !stack_.empty()) {
    OpenFile& file = *stack_.back();
    if (file.next >= file.lines.size()) {
      if (!file.conditionals.empty()) {
        const Conditional& open = file.conditionals.back();
        throw RcError({file.path, open.line}, "unterminated " + open.directive);
      }
      const int last = file.lines.empty() ? 1
                       : file.lines.back().lineOf.empty()
                           ? file.lines.back().firstLine
                           : file.lines.back().lineOf.back();
      end_.where = {file.path, last};
      stack_.pop_back();
      continue;
    }
    const SourceLine& line = file.lines[file.next++];
    const std::size_t first = SkipSpaces(line.text, 0);
    if (first < line.text.size() && line.text[first] == '#') {
      Directive(file, line, first);
    } else if (Active(file) && !file.header) {
      for (Token& token : Tokenize(file.path, line, first)) {
        pending_.push_back(std::move(token));
      }
    }
  }
}

void Preprocessor::Directive(OpenFile& file, const SourceLine& line,
                             std::size_t hash) {
  const int lineNo = line.lineOf[hash];
  std::size_t pos = SkipSpaces(line.text, hash + 1);
  std::size_t end = pos;
  while (end < line.text.size() && IsNameChar(line.text[end])) ++end;
  const std::string name = line.text.substr(pos, end - pos);

  if (name == "if" || name == "ifdef" || name == "ifndef" || name == "elif" ||
      name == "else" || name == "endif") {
    Branch(file, name, line, end, lineNo);
    return;
  }
  if (!Active(file)) return;  // skipped text may hold anything
  if (name.empty()) {
    if (SkipSpaces(line.text, end) == line.text.size()) return;  // a lone #
    throw RcError({file.path, lineNo}, "malformed directive");
  }
  if (name == "include") {
    Include(file, line, end, lineNo);
  } else if (name == "define") {
    Define(file, line, end, lineNo);
  } else if (name == "undef") {
    macros_.Undefine(NameAfter(file, line, end, lineNo, "#undef"));
  } else if (name == "pragma") {
    if (Trimmed(line.text, end) == "once")
      onceOnly_.insert(Canonical(file.path));
  } else if (name == "error") {
    throw RcError({file.path, lineNo}, "#error " + Trimmed(line.text, end));
  } else {
    throw RcError({file.path, lineNo}, "unknown directive '#" + name + "'");
  }
}

std::string Preprocessor::NameAfter(const OpenFile& file,
                                    const SourceLine& line, std::size_t rest,
                                    int lineNo,
                                    const std::string& directive) const {
  const std::vector<Token> tokens = Tokenize(file.path, line, rest);
  if (tokens.size() != 1 || tokens[0].kind != TokenKind::kName) {
    throw RcError({file.path, lineNo}, "expected a name after " + directive);
  }
  return tokens[0].text;
}

void Preprocessor::Branch(OpenFile& file, const std::string& name,
                          const SourceLine& line, std::size_t rest,
                          int lineNo) {
  auto condition = [&]() {
    Token end;
    end.text = "end of line";
    end.where = {file.path, lineNo};
    TokenList tokens(Tokenize(file.path, line, rest), end);
    if (tokens.AtEnd()) {
      throw RcError({file.path, lineNo}, "#" + name + " without a condition");
    }
    const std::int64_t value = evaluator_.Condition(tokens);
    if (!tokens.AtEnd()) {
      throw RcError(tokens.Peek().where,
                    "unexpected " + Describe(tokens.Peek()) + " in #" + name);
    }
    return value != 0;
  };

  if (name == "if" || name == "ifdef" || name == "ifndef") {
    Conditional frame;
    frame.directive = "#" + name;
    frame.line = lineNo;
    frame.parentActive = Active(file);
    if (frame.parentActive) {
      if (name == "if") {
        frame.active = condition();
      } else {
        const bool defined = macros_.Find(NameAfter(file, line, rest, lineNo,
                                                    "#" + name)) != nullptr;
        frame.active = name == "ifdef" ? defined : !defined;
      }
    } else {
      frame.active = false;
    }
    frame.taken = frame.active || !frame.parentActive;
    file.conditionals.push_back(frame);
    return;
  }

  if (file.conditionals.empty()) {
    throw RcError({file.path, lineNo}, "#" + name + " without #if");
  }
  Conditional& frame = file.conditionals.back();
  if (name == "endif") {
    file.conditionals.pop_back();
    return;
  }
  if (frame.sawElse) {
    throw RcError({file.path, lineNo}, "#" + name + " after #else");
  }
  if (name == "else") {
    frame.sawElse = true;
    frame.active = !frame.taken;
    frame.taken = true;
    return;
  }
  // #elif
  frame.active = !frame.taken && condition();
  frame.taken = frame.taken || frame.active;
}

void Preprocessor::Include(OpenFile& file, const SourceLine& line,
                           std::size_t rest, int lineNo) {
  const Location where{file.path, lineNo};
  const std::string& text = line.text;
  const std::size_t open = SkipSpaces(text, rest);
  const char close = open < text.size() && text[open] == '"'   ? '"'
                     : open < text.size() && text[open] == '<' ? '>'
                                                               : '\0';
  const std::size_t end =
      close == '\0' ? std::string::npos : text.find(close, open + 1);
  if (end == std::string::npos || end == open + 1) {
    throw RcError(where, "expected \"file\" or <file> after #include");
  }
  std::string name = text.substr(open + 1, end - open - 1);
  std::replace(name.begin(), name.end(), '\\', '/');

  std::string found;
  if (fs::path(name).is_absolute()) {
    if (IsFile(name)) found = name;
  } else {
    std::vector<std::string> dirs;
    if (close == '"')
      dirs.push_back(fs::path(file.path).parent_path().string());
    dirs.insert(dirs.end(), includeDirs_.begin(), includeDirs_.end());
    for (const std::string& dir : dirs) {
      const std::string candidate = Join(dir, name);
      if (IsFile(candidate)) {
        found = candidate;
        break;
      }
    }
  }
  if (found.empty()) {
    if (close == '>' && !fs::path(name).has_extension()) return;
    throw RcError(where, "cannot find include file '" + name + "'");
  }
  if (onceOnly_.count(Canonical(found)) != 0) return;
  if (stack_.size() >= kMaxIncludeDepth) {
    throw RcError(where, "#include nested too deeply");
  }
  if (!Open(found)) throw RcError(where, "cannot read '" + found + "'");
}

void Preprocessor::Define(const OpenFile& file, const SourceLine& line,
                          std::size_t rest, int lineNo) {
  const std::string& text = line.text;
  const std::size_t start = SkipSpaces(text, rest);
  std::size_t end = start;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  if (end == start || std::isdigit(static_cast<unsigned char>(text[start]))) {
    throw RcError({file.path, lineNo}, "expected a name after #define");
  }
  Macro macro;
  macro.functionLike = end < text.size() && text[end] == '(';
  if (!macro.functionLike) macro.body = Trimmed(text, end);
  macro.defined = {file.path, lineNo};
  macros_.Define(text.substr(start, end - start), std::move(macro));
}
