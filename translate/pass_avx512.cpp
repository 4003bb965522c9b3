// The fast pass with AVX-512 on x86-64: the same draw walk as the portable
// path, then each 64-byte batch in a few dozen vector instructions.
//
// Only the functions marked ZORKEL_AVX512 use the wider instruction set, and
// they run only after Avx512Supported() has said yes; the rest of the program
// stays plain x86-64.
#include "pass_kernels.h"

#if ZORKEL_HAVE_AVX512_PATH

#if defined(__GNUC__) && !defined(__clang__)
// GCC 12's AVX-512 intrinsics start some results from a deliberately
// undefined vector and then warn about it when inlined (GCC bug 105593).
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

#include "rand_walk.h"

#define ZORKEL_AVX512                                                    \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi," \
                        "bmi,bmi2,popcnt")))

namespace pass {

namespace {

// Everything the batch code keeps in registers.
struct Consts {
  __m512i bitOf;       // byte i: 1 << (i % 8)
  __m512i iota;        // byte i: i
  __m512i halfFlag;    // 0x40 in the upper 32 bytes
  __m512i firstLow, firstHigh;  // Tables::vectorFirst
  __m512i countLow, countHigh;  // Tables::vectorCount
  __m512i alternatives;
  __m512i jumpMul[4], jumpAdd[4];  // 0..63 draws
  __m512i divMul, divShift;
  __m512i highWords;   // word i: 2 * i + 1
};

ZORKEL_AVX512 Consts LoadConsts(const Tables& t) {
  Consts k;
  alignas(64) std::uint8_t bytes[64];
  for (int i = 0; i < 64; ++i) bytes[i] = static_cast<std::uint8_t>(1u << (i % 8));
  k.bitOf = _mm512_load_si512(bytes);
  for (int i = 0; i < 64; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  k.iota = _mm512_load_si512(bytes);
  k.halfFlag = _mm512_maskz_set1_epi8(~std::uint64_t{0} << 32, 0x40);
  k.firstLow = _mm512_load_si512(t.vectorFirst);
  k.firstHigh = _mm512_load_si512(t.vectorFirst + 64);
  k.countLow = _mm512_load_si512(t.vectorCount);
  k.countHigh = _mm512_load_si512(t.vectorCount + 64);
  k.alternatives = _mm512_load_si512(t.vectorAlternatives);
  for (int i = 0; i < 4; ++i) {
    k.jumpMul[i] = _mm512_loadu_si512(t.jumpMul + 16 * i);
    k.jumpAdd[i] = _mm512_loadu_si512(t.jumpAdd + 16 * i);
  }
  k.divMul = _mm512_load_si512(t.divMul);
  k.divShift = _mm512_load_si512(t.divShift);
  alignas(64) std::uint16_t words[32];
  for (int i = 0; i < 32; ++i) words[i] = static_cast<std::uint16_t>(2 * i + 1);
  k.highWords = _mm512_load_si512(words);
  return k;
}

// Letters in the case their parity bit asks for (set: lower), other bytes as
// they are.
ZORKEL_AVX512 inline __m512i ApplyCase(__m512i in, __mmask64 lower) {
  const __m512i lowered = _mm512_or_si512(in, _mm512_set1_epi8(0x20));
  const __m512i raised = _mm512_and_si512(in, _mm512_set1_epi8(char(0xDF)));
  const __mmask64 letter = _mm512_cmplt_epu8_mask(
      _mm512_sub_epi8(lowered, _mm512_set1_epi8('a')), _mm512_set1_epi8(26));
  const __m512i out = _mm512_mask_mov_epi8(in, letter & ~lower, raised);
  return _mm512_mask_mov_epi8(out, letter & lower, lowered);
}

// Which bytes have look-alikes, and for those the index of their row's first
// alternative in Consts::alternatives.
struct Keys {
  __mmask64 eligible;
  __m512i first;
};

ZORKEL_AVX512 inline Keys FindKeys(const Consts& k, __m512i in) {
  const __m512i first = _mm512_permutex2var_epi8(k.firstLow, in, k.firstHigh);
  // Bit 7 is set in a byte from 80 up and in the entry of a byte that is
  // no key.
  return {~_mm512_movepi8_mask(_mm512_or_si512(first, in)), first};
}

// The parity of draw first[j] + kOffset for each byte j, where first[j]
// counts from the batch's first draw. `window0` holds the parity bits from
// byte `cycle / 8` of Tables::parity, `window1` those for the upper half of
// the batch; `rebase` moves first[] to bit positions in them.
template <unsigned kOffset>
ZORKEL_AVX512 inline __mmask64 ParityAt(const Consts& k, __m512i bitIndex,
                                        __m512i window0, __m512i window1) {
  const __m512i at = _mm512_add_epi8(bitIndex, _mm512_set1_epi8(kOffset));
  // (at / 8) & 31, with 64 added in the upper half to pick window1.
  const __m512i byteIndex = _mm512_ternarylogic_epi32(
      _mm512_srli_epi16(at, 3), _mm512_set1_epi8(0x1F), k.halfFlag, 0xEA);
  const __m512i bytes = _mm512_permutex2var_epi8(window0, byteIndex, window1);
  return _mm512_test_epi8_mask(bytes, _mm512_permutexvar_epi8(at, k.bitOf));
}

// The states after draws first[16 * g + i] + kLookalikeDraw of the 16 bytes
// of group g (0..3), as 16 dwords. `rel` holds each byte's draw minus the
// draw of its group's first byte.
template <int kGroup>
ZORKEL_AVX512 inline __m512i GroupStates(const Consts& k, const Tables& t,
                                         __m512i rel, std::uint32_t baseSteps,
                                         std::uint32_t state) {
  const __m512i r = _mm512_cvtepu8_epi32(_mm512_extracti32x4_epi32(rel, kGroup));
  const __mmask16 upper = _mm512_test_epi32_mask(r, _mm512_set1_epi32(32));
  const __m512i mul = _mm512_mask_mov_epi32(
      _mm512_permutex2var_epi32(k.jumpMul[0], r, k.jumpMul[1]), upper,
      _mm512_permutex2var_epi32(k.jumpMul[2], r, k.jumpMul[3]));
  const __m512i add = _mm512_mask_mov_epi32(
      _mm512_permutex2var_epi32(k.jumpAdd[0], r, k.jumpAdd[1]), upper,
      _mm512_permutex2var_epi32(k.jumpAdd[2], r, k.jumpAdd[3]));
  const std::uint32_t base =
      t.jumpMul[baseSteps] * state + t.jumpAdd[baseSteps];
  return _mm512_add_epi32(
      _mm512_mullo_epi32(mul, _mm512_set1_epi32(static_cast<int>(base))), add);
}

// v % n for 32 words, v below 2^15; n == 0 gives any value.
ZORKEL_AVX512 inline __m512i Remainder(const Consts& k, __m512i v, __m512i n) {
  const __m512i q = _mm512_srlv_epi16(
      _mm512_mulhi_epu16(v, _mm512_permutexvar_epi16(n, k.divMul)),
      _mm512_permutexvar_epi16(n, k.divShift));
  const __m512i r = _mm512_sub_epi16(v, _mm512_mullo_epi16(q, n));
  return _mm512_min_epu16(r, _mm512_sub_epi16(n, _mm512_set1_epi16(1)));
}

// Writes one batch. first[j] is byte j's first draw counted from the batch's
// first draw, which has cycle position `cycle`; `state` is the state before
// it. `replaced` (Hard mode) are the bytes that become a look-alike.
template <bool kRand, bool kHard>
ZORKEL_AVX512 inline void FinishBatch(const Consts& k, const Tables& t,
                                      std::uint32_t cycle, std::uint32_t state,
                                      const std::uint8_t* firstDraws,
                                      __m512i in, Keys keys, char* text) {
  const __m512i first = _mm512_loadu_si512(firstDraws);
  const std::uint32_t upperCycle = cycle + firstDraws[32];
  const __m512i window0 = _mm512_loadu_si512(t.parity + cycle / 8);
  const __m512i window1 = _mm512_loadu_si512(t.parity + upperCycle / 8);
  const __m512i rebase = _mm512_mask_set1_epi8(
      _mm512_set1_epi8(static_cast<char>(cycle % 8)), ~std::uint64_t{0} << 32,
      static_cast<char>(upperCycle % 8 - firstDraws[32]));
  const __m512i bitIndex = _mm512_add_epi8(first, rebase);

  __mmask64 lower = ParityAt<0>(k, bitIndex, window0, window1);
  __mmask64 replaced = keys.eligible;
  if constexpr (kRand) {
    const __mmask64 coin = ParityAt<1>(k, bitIndex, window0, window1);
    const __mmask64 second = ParityAt<2>(k, bitIndex, window0, window1);
    lower = (coin & second) | (~coin & lower);
    replaced &= coin;
  }
  __m512i out = ApplyCase(in, lower);

  if constexpr (kHard) {
    if (replaced) {
      constexpr unsigned kLookalikeDraw = kRand ? 3 : 1;
      const __m512i draw =
          _mm512_add_epi8(first, _mm512_set1_epi8(kLookalikeDraw));
      // Each 16-byte group counts from the look-alike draw of its first byte.
      const __m512i rel =
          _mm512_sub_epi8(draw, _mm512_shuffle_epi8(draw, _mm512_setzero_si512()));
      const std::uint32_t steps = kLookalikeDraw + 1;
      const __m512i s0 =
          GroupStates<0>(k, t, rel, firstDraws[0] + steps, state);
      const __m512i s1 =
          GroupStates<1>(k, t, rel, firstDraws[16] + steps, state);
      const __m512i s2 =
          GroupStates<2>(k, t, rel, firstDraws[32] + steps, state);
      const __m512i s3 =
          GroupStates<3>(k, t, rel, firstDraws[48] + steps, state);
      const __m512i valueMask = _mm512_set1_epi16(0x7FFF);
      const __m512i v01 = _mm512_and_si512(
          _mm512_permutex2var_epi16(s0, k.highWords, s1), valueMask);
      const __m512i v23 = _mm512_and_si512(
          _mm512_permutex2var_epi16(s2, k.highWords, s3), valueMask);
      const __m512i count =
          _mm512_permutex2var_epi8(k.countLow, in, k.countHigh);
      const __m512i r01 = Remainder(
          k, v01, _mm512_cvtepu8_epi16(_mm512_castsi512_si256(count)));
      const __m512i r23 = Remainder(
          k, v23, _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(count, 1)));
      const __m512i r = _mm512_inserti64x4(
          _mm512_castsi256_si512(_mm512_cvtepi16_epi8(r01)),
          _mm512_cvtepi16_epi8(r23), 1);
      const __m512i look = _mm512_permutexvar_epi8(
          _mm512_add_epi8(keys.first, r), k.alternatives);
      out = _mm512_mask_mov_epi8(out, replaced, look);
    }
  }
  _mm512_storeu_si512(text, out);
}

template <bool kHard>
ZORKEL_AVX512 std::uint32_t RandBatches(const Tables& t, std::uint32_t state,
                                        std::uint32_t cycle, char* text,
                                        std::size_t batches) {
  const Consts k = LoadConsts(t);
  RandWalk walk(t, cycle);
  alignas(64) std::uint8_t first[kBatchBytes];
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    const __m512i in = _mm512_loadu_si512(text);
    Keys keys{0, _mm512_setzero_si512()};
    if constexpr (kHard) keys = FindKeys(k, in);
    const std::uint32_t before = walk.draws();
    const std::uint32_t draws =
        walk.Batch<kHard>(_cvtmask64_u64(keys.eligible), first);
    FinishBatch<true, kHard>(k, t, (cycle + before) & kCycleMask, state, first,
                             in, keys, text);
    if constexpr (kHard)
      state = t.jumpMul[draws] * state + t.jumpAdd[draws];
  }
  return kHard ? state : Jump(t, state, walk.draws());
}

ZORKEL_AVX512 std::uint32_t HardBatches(const Tables& t, std::uint32_t state,
                                        std::uint32_t cycle, char* text,
                                        std::size_t batches) {
  const Consts k = LoadConsts(t);
  const __m512i zero = _mm512_setzero_si512();
  const __m512i perQword = _mm512_set1_epi64(0x0101010101010101);
  // Per 128-bit lane: byte 0 to the lower 8 bytes, byte 8 to the upper 8.
  const __m512i spread = _mm512_set4_epi32(0x08080808, 0x08080808, 0, 0);
  alignas(64) std::uint8_t first[kBatchBytes];
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    const __m512i in = _mm512_loadu_si512(text);
    const Keys keys = FindKeys(k, in);
    // Byte j's draw comes after one draw for every byte before it and one
    // more for every byte before it with look-alikes: j plus a prefix sum.
    const __m512i ones = _mm512_maskz_set1_epi8(keys.eligible, 1);
    const __m512i inclusive = _mm512_mullo_epi64(ones, perQword);
    __m512i sums = _mm512_alignr_epi64(_mm512_srli_epi64(inclusive, 56), zero, 7);
    sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 7));
    sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 6));
    sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 4));
    const __m512i draws = _mm512_add_epi8(
        _mm512_add_epi8(k.iota, _mm512_sub_epi8(inclusive, ones)),
        _mm512_shuffle_epi8(sums, spread));
    _mm512_store_si512(first, draws);
    FinishBatch<false, true>(k, t, cycle, state, first, in, keys, text);
    const unsigned taken = static_cast<unsigned>(
        kBatchBytes + _mm_popcnt_u64(_cvtmask64_u64(keys.eligible)));
    state = t.jumpMul[taken] * state + t.jumpAdd[taken];
    cycle = (cycle + taken) & kCycleMask;
  }
  return state;
}

ZORKEL_AVX512 std::uint32_t CaseBatches(const Tables& t, std::uint32_t state,
                                        std::uint32_t cycle, char* text,
                                        std::size_t batches) {
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    const std::uint64_t bits =
        ParityBits64(t, cycle + static_cast<std::uint32_t>(b * kBatchBytes));
    _mm512_storeu_si512(
        text, ApplyCase(_mm512_loadu_si512(text), _cvtu64_mask64(bits)));
  }
  return Jump(t, state, std::uint64_t{batches} * kBatchBytes);
}

}  // namespace

bool Avx512Supported() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") &&
         __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl") &&
         __builtin_cpu_supports("avx512dq") &&
         __builtin_cpu_supports("avx512vbmi") &&
         __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
         __builtin_cpu_supports("popcnt");
}

ZORKEL_AVX512 std::uint32_t TranslateAvx512(const Tables& tables,
                                            std::uint32_t state, char* text,
                                            std::size_t batches, bool randMode,
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

#endif  // ZORKEL_HAVE_AVX512_PATH
