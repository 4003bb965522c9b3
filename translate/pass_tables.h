// What the fast translation pass knows before it sees a text: facts about the
// generator's sequence and the look-alike table, laid out for quick lookups.
// Internal to the translate library.
//
// The pass leans on three properties of the generator:
//  - d draws turn a state s into A_d * s + C_d (mod 2^32), so the state at any
//    later draw is one multiply-add away;
//  - a draw's parity is bit 16 of the new state, and the low 17 bits of the
//    state run through one cycle of length 2^17; the parity of every draw is
//    therefore a bit of one fixed 2^17-bit string, read from the position of
//    the starting state in that cycle onwards;
//  - with Rand mode on, how many draws a byte takes depends only on the parity
//    of its second draw and on whether the byte has look-alikes, so the walk
//    over the draws can be taken several bytes at a time from a small table.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pass {

inline constexpr std::uint32_t kMultiplier = 214013u;
inline constexpr std::uint32_t kIncrement = 2531011u;

inline constexpr unsigned kCycleBits = 17;
inline constexpr std::uint32_t kCycleLength = 1u << kCycleBits;
inline constexpr std::uint32_t kCycleMask = kCycleLength - 1;

// The fast paths work on whole batches of this many bytes; what is left over
// at the end of a text goes through the reference pass.
inline constexpr std::size_t kBatchBytes = 64;
// A byte takes at most four draws: case, coin, case, look-alike.
inline constexpr std::size_t kMaxBatchDraws = 4 * kBatchBytes;

// Rand mode, Hard mode off: one step of the walk covers 4 bytes; its table
// index is the parity of the 10 draws from the first byte's coin on.
inline constexpr unsigned kRandStepBytes = 4;
inline constexpr unsigned kRandStepBits = 10;
inline constexpr unsigned kRandSteps = 16;
// Rand and Hard mode: one step covers 3 bytes; its index is the parity of 9
// draws as above, and which of the 3 bytes have look-alikes picks the row.
inline constexpr unsigned kRandHardStepBytes = 3;
inline constexpr unsigned kRandHardStepBits = 9;
inline constexpr unsigned kRandHardSteps = 21;

// A step's entry: the draws the step takes in the low byte, and in the
// bytes above it the first draw of the step's 2nd, 3rd (and 4th) byte,
// counted from the first draw of its 1st byte.
inline constexpr std::uint32_t kStepDrawsMask = 0xFF;

struct Tables {
  // Bit i (bit i % 8 of byte i / 8) is the parity of the draw made from
  // position i of the cycle of the low 17 state bits that starts at 0. The
  // bytes after the cycle repeat its start, so reads may run past its end.
  std::uint8_t parity[kCycleLength / 8 + 128];

  // d draws turn state s into jumpMul[d] * s + jumpAdd[d].
  std::uint32_t jumpMul[kMaxBatchDraws + 8];
  std::uint32_t jumpAdd[kMaxBatchDraws + 8];
  // The same for 2^i draws.
  std::uint32_t powerMul[32];
  std::uint32_t powerAdd[32];

  std::uint32_t randStep[1u << kRandStepBits];
  std::uint32_t randHardStep[1u << (kRandHardStepBits + kRandHardStepBytes)];
  // What the walk's critical path reads, in small tables that stay in the L1
  // cache: the draws a step takes in the low byte and, in the byte above, the
  // bits of an index, which makes the entry a BEXTR control word that takes
  // the next index out of the window.
  std::uint16_t randDraws[1u << kRandStepBits];
  std::uint16_t randHardDraws[1u << (kRandHardStepBits + kRandHardStepBytes)];

  // The look-alike table by input byte: the row's alternatives and their
  // count (0 for a byte that is no key), and ceil(2^32 / count), which turns
  // `draw % count` into a multiply and a shift for draws below 2^15.
  const char* keyAlternatives[256];
  std::uint32_t keyCount[256];
  std::uint64_t keyReciprocal[256];

  // The same for the vector paths, usable when `vectorTablesFit`: every key
  // below 0x80, at most 64 alternatives in all and at most 15 in a row.
  // vectorFirst[c] is the index in vectorAlternatives of key c's first
  // alternative, or 0x80 for a byte that is no key.
  bool vectorTablesFit;
  alignas(64) std::uint8_t vectorFirst[128];
  alignas(64) std::uint8_t vectorCount[128];
  alignas(64) std::uint8_t vectorAlternatives[64];
  // v / n == (v * divMul[n]) >> divShift[n] for every v below 2^15 and
  // 2 <= n <= 15, with the product below 2^32.
  alignas(64) std::uint32_t divMul[16];
  alignas(64) std::uint32_t divShift[16];
};

// Built on first use, once, in a thread-safe way.
const Tables& GetTables();

// The position of `state` in the cycle of its low 17 bits: the draw after
// `state` has the parity of bit CycleIndex(state) of Tables::parity.
std::uint32_t CycleIndex(const Tables& tables, std::uint32_t state);

// The state after `draws` draws from `state`.
std::uint32_t Jump(const Tables& tables, std::uint32_t state,
                   std::uint64_t draws);

// 64 parity bits from cycle position `index` (taken mod 2^17) on, the first
// in bit 0.
inline std::uint64_t ParityBits64(const Tables& tables, std::uint32_t index) {
  index &= kCycleMask;
  const std::uint8_t* p = tables.parity + index / 8;
  const unsigned shift = index % 8;
  std::uint64_t low = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&low, p, sizeof low);
  } else {
    for (int i = 7; i >= 0; --i) low = (low << 8) | p[i];
  }
  const std::uint64_t high = p[8];
  // The second shift pair is (high << 1) << (63 - shift) so that no shift
  // reaches 64 when `shift` is 0.
  return (low >> shift) | ((high << 1) << (63 - shift));
}

// At least 57 parity bits from cycle position `index` (taken mod 2^17) on,
// the first in bit 0, with zeros above them.
inline std::uint64_t ParityBits57(const Tables& tables, std::uint32_t index) {
  index &= kCycleMask;
  std::uint64_t bits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&bits, tables.parity + index / 8, sizeof bits);
  } else {
    for (int i = 7; i >= 0; --i)
      bits = (bits << 8) | tables.parity[index / 8 + i];
  }
  return bits >> (index % 8);
}

// The draw whose result decides the byte: the value (bits 16..30 of the
// state) of the state `state`.
inline std::uint32_t DrawValue(std::uint32_t state) {
  return (state >> 16) & 0x7FFFu;
}

}  // namespace pass
