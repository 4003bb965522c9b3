// Splitting one logical line (or a macro's body) into tokens.
//
// Strings follow the resource-script rules: "" is a quote, and the escapes
// \n \r \t \\ \" and \xH or \xHH are decoded; other bytes, including
// Windows-1252 ones above 127, are kept as they are. Numbers are decimal or
// 0x hexadecimal with optional U/L suffixes (digits-only numbers are decimal,
// never octal). Does not expand macros.
#pragma once

#include <cstddef>
#include <vector>

#include "source_lines.h"
#include "token.h"

// Tokens of `line` from offset `start`; throws RcError for a malformed
// string, number or an unexpected character.
std::vector<Token> Tokenize(const std::string& file, const SourceLine& line,
                            std::size_t start = 0);

// Tokens of a macro body, all placed at `where`.
std::vector<Token> TokenizeText(const std::string& text, const Location& where);
