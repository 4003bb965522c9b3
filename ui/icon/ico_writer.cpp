#include "ico_writer.h"

#include <cstdint>

namespace {

void Put16(std::vector<unsigned char>& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  Put16(out, v & 0xffffu);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<unsigned char> EncodeIco(const IconGrid& grid) {
  const auto w = static_cast<std::uint32_t>(grid.width);
  const auto h = static_cast<std::uint32_t>(grid.height);
  const std::uint32_t xorStride = (w * 4 + 31) / 32 * 4;
  const std::uint32_t andStride = (w + 31) / 32 * 4;
  const std::uint32_t bitmapBytes = (xorStride + andStride) * h;
  const std::uint32_t imageBytes = 40 + 16 * 4 + bitmapBytes;

  std::vector<unsigned char> out;
  // ICONDIR and its one entry; 256 is written as 0.
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<unsigned char>(w & 0xffu));
  out.push_back(static_cast<unsigned char>(h & 0xffu));
  out.push_back(16);  // colours
  out.push_back(0);
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, imageBytes);
  Put32(out, 6 + 16);

  // BITMAPINFOHEADER: the height counts the colour bitmap and the mask.
  Put32(out, 40);
  Put32(out, w);
  Put32(out, 2 * h);
  Put16(out, 1);
  Put16(out, 4);
  Put32(out, 0);  // BI_RGB
  Put32(out, bitmapBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 16);
  Put32(out, 0);
  for (const Rgb& c : kVgaPalette) out.insert(out.end(), {c.b, c.g, c.r, 0});

  // Transparent pixels are black in the colour bitmap and set in the mask,
  // so the screen shows through where the mask is ANDed and the colour XORed.
  for (int y = grid.height - 1; y >= 0; --y) {
    std::vector<unsigned char> row(xorStride, 0);
    for (int x = 0; x < grid.width; ++x) {
      const int p = grid.At(x, y);
      const auto index = static_cast<unsigned char>(p == kTransparent ? 0 : p);
      row[x / 2] |= static_cast<unsigned char>(x % 2 == 0 ? index << 4 : index);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = grid.height - 1; y >= 0; --y) {
    std::vector<unsigned char> row(andStride, 0);
    for (int x = 0; x < grid.width; ++x) {
      if (grid.At(x, y) == kTransparent) {
        row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
