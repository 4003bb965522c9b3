// The walk over the draws in Rand mode, shared by every path of the fast
// pass. Internal to the translate library.
//
// In Rand mode a byte takes 2 draws when its coin (its second draw) is even,
// else 3, or 4 when Hard mode is on and the byte has look-alikes. Where each
// byte's draws start is therefore a chain: nothing about byte j is known until
// the coins before it are. The walk keeps the parity bits of the next draws in
// a 64-bit window and takes 3 or 4 bytes per table lookup, so the chain costs
// a mask, a load and a shift per step.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "pass_tables.h"

namespace pass {

// Stores the 4 bytes of `v`, lowest first.
inline void StoreFourBytes(std::uint8_t* p, std::uint32_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(p, &v, sizeof v);
  } else {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
}

class RandWalk {
 public:
  // `cycleStart` is the cycle position of the walk's first draw.
  RandWalk(const Tables& tables, std::uint32_t cycleStart)
      : tables_(tables),
        cycleStart_(cycleStart),
        window_(ParityBits64(tables, cycleStart + 1)),
        next_(ParityBits64(tables, cycleStart + 65)) {}

  // Draws taken so far (mod 2^32).
  std::uint32_t draws() const { return draw_; }

  // Walks the next kBatchBytes bytes. first[j] gets the first draw of byte j,
  // counted from the batch's first draw; bit j of `eligible` says whether
  // byte j has look-alikes (looked at in Hard mode only). Returns the draws
  // the batch takes.
  template <bool kHard>
  std::uint32_t Batch(std::uint64_t eligible, std::uint8_t* first) {
    const std::uint32_t start = draw_;
    if constexpr (kHard) {
      static_assert(kBatchBytes == 21 * kRandHardStepBytes + 1);
      constexpr std::uint32_t kIndexMask = (1u << kRandHardStepBits) - 1;
      auto step = [&](unsigned s) {
        const std::uint32_t* row =
            tables_.randHardStep +
            (((eligible >> (kRandHardStepBytes * s)) & 7u)
             << kRandHardStepBits);
        Step(row[window_ & kIndexMask], start, first + kRandHardStepBytes * s);
      };
      for (unsigned group = 0; group < 5; ++group) {
        FourSteps([&](unsigned s) { step(4 * group + s); });
        Refill();
      }
      step(20);
      // The batch's last byte on its own.
      first[kBatchBytes - 1] = static_cast<std::uint8_t>(draw_ - start);
      const std::uint64_t coin = window_ & 1u;
      const std::uint64_t taken = 2 + coin + (coin & (eligible >> 63));
      window_ >>= taken;
      draw_ += static_cast<std::uint32_t>(taken);
      Refill();
    } else {
      static_assert(kBatchBytes == 16 * kRandStepBytes);
      constexpr std::uint32_t kIndexMask = (1u << kRandStepBits) - 1;
      for (unsigned group = 0; group < 4; ++group) {
        FourSteps([&](unsigned s) {
          Step(tables_.randStep[window_ & kIndexMask], start,
               first + kRandStepBytes * (4 * group + s));
        });
        Refill();
      }
    }
    return draw_ - start;
  }

 private:
  template <typename F>
  static void FourSteps(F&& f) {
    [&]<unsigned... S>(std::integer_sequence<unsigned, S...>) {
      (f(S), ...);
    }(std::make_integer_sequence<unsigned, 4>{});
  }

  // Applies one table entry: records the first draws of its bytes (relative
  // to `start`; the 4-byte store may write one byte past the step, which the
  // next step overwrites) and moves past its draws.
  void Step(std::uint32_t entry, std::uint32_t start, std::uint8_t* first) {
    StoreFourBytes(first,
                   (draw_ - start) * 0x01010101u + (entry & ~kStepDrawsMask));
    // The draws are below 64, so `& 63` leaves them as they are and lets the
    // compiler shift by the entry directly.
    window_ >>= (entry & 63u);
    draw_ += entry & kStepDrawsMask;
  }

  // Tops the window up to 64 bits. Called after at most 64 draws, and at
  // least one, since the last call, so the shift below stays in 0..63.
  void Refill() {
    const std::uint32_t unread = filled_ - (draw_ + 1);
    window_ |= next_ << unread;
    filled_ = draw_ + 65;
    next_ = ParityBits64(tables_, cycleStart_ + filled_);
  }

  const Tables& tables_;
  std::uint32_t cycleStart_;
  std::uint32_t draw_ = 0;    // the current byte's first draw
  std::uint64_t window_;      // parity of the draws from draw_ + 1 on
  std::uint32_t filled_ = 65; // the first draw whose parity window_ lacks
  std::uint64_t next_;        // parity of the 64 draws from filled_ on
};

}  // namespace pass
