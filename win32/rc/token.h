// The tokens of resource statements, #if expressions and macro bodies. Data
// and small predicates only: lexer.h makes tokens, expression.h and the
// parser give them meaning.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rc_error.h"

enum class TokenKind {
  kEnd,     // end of the input: text says which ("end of file", ...)
  kName,    // identifier or keyword; keywords are matched case-insensitively
  kNumber,  // integer literal; value in `number`
  kString,  // "..." with escapes decoded: Windows-1252 bytes
  kPunct,   // operator or punctuation: , | & + - ~ ( ) { } and C's others
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;  // the name, the punctuation, or the decoded string
  std::uint64_t number = 0;
  Location where;
  // Tokens a macro stood for: the macros they came from (not expanded again
  // inside themselves) and the outermost one, for error messages.
  std::vector<std::string> hidden;
  std::string origin;
};

// How an error message names a token: 'text', "a string", "end of file".
std::string Describe(const Token& token);

// Whether `token` is the punctuation `p`, or the keyword `keyword` (case does
// not matter for keywords, as in the platform's compiler).
bool IsPunct(const Token& token, const char* p);
bool IsKeyword(const Token& token, const char* keyword);
