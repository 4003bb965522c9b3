// The fast pass in plain C++: the table-driven draw walk, then each byte of a
// batch from where its draws start. Runs anywhere; the vector paths must give
// the same bytes.
#include <bit>
#include <cstring>

#include "pass_kernels.h"
#include "rand_walk.h"

namespace pass {

namespace {

// A letter in the case the parity asks for (odd: lower), any other byte as
// it is.
inline unsigned char CaseByParity(unsigned char c, unsigned parity) {
  const bool letter = static_cast<unsigned char>((c | 0x20u) - 'a') < 26;
  return letter ? static_cast<unsigned char>((c & 0xDFu) | (parity << 5)) : c;
}

// The parity of the 4 draws from cycle position `at` (below 2^17 + 2^9).
inline unsigned FourParityBits(const Tables& t, std::uint32_t at) {
  const std::uint8_t* p = t.parity + at / 8;
  return ((p[0] | (unsigned{p[1]} << 8)) >> (at % 8)) & 0xFu;
}

std::uint64_t EligibleBytes(const Tables& t, const unsigned char* in) {
  std::uint64_t eligible = 0;
  for (std::size_t j = 0; j < kBatchBytes; ++j)
    eligible |= std::uint64_t{t.keyCount[in[j]] != 0} << j;
  return eligible;
}

// Writes one batch given the first draw of each byte. `cycle` is the cycle
// position and `state` the state before the batch's first draw.
template <bool kRand, bool kHard>
void FinishBatch(const Tables& t, std::uint32_t cycle, std::uint32_t state,
                 const std::uint8_t* first, std::uint64_t eligible,
                 char* text) {
  unsigned char in[kBatchBytes];
  std::memcpy(in, text, kBatchBytes);
  std::uint64_t replaced = 0;
  for (std::size_t j = 0; j < kBatchBytes; ++j) {
    const unsigned bits = FourParityBits(t, cycle + first[j]);
    // Without Rand mode there is no coin, and no second case draw.
    const unsigned coin = kRand ? (bits >> 1) & 1u : 1u;
    const unsigned parity = (bits >> (kRand ? 2 * coin : 0)) & 1u;
    text[j] = static_cast<char>(CaseByParity(in[j], parity));
    if constexpr (kHard)
      replaced |= std::uint64_t{coin & ((eligible >> j) & 1u)} << j;
  }
  if constexpr (kHard) {
    // The look-alike draw comes after the case draw, or after case, coin
    // and case in Rand mode.
    constexpr unsigned kLookalikeDraw = kRand ? 3 : 1;
    while (replaced) {
      const int j = std::countr_zero(replaced);
      replaced &= replaced - 1;
      const unsigned steps = first[j] + kLookalikeDraw + 1;
      const std::uint32_t value =
          DrawValue(t.jumpMul[steps] * state + t.jumpAdd[steps]);
      const unsigned char c = in[j];
      const std::uint32_t n = t.keyCount[c];
      const auto quotient =
          static_cast<std::uint32_t>((value * t.keyReciprocal[c]) >> 32);
      text[j] = t.keyAlternatives[c][value - quotient * n];
    }
  }
}

template <bool kHard>
std::uint32_t RandBatches(const Tables& t, std::uint32_t state,
                          std::uint32_t cycle, char* text,
                          std::size_t batches) {
  RandWalk walk(t, cycle);
  std::uint16_t rows[kRandHardSteps] = {};
  std::uint16_t steps[kRandHardSteps];
  std::uint8_t first[kBatchBytes];
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    const std::uint64_t eligible = kHard ? EligibleBytes(t, in) : 0;
    if constexpr (kHard) StepRows(eligible, rows);
    const std::uint32_t before = walk.draws();
    const std::uint32_t draws = walk.Batch<kHard>(eligible, rows, steps);
    FirstDraws<kHard>(t, steps, rows, first);
    FinishBatch<true, kHard>(t, (cycle + before) & kCycleMask, state, first,
                             eligible, text);
    if constexpr (kHard) state = t.jumpMul[draws] * state + t.jumpAdd[draws];
  }
  return kHard ? state : Jump(t, state, walk.draws());
}

std::uint32_t HardBatches(const Tables& t, std::uint32_t state,
                          std::uint32_t cycle, char* text,
                          std::size_t batches) {
  std::uint8_t first[kBatchBytes];
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    const std::uint64_t eligible = EligibleBytes(t, in);
    unsigned draw = 0;
    for (std::size_t j = 0; j < kBatchBytes; ++j) {
      first[j] = static_cast<std::uint8_t>(draw);
      draw += 1 + ((eligible >> j) & 1u);
    }
    FinishBatch<false, true>(t, cycle, state, first, eligible, text);
    state = t.jumpMul[draw] * state + t.jumpAdd[draw];
    cycle = (cycle + draw) & kCycleMask;
  }
  return state;
}

std::uint32_t CaseBatches(const Tables& t, std::uint32_t state,
                          std::uint32_t cycle, char* text,
                          std::size_t batches) {
  for (std::size_t b = 0; b < batches; ++b) {
    const std::uint64_t bits =
        ParityBits64(t, cycle + static_cast<std::uint32_t>(b * kBatchBytes));
    for (std::size_t j = 0; j < kBatchBytes; ++j, ++text) {
      *text = static_cast<char>(
          CaseByParity(static_cast<unsigned char>(*text), (bits >> j) & 1u));
    }
  }
  return Jump(t, state, std::uint64_t{batches} * kBatchBytes);
}

}  // namespace

std::uint32_t TranslatePortable(const Tables& tables, std::uint32_t state,
                                char* text, std::size_t batches, bool randMode,
                                bool hardMode) {
  const std::uint32_t cycle = CycleIndex(tables, state);
  if (randMode) {
    return hardMode ? RandBatches<true>(tables, state, cycle, text, batches)
                    : RandBatches<false>(tables, state, cycle, text, batches);
  }
  return hardMode ? HardBatches(tables, state, cycle, text, batches)
                  : CaseBatches(tables, state, cycle, text, batches);
}

}  // namespace pass
