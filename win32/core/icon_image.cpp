// Decoding the first image of an .ico file. Every read is checked against
// the file's size first: the bytes come from resources, but a damaged or
// hostile file must be refused, never read past.
#include "icon_image.h"

#include <cstdint>
#include <utility>

namespace {

// Icons are at most 256 pixels square; larger claims are damage.
constexpr int kMaxSide = 256;

class Bytes {
 public:
  Bytes(const unsigned char* data, std::size_t size)
      : data_(data), size_(size) {}

  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  std::uint32_t U16(std::size_t at) const {
    return data_[at] | (static_cast<std::uint32_t>(data_[at + 1]) << 8);
  }
  std::uint32_t U32(std::size_t at) const {
    return U16(at) | (U16(at + 2) << 16);
  }
  const unsigned char* At(std::size_t offset) const { return data_ + offset; }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

struct Header {
  int width = 0;
  int height = 0;  // of the picture: half the bitmap's height
  int bitCount = 0;
  std::size_t paletteSize = 0;  // entries
  std::size_t paletteAt = 0;    // offsets inside the image
  std::size_t xorAt = 0;
  std::size_t xorStride = 0;
  std::size_t andAt = 0;
  std::size_t andStride = 0;
};

// Reads the BITMAPINFOHEADER at the start of `image` and places the palette,
// the colour bitmap and the mask; false if any of them does not fit.
bool ReadHeader(const Bytes& image, std::size_t imageSize, Header& h) {
  if (!image.Has(0, 40) || imageSize < 40) return false;
  const std::uint32_t headerSize = image.U32(0);
  const auto width = static_cast<std::int32_t>(image.U32(4));
  const auto doubledHeight = static_cast<std::int32_t>(image.U32(8));
  const std::uint32_t planes = image.U16(12);
  const std::uint32_t bitCount = image.U16(14);
  const std::uint32_t compression = image.U32(16);
  const std::uint32_t colorsUsed = image.U32(32);

  if (headerSize < 40 || headerSize > imageSize) return false;
  if (width < 1 || width > kMaxSide) return false;
  // The bitmap holds the colours and the mask, one above the other, so its
  // height is twice the picture's; icons are stored bottom-up.
  if (doubledHeight < 2 || doubledHeight > 2 * kMaxSide ||
      doubledHeight % 2 != 0) {
    return false;
  }
  if (planes != 1 || compression != 0) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 &&
      bitCount != 32) {
    return false;
  }
  const std::uint32_t maxColors = bitCount <= 8 ? 1u << bitCount : 256u;
  if (colorsUsed > maxColors) return false;

  h.width = width;
  h.height = doubledHeight / 2;
  h.bitCount = static_cast<int>(bitCount);
  h.paletteSize = colorsUsed != 0 ? colorsUsed : bitCount <= 8 ? maxColors : 0;
  h.paletteAt = headerSize;
  h.xorAt = h.paletteAt + 4 * h.paletteSize;
  h.xorStride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
  h.andAt = h.xorAt + h.xorStride * h.height;
  h.andStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  const std::size_t end = h.andAt + h.andStride * h.height;
  return end <= imageSize;
}

// The palette index or packed colour of pixel x in a bitmap row.
std::uint32_t IndexAt(const unsigned char* row, int bitCount, int x) {
  switch (bitCount) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4:
      return (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xfu;
    default:
      return row[x];
  }
}

}  // namespace

bool DecodeIcon(const unsigned char* data, std::size_t size, IconImage& out) {
  if (data == nullptr) return false;
  const Bytes file(data, size);
  // ICONDIR: reserved 0, type 1 (icon), image count; then the first entry.
  if (!file.Has(0, 6 + 16)) return false;
  if (file.U16(0) != 0 || file.U16(2) != 1 || file.U16(4) == 0) return false;
  const std::uint32_t imageSize = file.U32(6 + 8);
  const std::uint32_t imageOffset = file.U32(6 + 12);
  if (!file.Has(imageOffset, imageSize)) return false;
  const Bytes image(file.At(imageOffset), imageSize);

  Header h;
  if (!ReadHeader(image, imageSize, h)) return false;

  IconImage result;
  result.width = h.width;
  result.height = h.height;
  result.rgba.resize(static_cast<std::size_t>(h.width) * h.height * 4);

  bool anyAlpha = false;
  for (int y = 0; y < h.height; ++y) {
    const int stored = h.height - 1 - y;  // bottom-up
    const unsigned char* row = image.At(h.xorAt + h.xorStride * stored);
    const unsigned char* mask = image.At(h.andAt + h.andStride * stored);
    for (int x = 0; x < h.width; ++x) {
      unsigned char* px =
          &result.rgba[(static_cast<std::size_t>(y) * h.width + x) * 4];
      if (h.bitCount <= 8) {
        const std::uint32_t index = IndexAt(row, h.bitCount, x);
        if (index >= h.paletteSize) return false;
        const unsigned char* bgrx = image.At(h.paletteAt + 4 * index);
        px[0] = bgrx[2];
        px[1] = bgrx[1];
        px[2] = bgrx[0];
        px[3] = 255;
      } else {
        const unsigned char* bgr = row + x * (h.bitCount / 8);
        px[0] = bgr[2];
        px[1] = bgr[1];
        px[2] = bgr[0];
        px[3] = h.bitCount == 32 ? bgr[3] : 255;
        if (h.bitCount == 32 && bgr[3] != 0) anyAlpha = true;
      }
      const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1u;
      // A 32-bit image with an alpha channel is drawn by its alpha alone;
      // the others (and 32-bit images whose alpha is all zero, from older
      // tools) by the mask, applied below once the alpha is known.
      if (transparent && h.bitCount != 32) px[3] = 0;
    }
  }
  if (h.bitCount == 32 && !anyAlpha) {
    for (int y = 0; y < h.height; ++y) {
      const unsigned char* mask =
          image.At(h.andAt + h.andStride * (h.height - 1 - y));
      for (int x = 0; x < h.width; ++x) {
        const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1u;
        result.rgba[(static_cast<std::size_t>(y) * h.width + x) * 4 + 3] =
            transparent ? 0 : 255;
      }
    }
  }
  out = std::move(result);
  return true;
}
