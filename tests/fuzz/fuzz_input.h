// Reading a fuzz target's input as a few numbers at the front and the text
// after them. Running out of bytes is not an error: missing numbers read as
// zero, so every input, even an empty one, is a valid test case.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

  std::uint16_t U16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }

  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }

  // The bytes not read yet.
  std::string Rest() {
    const std::size_t from = std::min(at_, size_);
    at_ = size_;
    return std::string(reinterpret_cast<const char*>(data_) + from,
                       size_ - from);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// `count` split points of a text of `length` bytes, from `raw` values, in
// increasing order; equal points (an empty piece) are allowed.
inline std::vector<std::size_t> SplitPoints(
    const std::vector<std::uint16_t>& raw, std::size_t length) {
  std::vector<std::size_t> points;
  for (const std::uint16_t r : raw) points.push_back(r % (length + 1));
  std::sort(points.begin(), points.end());
  return points;
}

// The pieces [0, p1), [p1, p2), ..., [pn, length) as (offset, size) pairs.
inline std::vector<std::pair<std::size_t, std::size_t>> Pieces(
    const std::vector<std::size_t>& points, std::size_t length) {
  std::vector<std::pair<std::size_t, std::size_t>> pieces;
  std::size_t from = 0;
  for (const std::size_t p : points) {
    pieces.emplace_back(from, p - from);
    from = p;
  }
  pieces.emplace_back(from, length - from);
  return pieces;
}

// Bytes for printing in a failure message: printable ASCII as it is, the
// rest as \xHH, at most `limit` bytes.
inline std::string Shown(const std::string& bytes, std::size_t limit = 96) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 0x20 && b < 0x7f && b != '\\') {
      out.push_back(static_cast<char>(b));
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  if (bytes.size() > limit) out += "...";
  return out;
}
