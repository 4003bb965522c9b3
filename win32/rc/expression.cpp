#include "expression.h"

#include <algorithm>

#include "lexer.h"

namespace {

struct BinaryOp {
  const char* text;
  int precedence;
  bool inResources;  // also valid in resource statements, not only in #if
};

const BinaryOp kBinaryOps[] = {
    {"||", 1, false}, {"&&", 2, false}, {"|", 3, true},   {"^", 4, false},
    {"&", 5, true},   {"==", 6, false}, {"!=", 6, false}, {"<", 7, false},
    {">", 7, false},  {"<=", 7, false}, {">=", 7, false}, {"<<", 8, false},
    {">>", 8, false}, {"+", 9, true},   {"-", 9, true},   {"*", 10, true},
    {"/", 10, true},  {"%", 10, false}};

// Far more than any real header needs; stops definitions that double at
// every level.
constexpr int kMaxExpansions = 10000;

const BinaryOp* FindBinary(const Token& token, bool condition) {
  if (token.kind != TokenKind::kPunct) return nullptr;
  for (const BinaryOp& op : kBinaryOps) {
    if (token.text == op.text && (condition || op.inResources)) return &op;
  }
  return nullptr;
}

constexpr std::uint64_t kMax32 = 0xffffffffu;

std::uint32_t U32(std::int64_t v) { return static_cast<std::uint32_t>(v); }

std::int64_t Wrap(std::uint64_t v) { return static_cast<std::int64_t>(v); }

// Counts one level of nesting for as long as it lives.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

bool Hidden(const Token& token) {
  return std::find(token.hidden.begin(), token.hidden.end(), token.text) !=
         token.hidden.end();
}

}  // namespace

StyleValue Evaluator::Style(TokenStream& in) {
  depth_ = 0;
  condition_ = false;
  expansions_ = 0;
  const Value value = Binary(in, 1);
  return {U32(value.v), value.clear};
}

std::uint32_t Evaluator::Number(TokenStream& in) {
  depth_ = 0;
  condition_ = false;
  expansions_ = 0;
  const Value value = Binary(in, 1);
  if (value.hasNot) {
    throw RcError(value.notAt, "NOT is only allowed in a style");
  }
  return U32(value.v);
}

std::int64_t Evaluator::Condition(TokenStream& in) {
  depth_ = 0;
  condition_ = true;
  expansions_ = 0;
  return Binary(in, 1).v;
}

void Evaluator::ExpandFront(TokenStream& in) {
  expansions_ = 0;
  while (ExpandOne(in)) {
  }
}

bool Evaluator::ExpandOne(TokenStream& in) {
  const Token& next = in.Peek();
  if (next.kind != TokenKind::kName || Hidden(next)) return false;
  const Macro* macro = macros_.Find(next.text);
  if (macro == nullptr) return false;
  if (macro->functionLike) {
    Fail(next, "cannot use function-like macro '" + next.text + "'");
  }
  if (++expansions_ > kMaxExpansions) Fail(next, "macros expand too far");
  const Token name = in.Next();
  std::vector<Token> body;
  try {
    body = TokenizeText(macro->body, name.where);
  } catch (const RcError& error) {
    Fail(name, "cannot evaluate '" + name.text + "': " + error.what());
  }
  for (Token& token : body) {
    token.hidden = name.hidden;
    token.hidden.push_back(name.text);
    token.origin = name.origin.empty() ? name.text : name.origin;
  }
  in.PushFront(std::move(body));
  return true;
}

void Evaluator::Fail(const Token& at, const std::string& message) const {
  if (at.origin.empty()) throw RcError(at.where, message);
  throw RcError(at.where, "cannot evaluate '" + at.origin + "': " + message);
}

Evaluator::Value Evaluator::Binary(TokenStream& in, int minPrecedence) {
  Value left = Unary(in);
  while (true) {
    const BinaryOp* op = FindBinary(in.Peek(), condition_);
    if (op == nullptr || op->precedence < minPrecedence) return left;
    const Token opToken = in.Next();
    // The right side of a decided && or || is parsed but not evaluated, as
    // in C: `#if 0 && 1 / 0` is fine.
    const bool decided = (opToken.text == "&&" && left.v == 0) ||
                         (opToken.text == "||" && left.v != 0);
    if (decided) ++skipping_;
    const Value right = Binary(in, op->precedence + 1);
    if (decided) --skipping_;
    left = condition_ ? ApplyCondition(opToken, left, right)
                      : ApplyResource(opToken, left, right);
  }
}

Evaluator::Value Evaluator::Unary(TokenStream& in) {
  // Every nested level (a parenthesis, a unary operator, NOT) passes here.
  const DepthGuard level(depth_);
  while (ExpandOne(in)) {
  }
  const Token& next = in.Peek();
  if (depth_ > kMaxExpressionDepth) Fail(next, "expression nested too deeply");
  if (!condition_ && IsKeyword(next, "NOT")) {
    const Token notToken = in.Next();
    const Value operand = Unary(in);
    if (operand.hasNot) Fail(notToken, "NOT can only be combined with |");
    Value result;
    result.clear = U32(operand.v);
    result.hasNot = true;
    result.notAt = notToken.where;
    return result;
  }
  if (condition_ && next.kind == TokenKind::kName && next.text == "defined") {
    in.Next();
    return Defined(in);
  }
  const bool unary = IsPunct(next, "-") || IsPunct(next, "~") ||
                     IsPunct(next, "+") || (condition_ && IsPunct(next, "!"));
  if (!unary) return Primary(in);
  const Token op = in.Next();
  Value operand = Unary(in);
  if (operand.hasNot) Fail(op, "NOT can only be combined with |");
  const auto u = static_cast<std::uint64_t>(operand.v);
  if (op.text == "-") operand.v = Wrap(0 - u);
  if (op.text == "~") operand.v = Wrap(~u);
  if (op.text == "!") operand.v = operand.v == 0 ? 1 : 0;
  if (!condition_) operand.v = U32(operand.v);
  return operand;
}

Evaluator::Value Evaluator::Defined(TokenStream& in) {
  // The name after `defined` is never expanded.
  const bool parenthesised = IsPunct(in.Peek(), "(");
  if (parenthesised) in.Next();
  const Token name = in.Next();
  if (name.kind != TokenKind::kName) {
    Fail(name, "expected a name after defined");
  }
  if (parenthesised && !IsPunct(in.Next(), ")")) {
    Fail(name, "expected ')' after defined(" + name.text);
  }
  Value result;
  result.v = macros_.Find(name.text) != nullptr ? 1 : 0;
  return result;
}

Evaluator::Value Evaluator::Primary(TokenStream& in) {
  const Token token = in.Next();
  Value result;
  if (token.kind == TokenKind::kNumber) {
    if (!condition_ && token.number > kMax32) Fail(token, "number too large");
    result.v = Wrap(token.number);
    return result;
  }
  if (token.kind == TokenKind::kName) {
    // A macro here is hidden (it would have been expanded in Unary).
    if (condition_) return result;  // an undefined name is 0 in #if
    if (macros_.Find(token.text) != nullptr) {
      Fail(token, "'" + token.text + "' refers to itself");
    }
    Fail(token, "undefined name '" + token.text + "'");
  }
  if (IsPunct(token, "(")) {
    const Value inner = Binary(in, 1);
    const Token close = in.Next();
    if (!IsPunct(close, ")")) {
      Fail(close, "expected ')', found " + Describe(close));
    }
    return inner;
  }
  Fail(token, "expected a value, found " + Describe(token));
}

Evaluator::Value Evaluator::ApplyResource(const Token& op, const Value& a,
                                          const Value& b) const {
  Value result;
  if (op.text == "|") {
    // Left to right: a's bits, then b's clearing, then b's bits.
    result.v = (U32(a.v) & ~b.clear) | U32(b.v);
    result.clear = a.clear | b.clear;
    result.hasNot = a.hasNot || b.hasNot;
    result.notAt = a.hasNot ? a.notAt : b.notAt;
    return result;
  }
  if (a.hasNot || b.hasNot) {
    throw RcError(a.hasNot ? a.notAt : b.notAt,
                  "NOT can only be combined with |");
  }
  const std::uint32_t x = U32(a.v);
  const std::uint32_t y = U32(b.v);
  std::uint32_t r = 0;
  if (op.text == "&") r = x & y;
  if (op.text == "+") r = x + y;
  if (op.text == "-") r = x - y;
  if (op.text == "*") r = x * y;
  if (op.text == "/") {
    if (y == 0) Fail(op, "division by zero");
    // Signed, as the values are C longs on the platform.
    const auto sx = static_cast<std::int32_t>(x);
    const auto sy = static_cast<std::int32_t>(y);
    r = (sx == INT32_MIN && sy == -1) ? x : static_cast<std::uint32_t>(sx / sy);
  }
  result.v = r;
  return result;
}

Evaluator::Value Evaluator::ApplyCondition(const Token& op, const Value& a,
                                           const Value& b) const {
  const std::int64_t x = a.v;
  const std::int64_t y = b.v;
  const auto ux = static_cast<std::uint64_t>(x);
  const auto uy = static_cast<std::uint64_t>(y);
  Value result;
  std::int64_t& r = result.v;
  const std::string& o = op.text;
  if (o == "||") r = (x != 0 || y != 0) ? 1 : 0;
  if (o == "&&") r = (x != 0 && y != 0) ? 1 : 0;
  if (o == "|") r = x | y;
  if (o == "^") r = x ^ y;
  if (o == "&") r = x & y;
  if (o == "==") r = x == y;
  if (o == "!=") r = x != y;
  if (o == "<") r = x < y;
  if (o == ">") r = x > y;
  if (o == "<=") r = x <= y;
  if (o == ">=") r = x >= y;
  if (o == "+") r = Wrap(ux + uy);
  if (o == "-") r = Wrap(ux - uy);
  if (o == "*") r = Wrap(ux * uy);
  if (o == "<<" || o == ">>") {
    if (y < 0 || y > 63) {
      if (skipping_ > 0) return result;
      Fail(op, "shift count out of range");
    }
    r = o == "<<" ? Wrap(ux << y) : x >> y;
  }
  if (o == "/" || o == "%") {
    if (y == 0) {
      if (skipping_ > 0) return result;
      Fail(op, "division by zero");
    }
    if (x == INT64_MIN && y == -1) {
      r = o == "/" ? x : 0;
    } else {
      r = o == "/" ? x / y : x % y;
    }
  }
  return result;
}
