#include "lexer.h"

#include <cctype>
#include <cstdio>

namespace {

bool IsNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Printable(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 0x21 && b < 0x7f) return std::string(1, c);
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02x", b);
  return buf;
}

// The punctuation the compiler knows, longest first.
const char* const kPunctuation[] = {
    "&&", "||", "==", "!=", "<=", ">=", "<<", ">>", ",", "|", "&", "+", "-",
    "~",  "(",  ")",  "{",  "}",  "*",  "/",  "%",  "!", "<", ">", "^"};

class Lexer {
 public:
  Lexer(const std::string& file, const std::string& text,
        const std::vector<int>* lineOf, int fixedLine)
      : file_(file), text_(text), lineOf_(lineOf), fixedLine_(fixedLine) {}

  std::vector<Token> Run(std::size_t pos) {
    std::vector<Token> tokens;
    while (true) {
      while (pos < text_.size() &&
             std::isspace(static_cast<unsigned char>(text_[pos]))) {
        ++pos;
      }
      if (pos >= text_.size()) return tokens;
      Token token;
      token.where = At(pos);
      const char c = text_[pos];
      if (IsNameStart(c)) {
        const std::size_t end = SkipNameChars(pos);
        token.kind = TokenKind::kName;
        token.text = text_.substr(pos, end - pos);
        pos = end;
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        pos = Number(pos, token);
      } else if (c == '"') {
        pos = String(pos, token);
      } else {
        pos = Punct(pos, token);
      }
      tokens.push_back(std::move(token));
    }
  }

 private:
  Location At(std::size_t pos) const {
    if (lineOf_ == nullptr) return {file_, fixedLine_};
    return {file_, (*lineOf_)[pos]};
  }

  std::size_t SkipNameChars(std::size_t pos) const {
    while (pos < text_.size() && IsNameChar(text_[pos])) ++pos;
    return pos;
  }

  std::size_t Number(std::size_t pos, Token& token) const {
    const std::size_t start = pos;
    const std::size_t end = SkipNameChars(pos);
    const std::string spelling = text_.substr(start, end - start);
    std::size_t i = 0;
    unsigned base = 10;
    if (spelling.size() > 2 && spelling[0] == '0' &&
        (spelling[1] == 'x' || spelling[1] == 'X')) {
      base = 16;
      i = 2;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    const std::size_t firstDigit = i;
    for (; i < spelling.size(); ++i) {
      const int d = HexDigit(spelling[i]);
      if (d < 0 || static_cast<unsigned>(d) >= base) break;
      if (value > (UINT64_MAX - static_cast<unsigned>(d)) / base) {
        overflow = true;
      }
      value = value * base + static_cast<unsigned>(d);
    }
    const std::string suffix = spelling.substr(i);
    bool suffixOk = i > firstDigit;
    int us = 0;
    int ls = 0;
    for (char s : suffix) {
      if (s == 'u' || s == 'U') {
        ++us;
      } else if (s == 'l' || s == 'L') {
        ++ls;
      } else {
        suffixOk = false;
      }
    }
    if (!suffixOk || us > 1 || ls > 2) {
      throw RcError(At(start), "malformed number '" + spelling + "'");
    }
    if (overflow) throw RcError(At(start), "number too large");
    token.kind = TokenKind::kNumber;
    token.text = spelling;
    token.number = value;
    return end;
  }

  std::size_t String(std::size_t pos, Token& token) const {
    const Location start = At(pos);
    std::string value;
    ++pos;
    while (true) {
      if (pos >= text_.size()) throw RcError(start, "unterminated string");
      const char c = text_[pos];
      if (c == '"') {
        if (pos + 1 < text_.size() && text_[pos + 1] == '"') {
          value.push_back('"');
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      if (c != '\\') {
        value.push_back(c);
        ++pos;
        continue;
      }
      if (pos + 1 >= text_.size()) throw RcError(start, "unterminated string");
      const char e = text_[pos + 1];
      pos += 2;
      switch (e) {
        case 'n':
          value.push_back('\n');
          break;
        case 'r':
          value.push_back('\r');
          break;
        case 't':
          value.push_back('\t');
          break;
        case '\\':
        case '"':
          value.push_back(e);
          break;
        case 'x': {
          int byte = 0;
          int digits = 0;
          while (digits < 2 && pos < text_.size() &&
                 HexDigit(text_[pos]) >= 0) {
            byte = byte * 16 + HexDigit(text_[pos]);
            ++pos;
            ++digits;
          }
          if (digits == 0) throw RcError(start, "\\x without hex digits");
          value.push_back(static_cast<char>(byte));
          break;
        }
        default:
          throw RcError(start, "unknown escape '\\" + Printable(e) + "'");
      }
    }
    if (value.find('\0') != std::string::npos) {
      throw RcError(start, "a string cannot hold a zero byte");
    }
    token.kind = TokenKind::kString;
    token.text = std::move(value);
    return pos;
  }

  std::size_t Punct(std::size_t pos, Token& token) const {
    for (const char* p : kPunctuation) {
      if (text_.compare(pos, std::char_traits<char>::length(p), p) == 0) {
        token.kind = TokenKind::kPunct;
        token.text = p;
        return pos + token.text.size();
      }
    }
    throw RcError(At(pos),
                  "unexpected character '" + Printable(text_[pos]) + "'");
  }

  const std::string& file_;
  const std::string& text_;
  const std::vector<int>* lineOf_;
  int fixedLine_;
};

}  // namespace

std::vector<Token> Tokenize(const std::string& file, const SourceLine& line,
                            std::size_t start) {
  return Lexer(file, line.text, &line.lineOf, 0).Run(start);
}

std::vector<Token> TokenizeText(const std::string& text,
                                const Location& where) {
  return Lexer(where.file, text, nullptr, where.line).Run(0);
}
