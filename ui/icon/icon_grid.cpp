#include "icon_grid.h"

#include <sstream>

const std::array<Rgb, 16> kVgaPalette = {{
    {0x00, 0x00, 0x00},  // 0 black
    {0x80, 0x00, 0x00},  // 1 dark red
    {0x00, 0x80, 0x00},  // 2 dark green
    {0x80, 0x80, 0x00},  // 3 olive
    {0x00, 0x00, 0x80},  // 4 navy
    {0x80, 0x00, 0x80},  // 5 purple
    {0x00, 0x80, 0x80},  // 6 teal
    {0xc0, 0xc0, 0xc0},  // 7 light grey
    {0x80, 0x80, 0x80},  // 8 dark grey
    {0xff, 0x00, 0x00},  // 9 red
    {0x00, 0xff, 0x00},  // a green
    {0xff, 0xff, 0x00},  // b yellow
    {0x00, 0x00, 0xff},  // c blue
    {0xff, 0x00, 0xff},  // d magenta
    {0x00, 0xff, 0xff},  // e cyan
    {0xff, 0xff, 0xff},  // f white
}};

namespace {

int PixelValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c == '.') return kTransparent;
  return -2;
}

}  // namespace

bool ParseIconGrid(const std::string& text, IconGrid& grid,
                   std::string& error) {
  IconGrid result;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string where = "line " + std::to_string(lineNo) + ": ";
    if (result.height == 0) {
      result.width = static_cast<int>(line.size());
      if (result.width > kMaxIconSide) {
        error = where + "more than " + std::to_string(kMaxIconSide) +
                " pixels in a row";
        return false;
      }
    } else if (static_cast<int>(line.size()) != result.width) {
      error = where + "expected " + std::to_string(result.width) +
              " pixels, found " + std::to_string(line.size());
      return false;
    }
    for (std::size_t x = 0; x < line.size(); ++x) {
      const int value = PixelValue(line[x]);
      if (value == -2) {
        error = where + "'" + std::string(1, line[x]) +
                "' is not a colour (0-9, a-f) or '.'";
        return false;
      }
      result.pixels.push_back(value);
    }
    if (++result.height > kMaxIconSide) {
      error = where + "more than " + std::to_string(kMaxIconSide) + " rows";
      return false;
    }
  }
  if (result.height == 0) {
    error = "no pixel rows";
    return false;
  }
  grid = std::move(result);
  return true;
}

IconGrid ScaleGrid(const IconGrid& grid, int width, int height) {
  IconGrid scaled;
  scaled.width = width;
  scaled.height = height;
  scaled.pixels.reserve(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    // The source pixel under the centre of target pixel y: (y + 0.5) * h / H.
    const int sy = static_cast<int>((2L * y + 1) * grid.height / (2L * height));
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((2L * x + 1) * grid.width / (2L * width));
      scaled.pixels.push_back(grid.At(sx, sy));
    }
  }
  return scaled;
}

std::vector<unsigned char> GridToRgba(const IconGrid& grid) {
  std::vector<unsigned char> rgba;
  rgba.reserve(grid.pixels.size() * 4);
  for (const int p : grid.pixels) {
    if (p == kTransparent) {
      rgba.insert(rgba.end(), {0, 0, 0, 0});
    } else {
      const Rgb& c = kVgaPalette[p];
      rgba.insert(rgba.end(), {c.r, c.g, c.b, 255});
    }
  }
  return rgba;
}
