// The walk over the draws in Rand mode, shared by every path of the fast
// pass. Internal to the translate library.
//
// In Rand mode a byte takes 2 draws when its coin (its second draw) is even,
// else 3, or 4 when Hard mode is on and the byte has look-alikes. Where each
// byte's draws start is therefore a chain: nothing about byte j is known until
// the coins before it are. The walk keeps the parity bits of the next draws in
// a 64-bit window and takes 3 or 4 bytes per table lookup.
#pragma once

#include <cstdint>
#include <utility>

#include "pass_tables.h"

namespace pass {

#if defined(__GNUC__)
#define ZORKEL_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define ZORKEL_ALWAYS_INLINE inline
#endif

// How the walk takes the next step's index out of its window: the bits from
// the step's draw count on (the low byte of `entry`), as many as the index
// has. A path may pass a faster way, such as one BEXTR instruction.
struct PlainBitField {
  template <unsigned kBits>
  static std::uint64_t Take(std::uint64_t window, std::uint32_t entry) {
    return (window >> (entry & 63u)) & ((std::uint64_t{1} << kBits) - 1);
  }
};

class RandWalk {
 public:
  struct NoWork {
    void operator()(unsigned) const {}
  };

  // `cycleStart` is the cycle position of the walk's first draw.
  RandWalk(const Tables& tables, std::uint32_t cycleStart)
      : tables_(tables),
        cycleStart_(cycleStart),
        at_{0, 65, ParityBits64(tables, cycleStart + 1),
            ParityBits64(tables, cycleStart + 65)} {}

  // Draws taken so far (mod 2^32).
  std::uint32_t draws() const { return at_.draw; }

  // Walks the next kBatchBytes bytes and returns the draws they take. Bit j
  // of `eligible` says whether byte j has look-alikes, and rows[s] is the
  // offset in Tables::randHardDraws of the row for step s's three bits of it
  // (StepRows); both are looked at in Hard mode only. steps[s] gets the
  // table index of step s: the parity of the draws from the coin of the
  // step's first byte on, from which FirstDraws() finds where each byte
  // starts. In Hard mode the batch takes 21 steps of 3 bytes and its last
  // byte starts where they end; otherwise 16 steps of 4 bytes.
  //
  // The walk's critical path is one table load per step and the taking of
  // the next index from the window (BitField::Take); the shift of the
  // window, the top-ups and the records wait on it without holding it up.
  // Few instructions wait on the path, so the processor can run ahead:
  // `between(g)` is called after the g-th group of 4 steps (g = 0..4 in Hard
  // mode, 0..3 otherwise), and work placed there, such as writing the
  // previous batch, fills the time the walk spends waiting.
  //
  // Always inlined, so that it is compiled for the instruction set of the
  // path that calls it.
  //
  // `steps` is written through a volatile pointer: plain stores, which the
  // compiler would otherwise gather into vector stores by moving each index
  // through a vector register and back, onto the critical path.
  template <bool kHard, typename BitField = PlainBitField,
            typename Between = NoWork>
  ZORKEL_ALWAYS_INLINE std::uint32_t Batch(std::uint64_t eligible,
                                           const std::uint16_t* rows,
                                           volatile std::uint16_t* steps,
                                           Between&& between = Between{}) {
    // A local copy: the stores into `steps` could alias the members, which
    // would keep the window in memory.
    Position at = at_;
    const Tables& t = tables_;
    const std::uint32_t cycleStart = cycleStart_;
    const std::uint32_t start = at.draw;
    // The window is topped up before the 4th step of each group: a step
    // takes at most 12 draws, so 3 steps later the window still holds the
    // 21 bits the next index may reach, and 4 steps take at least 24 draws
    // and at most 48.
    if constexpr (kHard) {
      static_assert(kBatchBytes == kRandHardSteps * kRandHardStepBytes + 1);
      constexpr unsigned kBits = kRandHardStepBits;
      std::uint64_t index = at.window & ((1u << kBits) - 1);
      auto step = [&](unsigned s, bool refill) {
        steps[s] = static_cast<std::uint16_t>(index);
        const std::uint32_t entry = Opaque(t.randHardDraws + rows[s])[index];
        if (refill) at.Refill(t, cycleStart);
        index = BitField::template Take<kBits>(at.window, entry);
        at.Advance(entry & kStepDrawsMask);
      };
      for (unsigned group = 0; group < 5; ++group) {
        FourSteps([&](unsigned s) { step(4 * group + s, s == 3); });
        between(group);
      }
      step(20, false);
      // The batch's last byte on its own.
      const std::uint64_t coin = at.window & 1u;
      const std::uint64_t taken = 2 + coin + (coin & (eligible >> 63));
      at.Refill(t, cycleStart);
      at.Advance(static_cast<std::uint32_t>(taken));
    } else {
      static_assert(kBatchBytes == kRandSteps * kRandStepBytes);
      constexpr unsigned kBits = kRandStepBits;
      std::uint64_t index = at.window & ((1u << kBits) - 1);
      for (unsigned group = 0; group < 4; ++group) {
        FourSteps([&](unsigned s) {
          steps[4 * group + s] = static_cast<std::uint16_t>(index);
          const std::uint32_t entry = t.randDraws[index];
          if (s == 3) at.Refill(t, cycleStart);
          index = BitField::template Take<kBits>(at.window, entry);
          at.Advance(entry & kStepDrawsMask);
        });
        between(group);
      }
    }
    at_ = at;
    return at.draw - start;
  }

 private:
  // Where the walk stands.
  struct Position {
    std::uint32_t draw;    // the current byte's first draw
    std::uint32_t filled;  // the first draw whose parity `window` lacks
    std::uint64_t window;  // parity of the draws from draw + 1 on
    std::uint64_t next;    // parity of at least 57 draws from `filled` on

    // Moves past `draws` draws (below 64).
    ZORKEL_ALWAYS_INLINE void Advance(std::uint32_t draws) {
      window >>= draws;
      draw += draws;
    }

    // Tops the window up to 64 bits. Called after at most 48 draws, and at
    // least one, since the last call, so that at least 16 bits are unread:
    // `next` needs only the 57 bits one 8-byte load gives.
    ZORKEL_ALWAYS_INLINE void Refill(const Tables& t,
                                     std::uint32_t cycleStart) {
      const std::uint32_t unread = filled - (draw + 1);
      window |= next << unread;
      filled = draw + 65;
      next = ParityBits57(t, cycleStart + filled);
    }
  };

  template <unsigned kCount, typename F>
  ZORKEL_ALWAYS_INLINE static void Steps(F&& f) {
    [&]<unsigned... S>(std::integer_sequence<unsigned, S...>) { (f(S), ...); }
    (std::make_integer_sequence<unsigned, kCount>{});
  }
  template <typename F>
  ZORKEL_ALWAYS_INLINE static void FourSteps(F&& f) {
    Steps<4>(f);
  }

  // Hides where a pointer comes from, so that the compiler does not fold the
  // table row into the index: that would put an extra instruction on the
  // walk's critical path.
  ZORKEL_ALWAYS_INLINE static const std::uint16_t* Opaque(
      const std::uint16_t* p) {
#if defined(__GNUC__)
    __asm__("" : "+r"(p));
#endif
    return p;
  }

  const Tables& tables_;
  std::uint32_t cycleStart_;
  Position at_;
};

// The table row of each Hard-mode step of a batch: its bytes' look-alike
// flags, as an offset into Tables::randHardDraws and randHardStep.
inline void StepRows(std::uint64_t eligible, std::uint16_t* rows) {
  for (unsigned s = 0; s < kRandHardSteps; ++s) {
    rows[s] = static_cast<std::uint16_t>(
        ((eligible >> (kRandHardStepBytes * s)) & 7u) << kRandHardStepBits);
  }
}

// Where each byte of a batch starts, from the walk's step indices: first[j]
// gets byte j's first draw counted from the batch's first draw.
template <bool kHard>
inline void FirstDraws(const Tables& t, const std::uint16_t* steps,
                       const std::uint16_t* rows, std::uint8_t* first) {
  std::uint32_t draw = 0;
  if constexpr (kHard) {
    for (unsigned s = 0; s < kRandHardSteps; ++s) {
      const std::uint32_t entry = t.randHardStep[rows[s] + steps[s]];
      for (unsigned b = 0; b < kRandHardStepBytes; ++b) {
        first[kRandHardStepBytes * s + b] = static_cast<std::uint8_t>(
            draw + (b ? (entry >> (8 * b)) & 0xFFu : 0));
      }
      draw += entry & kStepDrawsMask;
    }
    first[kBatchBytes - 1] = static_cast<std::uint8_t>(draw);
  } else {
    for (unsigned s = 0; s < kRandSteps; ++s) {
      const std::uint32_t entry = t.randStep[steps[s]];
      for (unsigned b = 0; b < kRandStepBytes; ++b) {
        first[kRandStepBytes * s + b] = static_cast<std::uint8_t>(
            draw + (b ? (entry >> (8 * b)) & 0xFFu : 0));
      }
      draw += entry & kStepDrawsMask;
    }
  }
}

}  // namespace pass
