// The icon: the text grid, its .ico encoding read back by the layer's
// decoder, the decoder on the other bitmap depths and on damaged files, the
// scaling and the PNG encoding.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "checksums.h"
#include "ico_writer.h"
#include "icon_grid.h"
#include "icon_image.h"
#include "png_writer.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)),
                     std::istreambuf_iterator<char>());
}

IconGrid Grid(const std::string& text) {
  IconGrid grid;
  std::string error;
  EXPECT_TRUE(ParseIconGrid(text, grid, error)) << error;
  return grid;
}

// Every pixel of `image` against `grid`: the palette colour, opaque, or
// alpha 0 where the grid is transparent.
void ExpectSamePicture(const IconImage& image, const IconGrid& grid) {
  ASSERT_EQ(image.width, grid.width);
  ASSERT_EQ(image.height, grid.height);
  ASSERT_EQ(image.rgba.size(), grid.pixels.size() * 4);
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) {
      const unsigned char* px = &image.rgba[(y * grid.width + x) * 4];
      const int p = grid.At(x, y);
      SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(y));
      if (p == kTransparent) {
        EXPECT_EQ(px[3], 0);
      } else {
        const Rgb& c = kVgaPalette[p];
        EXPECT_EQ((std::vector<int>{px[0], px[1], px[2], px[3]}),
                  (std::vector<int>{c.r, c.g, c.b, 255}));
      }
    }
  }
}

TEST(IconGrid, PaletteIsTheStandardSixteenColours) {
  const struct {
    char index;
    Rgb rgb;
  } cases[] = {{'0', {0, 0, 0}},       {'1', {128, 0, 0}},
               {'7', {192, 192, 192}}, {'8', {128, 128, 128}},
               {'9', {255, 0, 0}},     {'a', {0, 255, 0}},
               {'c', {0, 0, 255}},     {'f', {255, 255, 255}}};
  for (const auto& c : cases) {
    const IconGrid grid = Grid(std::string(1, c.index));
    const std::vector<unsigned char> rgba = GridToRgba(grid);
    EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2], rgba[3]}),
              (std::vector<int>{c.rgb.r, c.rgb.g, c.rgb.b, 255}))
        << c.index;
  }
}

TEST(IconGrid, RefusesMalformedGrids) {
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"# c\n00\n0\n", "line 3: expected 2 pixels, found 1"},
      {"0x\n", "line 1: 'x' is not a colour (0-9, a-f) or '.'"},
      {"0A\n", "line 1: 'A' is not a colour (0-9, a-f) or '.'"},
      {"# only a comment\n\n", "no pixel rows"},
      {std::string(257, '0') + "\n", "line 1: more than 256 pixels in a row"},
      {[] {
         std::string tall;
         for (int i = 0; i < 257; ++i) tall += "0\n";
         return tall;
       }(),
       "line 257: more than 256 rows"},
  };
  for (const auto& c : cases) {
    IconGrid grid;
    std::string error;
    EXPECT_FALSE(ParseIconGrid(c.text, grid, error));
    EXPECT_EQ(error, c.error);
  }
}

TEST(IconGrid, TheProgramsIconIs32By32) {
  const IconGrid grid = Grid(ReadText(ZORKEL_ICON_GRID));
  EXPECT_EQ(grid.width, 32);
  EXPECT_EQ(grid.height, 32);
}

TEST(IcoEncoding, DecodesBackToTheGrid) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"one opaque pixel", "9\n"},
      {"one transparent pixel", ".\n"},
      {"odd width", "9.f\na0.\n"},
      {"all colours", "0123456789abcdef\nfedcba9876543210\n"},
      {"wider than one mask word",
       "0123456789abcdef.0123456789abcdef\n.fedcba9876543210fedcba987654321."
       "\n"},
      {"the program's icon", ReadText(ZORKEL_ICON_GRID)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const IconGrid grid = Grid(c.text);
    const Bytes ico = EncodeIco(grid);
    IconImage image;
    ASSERT_TRUE(DecodeIcon(ico.data(), ico.size(), image));
    ExpectSamePicture(image, grid);
  }
}

TEST(IcoEncoding, LayoutIsTheDocumentedOne) {
  // Top row: red, transparent; bottom row: black, white.
  const Bytes ico = EncodeIco(Grid("9.\n0f\n"));
  // ICONDIR entry: 2 x 2, 16 colours, 1 plane, 4 bits, image at 22.
  EXPECT_EQ(ico[6], 2);
  EXPECT_EQ(ico[7], 2);
  EXPECT_EQ(ico[8], 16);
  EXPECT_EQ(ico[12], 4);
  EXPECT_EQ(ico[18], 22);
  // BITMAPINFOHEADER: height doubled for the mask.
  EXPECT_EQ(ico[22 + 8], 4);
  // Colour rows (4 bytes each) bottom-up after header and 16-entry palette:
  // "0f" first, then "9." with the transparent pixel black.
  const std::size_t bits = 22 + 40 + 64;
  EXPECT_EQ((Bytes(ico.begin() + bits, ico.begin() + bits + 8)),
            (Bytes{0x0f, 0, 0, 0, 0x90, 0, 0, 0}));
  // Mask rows bottom-up: the top row's second pixel is transparent.
  EXPECT_EQ((Bytes(ico.begin() + bits + 8, ico.end())),
            (Bytes{0, 0, 0, 0, 0x40, 0, 0, 0}));
}

TEST(IcoEncoding, TheBuildsIconFileIsTheGrid) {
  const std::string file = ReadText(ZORKEL_ICON_FILE);
  const Bytes ico(file.begin(), file.end());
  IconImage image;
  ASSERT_TRUE(DecodeIcon(ico.data(), ico.size(), image));
  ExpectSamePicture(image, Grid(ReadText(ZORKEL_ICON_GRID)));
}

// An .ico around one BMP image given as raw rows (bottom-up, padded).
Bytes BmpIcon(int width, int height, int bitCount, const Bytes& palette,
              const Bytes& colourRows, const Bytes& maskRows) {
  auto put = [](Bytes& out, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back((v >> (8 * i)) & 0xff);
  };
  const auto imageSize = static_cast<std::uint32_t>(
      40 + palette.size() + colourRows.size() + maskRows.size());
  Bytes out;
  put(out, 0, 2);
  put(out, 1, 2);
  put(out, 1, 2);
  out.insert(out.end(), {static_cast<unsigned char>(width),
                         static_cast<unsigned char>(height), 0, 0});
  put(out, 1, 2);
  put(out, bitCount, 2);
  put(out, imageSize, 4);
  put(out, 22, 4);
  put(out, 40, 4);
  put(out, width, 4);
  put(out, 2 * height, 4);
  put(out, 1, 2);
  put(out, bitCount, 2);
  put(out, 0, 4);
  put(out, 0, 4);
  put(out, 0, 4);
  put(out, 0, 4);
  put(out, static_cast<std::uint32_t>(palette.size() / 4), 4);
  put(out, 0, 4);
  out.insert(out.end(), palette.begin(), palette.end());
  out.insert(out.end(), colourRows.begin(), colourRows.end());
  out.insert(out.end(), maskRows.begin(), maskRows.end());
  return out;
}

TEST(DecodeIcon, OtherBitDepths) {
  const struct {
    const char* name;
    Bytes ico;
    int width, height;
    Bytes rgba;  // top row first
  } cases[] = {
      {"1 bit: black, white; second pixel masked",
       BmpIcon(2, 1, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {0x40, 0, 0, 0},
               {0x40, 0, 0, 0}),
       2,
       1,
       {0, 0, 0, 255, 255, 255, 255, 0}},
      {"8 bit, 3-colour palette",
       BmpIcon(2, 1, 8, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}, {2, 1, 0, 0},
               {0, 0, 0, 0}),
       2,
       1,
       {9, 8, 7, 255, 6, 5, 4, 255}},
      {"24 bit, bottom-up, bottom pixel masked",
       BmpIcon(1, 2, 24, {}, {0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0},
               {0x80, 0, 0, 0, 0, 0, 0, 0}),
       1,
       2,
       {0x66, 0x55, 0x44, 255, 0x33, 0x22, 0x11, 0}},
      {"32 bit: the alpha channel wins over the mask",
       BmpIcon(1, 1, 32, {}, {1, 2, 3, 0x80}, {0x80, 0, 0, 0}),
       1,
       1,
       {3, 2, 1, 0x80}},
      {"32 bit without alpha: the mask decides",
       BmpIcon(2, 1, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0}, {0x40, 0, 0, 0}),
       2,
       1,
       {3, 2, 1, 255, 6, 5, 4, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IconImage image;
    ASSERT_TRUE(DecodeIcon(c.ico.data(), c.ico.size(), image));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.rgba, c.rgba);
  }
}

TEST(DecodeIcon, RefusesEveryTruncation) {
  const Bytes ico = EncodeIco(Grid("9.f\na0.\n"));
  for (std::size_t size = 0; size < ico.size(); ++size) {
    IconImage image;
    image.width = 7;
    EXPECT_FALSE(DecodeIcon(ico.data(), size, image)) << size;
    EXPECT_EQ(image.width, 7) << "changed on failure";
  }
  IconImage image;
  EXPECT_FALSE(DecodeIcon(nullptr, 0, image));
}

TEST(DecodeIcon, RefusesDamagedFields) {
  const Bytes good = EncodeIco(Grid("9.f\na0.\n"));
  const std::size_t bih = 22;
  const struct {
    const char* name;
    std::size_t offset;
    std::vector<unsigned char> value;  // little-endian bytes written there
  } cases[] = {
      {"reserved", 0, {1}},
      {"type 2 (cursor)", 2, {2}},
      {"no images", 4, {0, 0}},
      {"image beyond the file", 18, {0xff, 0xff, 0, 0}},
      {"image size beyond the file", 14, {0xff, 0xff, 0xff, 0x7f}},
      {"old 12-byte header", bih, {12, 0, 0, 0}},
      {"zero width", bih + 4, {0, 0, 0, 0}},
      {"negative width", bih + 4, {0xff, 0xff, 0xff, 0xff}},
      {"width 300", bih + 4, {0x2c, 1, 0, 0}},
      {"odd doubled height", bih + 8, {3, 0, 0, 0}},
      {"top-down height", bih + 8, {0xfc, 0xff, 0xff, 0xff}},
      {"two planes", bih + 12, {2, 0}},
      {"3 bits per pixel", bih + 14, {3, 0}},
      {"RLE compression", bih + 16, {2, 0, 0, 0}},
      {"17 colours for 4 bits", bih + 32, {17, 0, 0, 0}},
      {"pixels beyond a 2-colour palette", bih + 32, {2, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    Bytes bad = good;
    std::copy(c.value.begin(), c.value.end(), bad.begin() + c.offset);
    IconImage image;
    EXPECT_FALSE(DecodeIcon(bad.data(), bad.size(), image)) << c.name;
  }
}

TEST(ScaleGrid, NearestNeighbourIsPixelExact) {
  const IconGrid two = Grid("01\n2.\n");
  EXPECT_EQ(
      ScaleGrid(two, 4, 4).pixels,
      (std::vector<int>{0, 0, 1, 1, 0, 0, 1, 1, 2, 2, -1, -1, 2, 2, -1, -1}));
  // 1.5 times: the second source row and column are the doubled ones.
  EXPECT_EQ(ScaleGrid(two, 3, 3).pixels,
            (std::vector<int>{0, 1, 1, 2, -1, -1, 2, -1, -1}));

  const IconGrid icon = Grid(ReadText(ZORKEL_ICON_GRID));
  const IconGrid big = ScaleGrid(icon, 64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      ASSERT_EQ(big.At(x, y), icon.At(x / 2, y / 2)) << x << "," << y;
    }
  }
}

TEST(Checksums, StandardCheckValues) {
  const std::string digits = "123456789";
  const auto* d = reinterpret_cast<const unsigned char*>(digits.data());
  EXPECT_EQ(Crc32(d, digits.size()), 0xCBF43926u);
  // Continuing a CRC equals computing it in one go.
  EXPECT_EQ(Crc32(d + 4, 5, Crc32(d, 4)), 0xCBF43926u);
  const std::string word = "Wikipedia";
  EXPECT_EQ(
      Adler32(reinterpret_cast<const unsigned char*>(word.data()), word.size()),
      0x11E60398u);
}

std::uint32_t Big32(const Bytes& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
         b[at + 3];
}

// Reads a PNG of this encoder's kind (RGBA, stored deflate blocks, filter 0)
// back into RGBA, checking every CRC and the Adler-32 on the way.
bool ReadStoredPng(const Bytes& png, int& width, int& height, Bytes& rgba) {
  const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (Bytes(png.begin(), png.begin() + 8) != signature) return false;
  Bytes zlib;
  bool ended = false;
  for (std::size_t at = 8; at + 12 <= png.size() && !ended;) {
    const std::uint32_t length = Big32(png, at);
    const std::string type(png.begin() + at + 4, png.begin() + at + 8);
    if (Crc32(&png[at + 4], 4 + length) != Big32(png, at + 8 + length)) {
      return false;
    }
    const auto data = png.begin() + at + 8;
    if (type == "IHDR") {
      width = static_cast<int>(Big32(png, at + 8));
      height = static_cast<int>(Big32(png, at + 12));
      if (Bytes(data + 8, data + 13) != Bytes{8, 6, 0, 0, 0}) return false;
    }
    if (type == "IDAT") zlib.insert(zlib.end(), data, data + length);
    ended = type == "IEND";
    at += 12 + length;
  }
  if (!ended || zlib.size() < 6 || zlib[0] != 0x78 ||
      (zlib[0] * 256 + zlib[1]) % 31 != 0) {
    return false;
  }
  Bytes raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    if (at + 5 > zlib.size() || (zlib[at] & 6) != 0) return false;  // stored
    last = zlib[at] & 1;
    const unsigned n = zlib[at + 1] | (zlib[at + 2] << 8);
    const unsigned nn = zlib[at + 3] | (zlib[at + 4] << 8);
    if ((n ^ 0xffff) != nn || at + 5 + n > zlib.size()) return false;
    raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + n);
    at += 5 + n;
  }
  if (at + 4 != zlib.size() ||
      Adler32(raw.data(), raw.size()) != Big32(zlib, at)) {
    return false;
  }
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  if (raw.size() != (stride + 1) * height) return false;
  rgba.clear();
  for (int y = 0; y < height; ++y) {
    if (raw[y * (stride + 1)] != 0) return false;
    const auto row = raw.begin() + y * (stride + 1) + 1;
    rgba.insert(rgba.end(), row, row + stride);
  }
  return true;
}

TEST(PngEncoding, HoldsTheScaledPicture) {
  const IconGrid icon = Grid(ReadText(ZORKEL_ICON_GRID));
  // 32 fits one stored block; 256 (262400 raw bytes) needs five.
  for (const int size : {32, 48, 256}) {
    SCOPED_TRACE(size);
    const IconGrid scaled = ScaleGrid(icon, size, size);
    const Bytes png =
        EncodePng(scaled.width, scaled.height, GridToRgba(scaled));
    int width = 0;
    int height = 0;
    Bytes rgba;
    ASSERT_TRUE(ReadStoredPng(png, width, height, rgba));
    EXPECT_EQ(width, size);
    EXPECT_EQ(height, size);
    EXPECT_EQ(rgba, GridToRgba(scaled));
  }
}

}  // namespace
