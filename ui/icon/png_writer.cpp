#include "png_writer.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "checksums.h"

namespace {

void PutBig32(std::vector<unsigned char>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<unsigned char>(v >> shift));
  }
}

void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(&out[typeAt], 4 + data.size()));
}

// A zlib stream holding `raw` in stored deflate blocks (at most 65535 bytes
// each, the format's limit).
std::vector<unsigned char> StoredZlib(const std::vector<unsigned char>& raw) {
  std::vector<unsigned char> out = {0x78, 0x01};  // deflate, 32K window
  std::size_t done = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - done);
    const bool last = done + n == raw.size();
    out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 = stored
    out.push_back(static_cast<unsigned char>(n & 0xff));
    out.push_back(static_cast<unsigned char>(n >> 8));
    out.push_back(static_cast<unsigned char>(~n & 0xff));
    out.push_back(static_cast<unsigned char>((~n >> 8) & 0xff));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
               raw.begin() + static_cast<std::ptrdiff_t>(done + n));
    done += n;
  } while (done < raw.size());
  PutBig32(out, Adler32(raw.data(), raw.size()));
  return out;
}

}  // namespace

std::vector<unsigned char> EncodePng(int width, int height,
                                     const std::vector<unsigned char>& rgba) {
  const std::size_t stride = static_cast<std::size_t>(width) * 4;
  std::vector<unsigned char> raw;
  raw.reserve((stride + 1) * height);
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    const auto row = rgba.begin() + static_cast<std::ptrdiff_t>(y * stride);
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(stride));
  }

  std::vector<unsigned char> header;
  PutBig32(header, static_cast<std::uint32_t>(width));
  PutBig32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA

  std::vector<unsigned char> png = {0x89, 'P',  'N',  'G',
                                    '\r', '\n', 0x1a, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", {});
  return png;
}
