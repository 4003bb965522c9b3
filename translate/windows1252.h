// Windows-1252, the character set of the engine's bytes, and its mapping to
// Unicode. Used where bytes meet Linux text (the filter's UTF-8 mode, the
// window's text area). Pure tables: no locale, no allocation.
#pragma once

#include <cstdint>

// The character a byte stands for. The five bytes that Windows-1252 leaves
// undefined (81 8D 8F 90 9D) stand for the C1 controls of the same value, as
// the platform's own conversion does, so every byte has a character.
char32_t Windows1252ToUnicode(unsigned char byte);

// The byte for a character, or -1 when Windows-1252 has none.
int UnicodeToWindows1252(char32_t c);
