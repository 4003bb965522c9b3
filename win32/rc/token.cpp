#include "token.h"

#include <cctype>

std::string Describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::kEnd:
      return token.text;
    case TokenKind::kString:
      return "a string";
    default:
      return "'" + token.text + "'";
  }
}

bool IsPunct(const Token& token, const char* p) {
  return token.kind == TokenKind::kPunct && token.text == p;
}

bool IsKeyword(const Token& token, const char* keyword) {
  if (token.kind != TokenKind::kName) return false;
  const std::size_t n = std::char_traits<char>::length(keyword);
  if (token.text.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::toupper(static_cast<unsigned char>(token.text[i])) != keyword[i]) {
      return false;
    }
  }
  return true;
}
