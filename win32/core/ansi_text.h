// The text of an edit control in two forms: the Windows-1252 bytes that cross
// the API, and the form the toolkit shows, UTF-8 with one '\n' per line end.
//
// The display form keeps a parallel style string, one byte per UTF-8 byte,
// that says which line end each '\n' stands for, so CR LF, LF alone and CR
// alone come back exactly as they went in. Pure functions: no toolkit here.
#pragma once

#include <cstddef>
#include <string>

// Style bytes of the display form.
inline constexpr char kStyleText = 'A';    // any character; '\n' = CR LF
inline constexpr char kStyleLoneLf = 'B';  // '\n' standing for LF alone
inline constexpr char kStyleLoneCr = 'C';  // '\n' standing for CR alone

struct DisplayText {
  std::string utf8;
  std::string style;  // same length as utf8
};

// Windows-1252 bytes (no zero byte expected; a zero ends nothing here) to the
// display form.
DisplayText AnsiToDisplay(const char* bytes, std::size_t length);

// The display form back to Windows-1252 bytes. A character that Windows-1252
// lacks, and every byte of invalid UTF-8, becomes '?'. `style` may be shorter
// than `utf8` (or null): missing style bytes count as kStyleText, so text
// typed or pasted as '\n' becomes CR LF.
std::string DisplayToAnsi(const char* utf8, const char* style,
                          std::size_t length);
