// A small seeded generator (splitmix64) for tests: the same seed gives the
// same cases on every machine.
#pragma once

#include <cstddef>
#include <cstdint>

class TestRandom {
 public:
  explicit TestRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) {
    return static_cast<std::size_t>(Next() % n);
  }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  std::uint32_t State() { return static_cast<std::uint32_t>(Next()); }

 private:
  std::uint64_t state_;
};
