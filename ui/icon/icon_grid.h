// The icon as an editable text grid: one character per pixel, '0'-'9' and
// 'a'-'f' index the 16 standard Windows colours, '.' is transparent. Lines
// starting with '#' and empty lines are comments. Also nearest-neighbour
// scaling and conversion to RGBA for the writers.
//
// Knows nothing of file formats (see ico_writer.h and png_writer.h).
#pragma once

#include <array>
#include <string>
#include <vector>

struct Rgb {
  unsigned char r, g, b;
};

// The 16 colours of the VGA palette, in the order Windows numbers them.
extern const std::array<Rgb, 16> kVgaPalette;

struct IconGrid {
  int width = 0;
  int height = 0;
  std::vector<int> pixels;  // row by row, top first; 0-15, or -1 transparent

  int At(int x, int y) const { return pixels[y * width + x]; }
};

inline constexpr int kTransparent = -1;
inline constexpr int kMaxIconSide = 256;  // what an icon can hold

// Parses the grid text. On failure returns false and sets `error` to
// "line N: what is wrong" (or a message without a line for the whole grid).
bool ParseIconGrid(const std::string& text, IconGrid& grid, std::string& error);

// The grid resampled to width x height by nearest neighbour, sampling each
// target pixel's centre: pixel-exact, no new colours. An integer factor
// turns every pixel into a square block; 32 to 48 doubles every other row
// and column.
IconGrid ScaleGrid(const IconGrid& grid, int width, int height);

// RGBA bytes, rows top first; transparent pixels are (0, 0, 0, 0).
std::vector<unsigned char> GridToRgba(const IconGrid& grid);
