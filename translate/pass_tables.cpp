// Building the fast pass's tables; see pass_tables.h.
#include "pass_tables.h"

#include <iterator>

#include "translate.h"

namespace pass {

namespace {

// The Rand-mode walk over `bytes` bytes from a byte's first draw: the first
// draw of each byte and, last, the draws all of them take. Bit i of `parity`
// is the parity of the draw i + 1 draws after the first byte's first draw
// (the first byte's coin is bit 0); bit t of `eligible` says whether byte t
// has look-alikes, which with Hard mode on costs a coin of 1 one more draw.
std::uint32_t StepEntry(unsigned bytes, std::uint32_t parity,
                        std::uint32_t eligible) {
  std::uint32_t entry = 0;
  std::uint32_t draw = 0;
  for (unsigned t = 0; t < bytes; ++t) {
    entry |= draw << (8 * t);
    const std::uint32_t coin = (parity >> draw) & 1u;
    draw += 2 + coin * (1 + ((eligible >> t) & 1u));
  }
  return entry | draw;
}

// Finds a multiplier below 2^16 and a shift that give v / n as
// (v * mul) >> shift for every v below 2^15, and checks them on every such v.
bool FindDivision(std::uint32_t n, std::uint32_t& mul, std::uint32_t& shift) {
  for (std::uint32_t s = 32; s-- > 16;) {
    const std::uint64_t power = std::uint64_t{1} << s;
    const std::uint64_t m = (power + n - 1) / n;
    if (m >= 0x10000u) continue;
    bool exact = true;
    for (std::uint32_t v = 0; v < 0x8000u && exact; ++v)
      exact = ((v * m) >> s) == v / n;
    if (!exact) continue;
    mul = static_cast<std::uint32_t>(m);
    shift = s;
    return true;
  }
  return false;
}

void BuildLookalikes(Tables& t) {
  for (int c = 0; c < 256; ++c) {
    t.keyAlternatives[c] = nullptr;
    t.keyCount[c] = 0;
    t.keyReciprocal[c] = 0;
  }
  // As in the reference pass, a later row with the same key wins.
  for (const LookalikeEntry& row : LookalikeTable) {
    const unsigned char key = ToLowerAscii(static_cast<unsigned char>(row.key));
    const std::size_t count = std::strlen(row.alternatives);
    t.keyAlternatives[key] = row.alternatives;
    t.keyCount[key] = static_cast<std::uint32_t>(count);
    t.keyReciprocal[key] =
        count ? ((std::uint64_t{1} << 32) + count - 1) / count : 0;
  }

  t.vectorTablesFit = true;
  std::size_t used = 0;
  for (int c = 0; c < 128; ++c) {
    t.vectorFirst[c] = 0x80;
    t.vectorCount[c] = 0;
  }
  for (std::uint32_t& m : t.divMul) m = 0;
  for (std::uint32_t& s : t.divShift) s = 0;
  for (int c = 0; c < 256; ++c) {
    const std::uint32_t count = t.keyCount[c];
    if (count == 0) continue;
    if (c >= 128 || count > 15 || used + count > sizeof t.vectorAlternatives) {
      t.vectorTablesFit = false;
      continue;
    }
    t.vectorFirst[c] = static_cast<std::uint8_t>(used);
    t.vectorCount[c] = static_cast<std::uint8_t>(count);
    for (std::uint32_t i = 0; i < count; ++i)
      t.vectorAlternatives[used++] =
          static_cast<std::uint8_t>(t.keyAlternatives[c][i]);
    if (count >= 2 && t.divMul[count] == 0 &&
        !FindDivision(count, t.divMul[count], t.divShift[count]))
      t.vectorTablesFit = false;
  }
  for (std::size_t i = used; i < sizeof t.vectorAlternatives; ++i)
    t.vectorAlternatives[i] = 0;
}

void BuildTables(Tables& t) {
  std::uint32_t x = 0;
  for (std::uint32_t i = 0; i < kCycleLength; ++i) {
    x = (x * kMultiplier + kIncrement) & kCycleMask;
    t.parity[i / 8] |= static_cast<std::uint8_t>(((x >> 16) & 1u) << (i % 8));
  }
  for (std::size_t i = kCycleLength / 8; i < sizeof t.parity; ++i)
    t.parity[i] = t.parity[i - kCycleLength / 8];

  t.jumpMul[0] = 1;
  t.jumpAdd[0] = 0;
  for (std::size_t d = 1; d < std::size(t.jumpMul); ++d) {
    t.jumpMul[d] = t.jumpMul[d - 1] * kMultiplier;
    t.jumpAdd[d] = t.jumpAdd[d - 1] * kMultiplier + kIncrement;
  }
  t.powerMul[0] = kMultiplier;
  t.powerAdd[0] = kIncrement;
  for (int i = 1; i < 32; ++i) {
    t.powerMul[i] = t.powerMul[i - 1] * t.powerMul[i - 1];
    t.powerAdd[i] = t.powerMul[i - 1] * t.powerAdd[i - 1] + t.powerAdd[i - 1];
  }

  for (std::uint32_t w = 0; w < std::size(t.randStep); ++w) {
    t.randStep[w] = StepEntry(kRandStepBytes, w, 0);
    t.randDraws[w] = static_cast<std::uint16_t>(
        (t.randStep[w] & kStepDrawsMask) | (kRandStepBits << 8));
  }
  for (std::uint32_t i = 0; i < std::size(t.randHardStep); ++i) {
    t.randHardStep[i] =
        StepEntry(kRandHardStepBytes, i & ((1u << kRandHardStepBits) - 1),
                  i >> kRandHardStepBits);
    t.randHardDraws[i] = static_cast<std::uint16_t>(
        (t.randHardStep[i] & kStepDrawsMask) | (kRandHardStepBits << 8));
  }

  BuildLookalikes(t);
}

}  // namespace

const Tables& GetTables() {
  // Built in place: the tables are some tens of kilobytes.
  static const Tables* const tables = [] {
    static Tables t{};
    BuildTables(t);
    return &t;
  }();
  return *tables;
}

std::uint32_t CycleIndex(const Tables& tables, std::uint32_t state) {
  // Bit by bit: the low j bits of the cycle's states repeat every 2^j steps,
  // so once the position is right mod 2^j, it is right mod 2^(j+1) either as
  // it is or 2^j steps further on.
  std::uint32_t index = 0;
  std::uint32_t y = 0;  // the state `index` steps into the cycle
  for (unsigned j = 0; j < kCycleBits; ++j) {
    const std::uint32_t bit = 1u << j;
    if ((y ^ state) & bit) {
      y = tables.powerMul[j] * y + tables.powerAdd[j];
      index |= bit;
    }
  }
  return index;
}

std::uint32_t Jump(const Tables& tables, std::uint32_t state,
                   std::uint64_t draws) {
  // The generator's period is 2^32, so only the low 32 bits of the count
  // matter.
  for (int i = 0; i < 32; ++i) {
    if ((draws >> i) & 1u)
      state = tables.powerMul[i] * state + tables.powerAdd[i];
  }
  return state;
}

}  // namespace pass
