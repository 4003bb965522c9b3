// A source of tokens with one token of look-ahead and push-back: the
// preprocessor's output for resource statements, or a fixed list (a
// directive's rest, a name). Push-back is how a macro's tokens replace its
// name in place. Nothing is expanded or evaluated here.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "token.h"

class TokenStream {
 public:
  virtual ~TokenStream() = default;
  virtual const Token& Peek() = 0;
  virtual Token Next() = 0;
  // Makes `tokens` the next ones read, in order.
  virtual void PushFront(std::vector<Token> tokens) = 0;
};

class TokenList : public TokenStream {
 public:
  // `end` is returned once the tokens run out (its text names the end).
  TokenList(std::vector<Token> tokens, Token end)
      : tokens_(std::move(tokens)), end_(std::move(end)) {}

  const Token& Peek() override {
    return next_ < tokens_.size() ? tokens_[next_] : end_;
  }
  Token Next() override {
    return next_ < tokens_.size() ? tokens_[next_++] : end_;
  }
  void PushFront(std::vector<Token> tokens) override {
    tokens_.insert(tokens_.begin() + static_cast<std::ptrdiff_t>(next_),
                   std::make_move_iterator(tokens.begin()),
                   std::make_move_iterator(tokens.end()));
  }
  bool AtEnd() const { return next_ >= tokens_.size(); }

 private:
  std::vector<Token> tokens_;
  Token end_;
  std::size_t next_ = 0;
};
