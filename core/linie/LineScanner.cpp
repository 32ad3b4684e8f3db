#include "linie/LineScanner.h"

#include <cstdint>

#include "linie/ZnakiDozwolone.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WERYFIKACJA_X86_SIMD 1
#include <immintrin.h>
#endif

namespace scan {

const unsigned char* ToLineBreakScalar(const unsigned char* p, const unsigned char* end,
                                       bool& faulty) {
  using Typy::kByteClass;
  for (; p < end; ++p) {
    const unsigned c = kByteClass[*p];
    if (c == Typy::kAllowed) continue;
    if (c != Typy::kFaulty) return p;
    faulty = true;
  }
  return end;
}

#ifdef WERYFIKACJA_X86_SIMD
namespace {

using Typy::kByteClass;

constexpr bool Printable(int b) {
  return b >= 32 && b <= 126;
}
constexpr bool ShapesLines(int b) {
  return kByteClass[b] >= Typy::kLineFeed;
}
// A byte outside the printable range that is not faulty: a Polish letter or
// a byte that shapes lines.
constexpr bool Excepted(int b) {
  return !Printable(b) && kByteClass[b] != Typy::kFaulty;
}

// The excepted bytes, told apart by two 16-entry look-ups, one on each half
// of the byte: a byte is excepted exactly when the entries for its high and
// its low half share a bit. Each bit stands for one set of low halves shared
// by some high halves; the Polish letters of Windows-1250 need five such
// sets and the bytes that shape lines two more. The tables are derived from
// the character rule, and checked against it below, so the rule stays in
// one place.
struct NibbleTables {
  std::uint8_t low[16]{};
  std::uint8_t high[16]{};
  std::uint8_t lineBits = 0;  // the bits whose bytes shape lines
  bool fits = true;           // false if the rule needed more than 8 sets
};

constexpr NibbleTables MakeNibbleTables() {
  NibbleTables t;
  std::uint16_t sets[8]{};
  bool setShapesLines[8]{};
  int used = 0;
  for (int h = 0; h < 16; ++h) {
    std::uint16_t set = 0;
    bool lines = false;
    for (int l = 0; l < 16; ++l) {
      if (!Excepted(h * 16 + l)) continue;
      set = static_cast<std::uint16_t>(set | (1u << l));
      lines = lines || ShapesLines(h * 16 + l);
    }
    if (set == 0) continue;
    int bit = -1;
    for (int k = 0; k < used; ++k)
      if (sets[k] == set && setShapesLines[k] == lines) bit = k;
    if (bit < 0) {
      if (used == 8) {
        t.fits = false;
        return t;
      }
      bit = used++;
      sets[bit] = set;
      setShapesLines[bit] = lines;
    }
    t.high[h] = static_cast<std::uint8_t>(1u << bit);
  }
  for (int k = 0; k < used; ++k) {
    for (int l = 0; l < 16; ++l)
      if (sets[k] & (1u << l)) t.low[l] = static_cast<std::uint8_t>(t.low[l] | (1u << k));
    if (setShapesLines[k]) t.lineBits = static_cast<std::uint8_t>(t.lineBits | (1u << k));
  }
  return t;
}

constexpr NibbleTables kNibbles = MakeNibbleTables();

constexpr bool NibbleTablesMatchRule() {
  if (!kNibbles.fits) return false;
  for (int b = 0; b < 256; ++b) {
    const unsigned bits = kNibbles.high[b >> 4] & kNibbles.low[b & 15];
    if (Printable(b)) continue;  // the vector code never asks about these
    if ((bits != 0) != Excepted(b)) return false;
    if (((bits & kNibbles.lineBits) != 0) != ShapesLines(b)) return false;
  }
  return true;
}
static_assert(NibbleTablesMatchRule(), "the nibble look-up must reproduce the character rule");

inline unsigned FirstBit(std::uint32_t m) {
  return static_cast<unsigned>(__builtin_ctz(m));
}

// SSE2 has no byte shuffle, so a byte outside the printable range is looked
// up in the table one at a time; runs of printable ASCII go 16 at a time.
const unsigned char* ToLineBreakSse2(const unsigned char* p, const unsigned char* end,
                                     bool& faulty) {
  const __m128i below = _mm_set1_epi8(31);
  const __m128i del = _mm_set1_epi8(127);
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Bytes 128..255 are negative as signed bytes, so one signed compare
    // finds everything outside 32..126 but 127.
    const __m128i printable = _mm_andnot_si128(_mm_cmpeq_epi8(v, del), _mm_cmpgt_epi8(v, below));
    std::uint32_t other = ~static_cast<std::uint32_t>(_mm_movemask_epi8(printable)) & 0xFFFFu;
    while (other) {
      const unsigned i = FirstBit(other);
      const unsigned c = kByteClass[p[i]];
      if (c >= Typy::kLineFeed) return p + i;
      if (c == Typy::kFaulty) faulty = true;
      other &= other - 1;
    }
    p += 16;
  }
  return ToLineBreakScalar(p, end, faulty);
}

// SSSE3 has the byte shuffle: the nibble look-up classifies 16 bytes at
// once, four to a step, for processors without AVX2.
__attribute__((target("ssse3"))) inline void Classify16(const unsigned char* p, __m128i lowTable,
                                                        __m128i highTable, std::uint32_t& bad,
                                                        std::uint32_t& line) {
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i printable =
      _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(127)), _mm_cmpgt_epi8(v, _mm_set1_epi8(31)));
  const __m128i cls =
      _mm_and_si128(_mm_shuffle_epi8(lowTable, _mm_and_si128(v, nibble)),
                    _mm_shuffle_epi8(highTable, _mm_and_si128(_mm_srli_epi16(v, 4), nibble)));
  const __m128i zero = _mm_setzero_si128();
  bad = static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_andnot_si128(printable, _mm_cmpeq_epi8(cls, zero))));
  line = ~static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(
             _mm_and_si128(cls, _mm_set1_epi8(static_cast<char>(kNibbles.lineBits))), zero))) &
         0xFFFFu;
}

__attribute__((target("ssse3"))) const unsigned char* ToLineBreakSsse3(const unsigned char* p,
                                                                       const unsigned char* end,
                                                                       bool& faulty) {
  const __m128i lowTable = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbles.low));
  const __m128i highTable = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbles.high));
  std::uint64_t seenBad = 0;
  while (end - p >= 64) {
    std::uint32_t bad[4], line[4];
    for (int k = 0; k < 4; ++k) Classify16(p + 16 * k, lowTable, highTable, bad[k], line[k]);
    const std::uint64_t lines = line[0] | (std::uint64_t{line[1]} << 16) |
                                (std::uint64_t{line[2]} << 32) | (std::uint64_t{line[3]} << 48);
    const std::uint64_t bads = bad[0] | (std::uint64_t{bad[1]} << 16) |
                               (std::uint64_t{bad[2]} << 32) | (std::uint64_t{bad[3]} << 48);
    if (lines) {
      if ((bads & ((lines & (0 - lines)) - 1)) | seenBad) faulty = true;
      return p + __builtin_ctzll(lines);
    }
    seenBad |= bads;
    p += 64;
  }
  if (seenBad) faulty = true;
  return ToLineBreakSse2(p, end, faulty);
}

bool CpuHasSsse3() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3");
}

// AVX2 classifies 32 bytes at once: the nibble look-up marks the excepted
// bytes, so faulty bytes and line breaks fall out as bit masks.
struct Avx2Tables {
  __m256i low, high, nibble, below, del, lineBits, zero;
};

__attribute__((target("avx2"))) inline Avx2Tables MakeAvx2Tables() {
  const __m128i low128 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbles.low));
  const __m128i high128 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kNibbles.high));
  return {_mm256_broadcastsi128_si256(low128),
          _mm256_broadcastsi128_si256(high128),
          _mm256_set1_epi8(0x0F),
          _mm256_set1_epi8(31),
          _mm256_set1_epi8(127),
          _mm256_set1_epi8(static_cast<char>(kNibbles.lineBits)),
          _mm256_setzero_si256()};
}

// The faulty bytes and the bytes that shape lines among 32, as bit masks.
__attribute__((target("avx2"))) inline void Classify32(const Avx2Tables& t, const unsigned char* p,
                                                       std::uint32_t& bad, std::uint32_t& line) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i printable =
      _mm256_andnot_si256(_mm256_cmpeq_epi8(v, t.del), _mm256_cmpgt_epi8(v, t.below));
  const __m256i lo = _mm256_and_si256(v, t.nibble);
  const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(v, 4), t.nibble);
  const __m256i cls =
      _mm256_and_si256(_mm256_shuffle_epi8(t.low, lo), _mm256_shuffle_epi8(t.high, hi));
  const __m256i unexcepted = _mm256_cmpeq_epi8(cls, t.zero);
  bad =
      static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_andnot_si256(printable, unexcepted)));
  line = ~static_cast<std::uint32_t>(
      _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_and_si256(cls, t.lineBits), t.zero)));
}

// 64 bytes a step, every byte classified with no branch but the one that
// finds a line break: lines of transfer files are long and full of Polish
// letters, so a step that first looked for plain ASCII would guess wrong.
__attribute__((target("avx2"))) const unsigned char* ToLineBreakAvx2(const unsigned char* p,
                                                                     const unsigned char* end,
                                                                     bool& faulty) {
  const Avx2Tables t = MakeAvx2Tables();
  std::uint64_t seenBad = 0;
  while (end - p >= 64) {
    std::uint32_t bad0, line0, bad1, line1;
    Classify32(t, p, bad0, line0);
    Classify32(t, p + 32, bad1, line1);
    const std::uint64_t line = line0 | (std::uint64_t{line1} << 32);
    const std::uint64_t bad = bad0 | (std::uint64_t{bad1} << 32);
    if (line) {
      const std::uint64_t before = (line & (0 - line)) - 1;
      if ((bad & before) | seenBad) faulty = true;
      return p + __builtin_ctzll(line);
    }
    seenBad |= bad;
    p += 64;
  }
  if (seenBad) faulty = true;
  if (end - p >= 32) {
    std::uint32_t bad, line;
    Classify32(t, p, bad, line);
    if (line) {
      if (bad & ((line & (0u - line)) - 1)) faulty = true;
      return p + FirstBit(line);
    }
    if (bad) faulty = true;
    p += 32;
  }
  return ToLineBreakSse2(p, end, faulty);
}

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

ScanFn Choose() {
  if (CpuHasAvx2()) return ToLineBreakAvx2;
  return CpuHasSsse3() ? ToLineBreakSsse3 : ToLineBreakSse2;
}

}  // namespace

ScanFn Sse2Version() {
  return ToLineBreakSse2;
}
ScanFn Ssse3Version() {
  return CpuHasSsse3() ? ToLineBreakSsse3 : nullptr;
}
ScanFn Avx2Version() {
  return CpuHasAvx2() ? ToLineBreakAvx2 : nullptr;
}

#else  // no vector version for this processor

namespace {
ScanFn Choose() {
  return ToLineBreakScalar;
}
}  // namespace

ScanFn Sse2Version() {
  return nullptr;
}
ScanFn Ssse3Version() {
  return nullptr;
}
ScanFn Avx2Version() {
  return nullptr;
}

#endif

namespace {
const unsigned char* ChooseAndScan(const unsigned char* p, const unsigned char* end, bool& faulty) {
  const ScanFn f = Choose();
  detail::chosen.store(f, std::memory_order_relaxed);
  return f(p, end, faulty);
}
}  // namespace

// Constant-initialised: valid before any constructor of the program runs.
constinit std::atomic<ScanFn> detail::chosen{ChooseAndScan};

const char* ActiveVersion() {
  const ScanFn f = Choose();
  if (f == ToLineBreakScalar) return "scalar";
  if (f == Sse2Version()) return "sse2";
  return f == Ssse3Version() ? "ssse3" : "avx2";
}

}  // namespace scan
