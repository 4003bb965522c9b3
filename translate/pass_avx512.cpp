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
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

#include <immintrin.h>

#include "rand_walk.h"

#define ZORKEL_AVX512                                         \
  __attribute__((                                             \
      target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi," \
             "avx512vbmi2,bmi,bmi2,popcnt")))

namespace pass {

namespace {

// The walk's next index in one instruction: BEXTR (BMI1, which this path
// requires) takes the bit field whose start and length the table entry
// gives. Written as the instruction itself so that it inlines into the walk,
// whose code carries no target attributes.
struct BextrBitField {
  template <unsigned kBits>
  static std::uint64_t Take(std::uint64_t window, std::uint32_t entry) {
    std::uint64_t field;
    __asm__("bextrq %2, %1, %0"
            : "=r"(field)
            : "r"(window), "r"(std::uint64_t{entry}));
    return field;
  }
};

// What the batch code keeps in registers.
struct Consts {
  __m512i iota;                 // byte i: i
  __m512i inQword;              // byte i: i % 8
  __m512i qwordStart;           // shuffle control: byte i to byte i - i % 8
  __m512i halfFlag;             // 0x40 in the upper 32 bytes
  __m512i firstLow, firstHigh;  // Tables::vectorFirst
  __m512i countLow, countHigh;  // Tables::vectorCount
  __m512i alternatives;
  __m512i sixteenMul, sixteenAdd;  // dword i: 16 * i draws
  __m512i unitMul, unitAdd;        // dword i: i draws
  __m512i divMul, divShift;
  // Rebuilding first draws from step indices (StepFirsts).
  __m512i threeBits;   // byte s: 3 * s, a bit offset for multishift
  __m512i hardFirsts;  // byte 3s + b: where StepFirsts finds it
  __m512i randFirsts;  // byte 4s + b: the same for 4-byte steps
};

ZORKEL_AVX512 Consts LoadConsts(const Tables& t) {
  Consts k;
  alignas(64) std::uint8_t bytes[64];
  for (int i = 0; i < 64; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  k.iota = _mm512_load_si512(bytes);
  k.inQword = _mm512_set1_epi64(0x0706050403020100);
  k.qwordStart = _mm512_set4_epi32(0x08080808, 0x08080808, 0, 0);
  k.halfFlag = _mm512_maskz_set1_epi8(~std::uint64_t{0} << 32, 0x40);
  k.firstLow = _mm512_load_si512(t.vectorFirst);
  k.firstHigh = _mm512_load_si512(t.vectorFirst + 64);
  k.countLow = _mm512_load_si512(t.vectorCount);
  k.countHigh = _mm512_load_si512(t.vectorCount + 64);
  k.alternatives = _mm512_load_si512(t.vectorAlternatives);
  alignas(64) std::uint32_t dwords[16];
  for (int i = 0; i < 16; ++i) dwords[i] = t.jumpMul[16 * i];
  k.sixteenMul = _mm512_load_si512(dwords);
  for (int i = 0; i < 16; ++i) dwords[i] = t.jumpAdd[16 * i];
  k.sixteenAdd = _mm512_load_si512(dwords);
  k.unitMul = _mm512_loadu_si512(t.jumpMul);
  k.unitAdd = _mm512_loadu_si512(t.jumpAdd);
  k.divMul = _mm512_load_si512(t.divMul);
  k.divShift = _mm512_load_si512(t.divShift);
  for (int i = 0; i < 64; ++i) bytes[i] = static_cast<std::uint8_t>(3 * i);
  k.threeBits = _mm512_load_si512(bytes);
  // StepFirsts packs two word vectors into bytes 2s, 2s + 1 of one source
  // and two more (or one) into the other, at 64 + 2s (+ 1).
  for (int j = 0; j < 63; ++j) {
    const int s = j / 3, b = j % 3;
    bytes[j] = static_cast<std::uint8_t>(b == 2 ? 64 + 2 * s : 2 * s + b);
  }
  bytes[63] = 2 * kRandHardSteps;
  k.hardFirsts = _mm512_load_si512(bytes);
  for (int j = 0; j < 64; ++j) {
    const int s = j / 4, b = j % 4;
    bytes[j] = static_cast<std::uint8_t>((b >= 2 ? 64 : 0) + 2 * s + b % 2);
  }
  k.randFirsts = _mm512_load_si512(bytes);
  return k;
}

// Letters in the case their bit asks for (set: lower), other bytes as they
// are.
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

// Byte j gets the parity of draws first[j] .. first[j] + 7 in its bits 0..7,
// where first[j] counts from the batch's first draw, at cycle position
// `cycle`. Each 8-byte group reads a 64-bit stretch of Tables::parity that
// starts at its first byte's draw; the lower and upper 32 bytes read from
// separate 64-byte windows of the table, since a batch's draws may span
// more than 64 bytes of it.
ZORKEL_AVX512 inline __m512i ParityBytes(const Consts& k, const Tables& t,
                                         std::uint32_t cycle,
                                         std::uint32_t upperFirst,
                                         __m512i first) {
  const std::uint32_t upperCycle = cycle + upperFirst;
  const __m512i window0 = _mm512_loadu_si512(t.parity + cycle / 8);
  const __m512i window1 = _mm512_loadu_si512(t.parity + upperCycle / 8);
  // Bit positions in the half's window (below 132).
  const __m512i at = _mm512_add_epi8(
      first,
      _mm512_mask_set1_epi8(_mm512_set1_epi8(static_cast<char>(cycle % 8)),
                            ~std::uint64_t{0} << 32,
                            static_cast<char>(upperCycle % 8 - upperFirst)));
  const __m512i groupAt = _mm512_shuffle_epi8(at, k.qwordStart);
  // The window byte each group's stretch starts at, plus 64 in the upper
  // half to pick window1, plus the byte's place in its qword.
  const __m512i groupByte = _mm512_ternarylogic_epi32(
      _mm512_srli_epi16(groupAt, 3), _mm512_set1_epi8(0x1F), k.halfFlag, 0xEA);
  const __m512i stretch = _mm512_permutex2var_epi8(
      window0, _mm512_add_epi8(groupByte, k.inQword), window1);
  const __m512i offset = _mm512_sub_epi8(
      at, _mm512_and_si512(groupAt, _mm512_set1_epi8(char(0xF8))));
  return _mm512_multishift_epi64_epi8(offset, stretch);
}

ZORKEL_AVX512 inline __mmask64 Bit(__m512i bytes, int bit) {
  return _mm512_test_epi8_mask(bytes, _mm512_set1_epi8(char(1 << bit)));
}

// The states after draw d (0..255, counted from the batch's first draw) for
// the 16 bytes of `draws`. `bases` holds the states after draw 16 * i for
// i = 0..15, and d is split into 16 * (d / 16) + d % 16.
ZORKEL_AVX512 inline __m512i StatesAfter(const Consts& k, __m128i draws,
                                         __m512i bases) {
  const __m512i d = _mm512_cvtepu8_epi32(draws);
  const __m512i base = _mm512_permutexvar_epi32(_mm512_srli_epi32(d, 4), bases);
  // permutexvar reads only the low 4 bits of each index.
  return _mm512_add_epi32(
      _mm512_mullo_epi32(_mm512_permutexvar_epi32(d, k.unitMul), base),
      _mm512_permutexvar_epi32(d, k.unitAdd));
}

// value % count for 16 bytes, from their draws and counts, where value is
// bits 16..30 of the state after the draw.
ZORKEL_AVX512 inline __m128i Remainders16(const Consts& k, __m512i bases,
                                          __m128i draws, __m128i counts) {
  const __m512i value =
      _mm512_and_si512(_mm512_srli_epi32(StatesAfter(k, draws, bases), 16),
                       _mm512_set1_epi32(0x7FFF));
  const __m512i n = _mm512_cvtepu8_epi32(counts);
  const __m512i quotient = _mm512_srlv_epi32(
      _mm512_mullo_epi32(value, _mm512_permutexvar_epi32(n, k.divMul)),
      _mm512_permutexvar_epi32(n, k.divShift));
  return _mm512_cvtepi32_epi8(
      _mm512_sub_epi32(value, _mm512_mullo_epi32(quotient, n)));
}

// For the bytes in `full`, whose rows have three or more alternatives and so
// need the whole value of their look-alike draw first[j] + kDraw, the
// remainder that picks the alternative; 0 for other bytes. The bytes are
// gathered to the front, 16 at a time (rarely more than 16 in a batch), and
// spread back.
template <unsigned kDraw>
ZORKEL_AVX512 inline __m512i FullRemainders(const Consts& k, __mmask64 full,
                                            __m512i first, __m512i count,
                                            std::uint32_t state) {
  const std::uint32_t afterOne = state * kMultiplier + kIncrement;
  const __m512i bases = _mm512_add_epi32(
      _mm512_mullo_epi32(k.sixteenMul,
                         _mm512_set1_epi32(static_cast<int>(afterOne))),
      k.sixteenAdd);
  const __m512i draws = _mm512_maskz_compress_epi8(
      full, _mm512_add_epi8(first, _mm512_set1_epi8(kDraw)));
  const __m512i counts = _mm512_maskz_compress_epi8(full, count);
  const __m128i front = Remainders16(k, bases, _mm512_castsi512_si128(draws),
                                     _mm512_castsi512_si128(counts));
  const unsigned n =
      static_cast<unsigned>(_mm_popcnt_u64(_cvtmask64_u64(full)));
  if (n <= 16)
    return _mm512_maskz_expand_epi8(full, _mm512_castsi128_si512(front));

  alignas(64) std::uint8_t d[64], c[64], remainders[64];
  _mm512_store_si512(d, draws);
  _mm512_store_si512(c, counts);
  _mm_store_si128(reinterpret_cast<__m128i*>(remainders), front);
  for (unsigned g = 16; g < n; g += 16) {
    _mm_store_si128(
        reinterpret_cast<__m128i*>(remainders + g),
        Remainders16(k, bases,
                     _mm_load_si128(reinterpret_cast<const __m128i*>(d + g)),
                     _mm_load_si128(reinterpret_cast<const __m128i*>(c + g))));
  }
  return _mm512_maskz_expand_epi8(full, _mm512_load_si512(remainders));
}

// Byte s: bits 3s..3s+2 of `eligible`, the look-alike flags of step s of
// the Rand-mode walk in Hard mode.
ZORKEL_AVX512 inline __m512i StepFlags(const Consts& k,
                                       std::uint64_t eligible) {
  return _mm512_and_si512(
      _mm512_multishift_epi64_epi8(
          k.threeBits, _mm512_set1_epi64(static_cast<long long>(eligible))),
      _mm512_set1_epi8(7));
}

// StepRows() for the walk: word s is step s's row offset.
ZORKEL_AVX512 inline void StepRowsVector(const Consts& k,
                                         std::uint64_t eligible,
                                         std::uint16_t* rows) {
  _mm512_store_si512(
      rows,
      _mm512_slli_epi16(
          _mm512_cvtepu8_epi16(_mm512_castsi512_si256(StepFlags(k, eligible))),
          kRandHardStepBits));
}

// Sums of words 0..i-1 of `v` in word i, for sums below 2^16: within each
// qword by a multiply, across qwords in 3 steps.
ZORKEL_AVX512 inline __m512i ExclusiveSums(__m512i v) {
  const __m512i perQword = _mm512_set1_epi64(0x0001000100010001);
  const __m512i zero = _mm512_setzero_si512();
  const __m512i inclusive = _mm512_mullo_epi64(v, perQword);
  __m512i sums = _mm512_alignr_epi64(_mm512_srli_epi64(inclusive, 48), zero, 7);
  sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 7));
  sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 6));
  sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 4));
  return _mm512_add_epi16(_mm512_sub_epi16(inclusive, v),
                          _mm512_mullo_epi64(sums, perQword));
}

// The first draw of each byte of a batch, counted from the batch's first
// draw, from the walk's step indices (RandWalk::Batch): within a step, byte
// b + 1 starts 2 draws after byte b, one more when b's coin (the index bit
// where b starts) is odd, and in Hard mode one more again when b also has
// look-alikes. Each word lane takes one step; a prefix sum places the steps.
template <bool kHard>
ZORKEL_AVX512 inline __m512i StepFirsts(const Consts& k,
                                        const std::uint16_t* steps,
                                        std::uint64_t eligible) {
  const __m512i index = _mm512_load_si512(steps);
  const __m512i one = _mm512_set1_epi16(1);
  const __m512i two = _mm512_set1_epi16(2);
  if constexpr (kHard) {
    const __m512i flags =
        _mm512_cvtepu8_epi16(_mm512_castsi512_si256(StepFlags(k, eligible)));
    // 2 + (coin << flag): 2, 3, or 4 with a look-alike draw.
    auto next = [&](__m512i at, int b) ZORKEL_AVX512 {
      const __m512i coin = _mm512_and_si512(_mm512_srlv_epi16(index, at), one);
      const __m512i flag = _mm512_and_si512(_mm512_srli_epi16(flags, b), one);
      return _mm512_add_epi16(_mm512_add_epi16(at, two),
                              _mm512_sllv_epi16(coin, flag));
    };
    const __m512i second = next(_mm512_setzero_si512(), 0);
    const __m512i third = next(second, 1);
    const __m512i sums = ExclusiveSums(next(third, 2));
    const __m512i low = _mm512_or_si512(
        sums, _mm512_slli_epi16(_mm512_add_epi16(sums, second), 8));
    return _mm512_permutex2var_epi8(low, k.hardFirsts,
                                    _mm512_add_epi16(sums, third));
  } else {
    auto next = [&](__m512i at) ZORKEL_AVX512 {
      return _mm512_add_epi16(
          _mm512_add_epi16(at, two),
          _mm512_and_si512(_mm512_srlv_epi16(index, at), one));
    };
    const __m512i second = next(_mm512_setzero_si512());
    const __m512i third = next(second);
    const __m512i fourth = next(third);
    const __m512i sums = ExclusiveSums(next(fourth));
    const __m512i low = _mm512_or_si512(
        sums, _mm512_slli_epi16(_mm512_add_epi16(sums, second), 8));
    const __m512i high =
        _mm512_or_si512(_mm512_add_epi16(sums, third),
                        _mm512_slli_epi16(_mm512_add_epi16(sums, fourth), 8));
    return _mm512_permutex2var_epi8(low, k.randFirsts, high);
  }
}

// Writes one batch in four stages, so that in Rand mode the stages can run
// between the step groups of the next batch's walk (RandWalk::Batch), where
// the processor would otherwise wait.
template <bool kRand, bool kHard>
class BatchWriter {
 public:
  BatchWriter(const Consts& k, const Tables& t) : k_(k), t_(t) {}

  // The batch to write: byte j of `first` is byte j's first draw counted
  // from the batch's first draw, which has cycle position `cycle`; `state`
  // is the state before it.
  ZORKEL_AVX512 void Start(std::uint32_t cycle, std::uint32_t state,
                           __m512i first, __m512i in, Keys keys, char* text) {
    cycle_ = cycle;
    state_ = state;
    first_ = first;
    in_ = in;
    keys_ = keys;
    text_ = text;
  }

  // As Start, with the first draws still to be found from the walk's step
  // indices, in stage 0.
  ZORKEL_AVX512 void StartFromSteps(std::uint32_t cycle, std::uint32_t state,
                                    const std::uint16_t* steps, __m512i in,
                                    Keys keys, char* text) {
    Start(cycle, state, _mm512_setzero_si512(), in, keys, text);
    steps_ = steps;
  }

  // Stage 0..3; other numbers do nothing.
  ZORKEL_AVX512 void operator()(unsigned stage) {
    constexpr unsigned kLookalikeDraw = kRand ? 3 : 1;
    switch (stage) {
      case 0: {
        if (steps_) {
          first_ =
              StepFirsts<kHard>(k_, steps_, _cvtmask64_u64(keys_.eligible));
          steps_ = nullptr;
        }
        const std::uint32_t upperFirst = static_cast<std::uint32_t>(
            _mm_extract_epi8(_mm512_extracti32x4_epi32(first_, 2), 0));
        parity_ = ParityBytes(k_, t_, cycle_, upperFirst, first_);
        break;
      }
      case 1: {
        __mmask64 lower = Bit(parity_, 0);
        replaced_ = keys_.eligible;
        if constexpr (kRand) {
          const __mmask64 coin = Bit(parity_, 1);
          lower = (coin & Bit(parity_, 2)) | (~coin & lower);
          replaced_ &= coin;
        }
        out_ = ApplyCase(in_, lower);
        if constexpr (kHard) {
          // The look-alike draw comes after the case draw, or after case,
          // coin and case in Rand mode. A row of one alternative needs
          // nothing of it, a row of two only its parity.
          count_ = _mm512_permutex2var_epi8(k_.countLow, in_, k_.countHigh);
          const __mmask64 odd =
              _mm512_cmpeq_epi8_mask(count_, _mm512_set1_epi8(2)) &
              Bit(parity_, kLookalikeDraw);
          index_ = _mm512_mask_add_epi8(keys_.first, odd, keys_.first,
                                        _mm512_set1_epi8(1));
          full_ =
              replaced_ & _mm512_cmpgt_epu8_mask(count_, _mm512_set1_epi8(2));
        }
        break;
      }
      case 2:
        if constexpr (kHard) {
          if (full_) {
            index_ =
                _mm512_add_epi8(index_, FullRemainders<kLookalikeDraw>(
                                            k_, full_, first_, count_, state_));
          }
        }
        break;
      case 3:
        if constexpr (kHard) {
          out_ = _mm512_mask_mov_epi8(
              out_, replaced_,
              _mm512_permutexvar_epi8(index_, k_.alternatives));
        }
        _mm512_storeu_si512(text_, out_);
        break;
      default:
        break;
    }
  }

  ZORKEL_AVX512 void Finish() {
    for (unsigned stage = 0; stage < 4; ++stage) (*this)(stage);
  }

 private:
  const Consts& k_;
  const Tables& t_;
  std::uint32_t cycle_ = 0;
  std::uint32_t state_ = 0;
  const std::uint16_t* steps_ = nullptr;
  __m512i first_, in_, parity_, out_, index_, count_;
  Keys keys_;
  char* text_ = nullptr;
  __mmask64 replaced_ = 0, full_ = 0;
};

// The walk of batch b + 1 runs while batch b is written: the writer's
// stages go between the walk's step groups. Everything is inlined into the
// loop (flatten), so that the stages and the walk share one schedule.
template <bool kHard>
ZORKEL_AVX512 __attribute__((flatten)) std::uint32_t RandBatches(
    const Tables& t, std::uint32_t state, std::uint32_t cycle, char* text,
    std::size_t batches) {
  const Consts k = LoadConsts(t);
  RandWalk walk(t, cycle);
  BatchWriter<true, kHard> writer(k, t);
  // Room for 32 words; the words past the batch's steps are never used.
  alignas(64) std::uint16_t steps[2][32] = {};
  alignas(64) std::uint16_t rows[32] = {};
  __m512i in = _mm512_loadu_si512(text);
  Keys keys{0, _mm512_setzero_si512()};
  if constexpr (kHard) {
    keys = FindKeys(k, in);
    StepRowsVector(k, _cvtmask64_u64(keys.eligible), rows);
  }
  std::uint32_t draws = walk.Batch<kHard, BextrBitField>(
      _cvtmask64_u64(keys.eligible), rows, steps[0]);
  std::uint32_t before = 0;
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    writer.StartFromSteps((cycle + before) & kCycleMask, state, steps[b % 2],
                          in, keys, text);
    before += draws;
    if constexpr (kHard) state = t.jumpMul[draws] * state + t.jumpAdd[draws];
    if (b + 1 < batches) {
      in = _mm512_loadu_si512(text + kBatchBytes);
      if constexpr (kHard) {
        keys = FindKeys(k, in);
        StepRowsVector(k, _cvtmask64_u64(keys.eligible), rows);
      }
      draws = walk.Batch<kHard, BextrBitField>(
          _cvtmask64_u64(keys.eligible), rows, steps[(b + 1) % 2], writer);
    } else {
      writer.Finish();
    }
  }
  return kHard ? state : Jump(t, state, walk.draws());
}

ZORKEL_AVX512 __attribute__((flatten)) std::uint32_t HardBatches(
    const Tables& t, std::uint32_t state, std::uint32_t cycle, char* text,
    std::size_t batches) {
  const Consts k = LoadConsts(t);
  BatchWriter<false, true> writer(k, t);
  const __m512i zero = _mm512_setzero_si512();
  const __m512i perQword = _mm512_set1_epi64(0x0101010101010101);
  for (std::size_t b = 0; b < batches; ++b, text += kBatchBytes) {
    const __m512i in = _mm512_loadu_si512(text);
    const Keys keys = FindKeys(k, in);
    // Byte j's draw comes after one draw for every byte before it and one
    // more for every byte before it with look-alikes: j plus a prefix sum,
    // taken within each qword by a multiply and across qwords in 3 steps.
    const __m512i ones = _mm512_maskz_set1_epi8(keys.eligible, 1);
    const __m512i inclusive = _mm512_mullo_epi64(ones, perQword);
    __m512i sums =
        _mm512_alignr_epi64(_mm512_srli_epi64(inclusive, 56), zero, 7);
    sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 7));
    sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 6));
    sums = _mm512_add_epi64(sums, _mm512_alignr_epi64(sums, zero, 4));
    const __m512i draws = _mm512_add_epi8(
        _mm512_add_epi8(k.iota, _mm512_sub_epi8(inclusive, ones)),
        _mm512_shuffle_epi8(sums, k.qwordStart));
    writer.Start(cycle, state, draws, in, keys, text);
    writer.Finish();
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
         __builtin_cpu_supports("avx512vbmi2") &&
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
