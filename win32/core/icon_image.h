// Decoding of the program's .ico resources into pixels for the toolkit.
// Pure function: no toolkit here.
#pragma once

#include <cstddef>
#include <vector>

struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;  // width * height * 4, rows top to bottom
};

// Decodes the first image of an .ico file (a BMP image of 1, 4, 8, 24 or 32
// bits per pixel with its AND mask; transparent pixels get alpha 0). Returns
// false for data that is not such a file.
bool DecodeIcon(const unsigned char* data, std::size_t size, IconImage& out);
