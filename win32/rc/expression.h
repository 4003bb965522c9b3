// Integer expressions, in the two dialects a resource script uses, and the
// expansion of macros where a value or a string is read.
//
// Resource statements: 32-bit values; unary - ~ + and NOT; binary * / + - &
// | with C precedence; an undefined name is an error. NOT x stands for
// "clear the bits of x" in a style: the result carries the bits to set and
// the bits to clear, applied left to right, so `ES_MULTILINE | NOT
// WS_TABSTOP` keeps a control's default style minus WS_TABSTOP.
//
// #if and #elif: C's rules on 64-bit values, with defined(X), the
// comparison, logical and shift operators, and undefined names as 0.
//
// A macro name met where a value starts is replaced by its body's tokens, as
// the C preprocessor does (so `#define A 2 + 1` makes `A * 2` equal 4), and
// a macro is not expanded inside itself. Bodies are tokenized only then, so
// a definition that is not an expression fails only where it is used, with
// "cannot evaluate 'NAME': ...". Function-like macros are never expanded.
// A macro standing for an operator is not supported.
//
// Parentheses and unary operators nest at most kMaxExpressionDepth deep
// (the evaluator recurses on them); deeper is an error, not a stack overflow.
//
// Does not read directives and does not know statements; it consumes
// exactly one expression and leaves the next token in the stream.
#pragma once

#include <cstdint>
#include <string>

#include "macro_table.h"
#include "token_stream.h"

inline constexpr int kMaxExpressionDepth = 256;

struct StyleValue {
  std::uint32_t set = 0;
  std::uint32_t clear = 0;  // from NOT

  std::uint32_t Apply(std::uint32_t base) const {
    return (base & ~clear) | set;
  }
};

class Evaluator {
 public:
  explicit Evaluator(const MacroTable& macros) : macros_(macros) {}

  // A style: NOT allowed.
  StyleValue Style(TokenStream& in);
  // An id, coordinate or size: NOT refused.
  std::uint32_t Number(TokenStream& in);
  // The condition of #if or #elif.
  std::int64_t Condition(TokenStream& in);

  // Replaces macro names at the front of `in` by their bodies until the
  // next token is not one; for statements that read a string there.
  void ExpandFront(TokenStream& in);

 private:
  struct Value {
    std::int64_t v = 0;
    std::uint32_t clear = 0;
    bool hasNot = false;
    Location notAt;
  };

  Value Binary(TokenStream& in, int minPrecedence);
  Value Unary(TokenStream& in);
  Value Primary(TokenStream& in);
  Value Defined(TokenStream& in);
  bool ExpandOne(TokenStream& in);
  Value ApplyResource(const Token& op, const Value& a, const Value& b) const;
  Value ApplyCondition(const Token& op, const Value& a, const Value& b) const;
  [[noreturn]] void Fail(const Token& at, const std::string& message) const;

  const MacroTable& macros_;
  bool condition_ = false;  // which dialect is being evaluated
  int skipping_ = 0;        // inside the unevaluated side of && or ||
  int expansions_ = 0;      // in the current expression, against blow-up
  int depth_ = 0;           // Unary calls open, against deep recursion
};
