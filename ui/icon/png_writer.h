// Encoding RGBA pixels as a PNG file: 8-bit RGBA, no interlace, every row
// unfiltered, the zlib stream made of stored (uncompressed) deflate blocks.
// Larger than a compressed PNG, but needs no compression library and every
// viewer reads it. Takes the pixels as they are: no scaling or palette
// here (see icon_grid.h).
#pragma once

#include <vector>

// `rgba` holds width * height * 4 bytes, rows top first.
std::vector<unsigned char> EncodePng(int width, int height,
                                     const std::vector<unsigned char>& rgba);
