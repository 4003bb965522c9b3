// The preprocessor in front of the statement parser: reads the script and
// the files it includes, obeys #include, #define, #undef, #if/#ifdef/#ifndef/
// #elif/#else/#endif, #pragma once and #error, and hands out the tokens of
// the active lines that are not directives.
//
// As on the platform, files named *.h or *.c are read for their directives
// only: their other lines are C declarations and are skipped. RC_INVOKED is
// predefined. Macros are not expanded here: the statement parser expands
// the names it reads as values (see expression.h), with the definitions in
// force at that point of the script.
//
// #include "f" looks next to the including file, then in the include
// directories; #include <f> only in the include directories. A <name>
// without an extension that is not found there (a C++ library header such
// as <cstddef> in windows.h) is skipped: it defines nothing a script uses.
#pragma once

#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "expression.h"
#include "macro_table.h"
#include "source_lines.h"
#include "token_stream.h"

class Preprocessor : public TokenStream {
 public:
  explicit Preprocessor(std::vector<std::string> includeDirs);

  // Opens the script; false when it cannot be read.
  bool Start(const std::string& path);

  const Token& Peek() override;
  Token Next() override;
  void PushFront(std::vector<Token> tokens) override;

  const MacroTable& macros() const { return macros_; }
  // Every file read so far, in the order they were opened.
  const std::vector<std::string>& files() const { return files_; }

 private:
  struct Conditional {
    std::string directive;  // "#if", "#ifdef", "#ifndef"
    int line = 0;
    bool parentActive = true;
    bool active = true;
    bool taken = false;  // some branch of this #if has been active
    bool sawElse = false;
  };

  struct OpenFile {
    std::string path;
    bool header = false;
    std::vector<SourceLine> lines;
    std::size_t next = 0;
    std::vector<Conditional> conditionals;
  };

  void Fill();
  bool Active(const OpenFile& file) const;
  void Directive(OpenFile& file, const SourceLine& line, std::size_t hash);
  void Branch(OpenFile& file, const std::string& name, const SourceLine& line,
              std::size_t rest, int lineNo);
  void Include(OpenFile& file, const SourceLine& line, std::size_t rest,
               int lineNo);
  void Define(const OpenFile& file, const SourceLine& line, std::size_t rest,
              int lineNo);
  std::string NameAfter(const OpenFile& file, const SourceLine& line,
                        std::size_t rest, int lineNo,
                        const std::string& directive) const;
  bool Open(const std::string& path);

  std::vector<std::string> includeDirs_;
  std::vector<std::unique_ptr<OpenFile>> stack_;
  std::deque<Token> pending_;
  Token end_;
  MacroTable macros_;
  Evaluator evaluator_;
  std::set<std::string> onceOnly_;  // canonical paths with #pragma once
  std::vector<std::string> files_;
};
