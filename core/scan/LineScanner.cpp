#include "scan/LineScanner.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "kodowanie/ZnakiDozwolone.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WERYFIKACJA_X86_SIMD 1
#include <immintrin.h>
#endif

namespace scan {

const unsigned char* ToLineBreakScalar(const unsigned char* p, const unsigned char* end,
                                       bool& faulty) {
  const auto& kByteClass = kodowanie::Regula().klasa;
  for (; p < end; ++p) {
    const unsigned c = kByteClass[*p];
    if (c == kodowanie::kAllowed) continue;
    if (c != kodowanie::kFaulty) return p;
    faulty = true;
  }
  return end;
}

namespace {

constexpr unsigned char kLf = '\n';
constexpr unsigned char kCr = '\r';

// Whether the byte at q ends a run of clean lines: q + 1 is its next byte
// when it is before `end`.
inline bool EndsRun(const unsigned char* q, const unsigned char* end, unsigned stops,
                    const std::array<bool, 256>& faultyByte) {
  const unsigned char b = *q;
  const unsigned char next = q + 1 < end ? q[1] : 0;
  if (b == kCr) return next != kLf;                 // a stray CR, or one not known yet
  if (b == kLf) return next == kLf || next == kCr;  // an empty line follows
  if (faultyByte[b]) return true;                   // 1A among them
  if ((stops & kStopAtDigit) && b >= '0' && b <= '9') return true;
  return (stops & kStopAtBareLf) && next == kLf;
}

// A run ends at the start of a line: the start of the line holding q,
// found by going back eight bytes at a time to the LF before it.
inline const unsigned char* LineStart(const unsigned char* runStart, const unsigned char* q) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  while (q - runStart >= 8) {
    std::uint64_t w;
    std::memcpy(&w, q - 8, 8);
    const std::uint64_t x = w ^ (kOnes * kLf);
    if ((x - kOnes) & ~x & kHigh) break;  // one of the eight is LF
    q -= 8;
  }
  while (q > runStart && q[-1] != kLf) --q;
  return q;
}

// The plain loop, from q on in a run begun at runStart that holds `lines`
// lines before q.
CleanRun FinishRun(const unsigned char* runStart, const unsigned char* q, const unsigned char* end,
                   unsigned stops, std::uint64_t lines) {
  const unsigned char* start = nullptr;
  const auto& faultyByte = kodowanie::Regula().bledny;
  for (; q < end; ++q) {
    if (EndsRun(q, end, stops, faultyByte)) break;
    if (*q == kLf) {
      ++lines;
      start = q + 1;
    }
  }
  return {start ? start : LineStart(runStart, q), lines};
}

// A line that begins with its line end is empty, or begins with a CR.
inline bool OpensRun(const unsigned char* p, const unsigned char* end) {
  return p < end && *p != kLf && *p != kCr;
}

}  // namespace

const unsigned char* ToFaultyByteScalar(const unsigned char* p, const unsigned char* end) {
  const auto& faultyByte = kodowanie::Regula().bledny;
  while (p < end && !faultyByte[*p]) ++p;
  return p;
}

CleanRun CleanLinesScalar(const unsigned char* p, const unsigned char* end, unsigned stops) {
  if (!OpensRun(p, end)) return {p, 0};
  return FinishRun(p, p, end, stops, 0);
}

#ifdef WERYFIKACJA_X86_SIMD
namespace {

// A run reached the block of 64 bytes at p, holding `lines` lines before
// it: it ends after the last of the block's line ends in `lineEnds`, or,
// with none, at the start of the line the block begins in.
inline CleanRun RunToLastLineEnd(const unsigned char* runStart, const unsigned char* p,
                                 std::uint64_t lineEnds, std::uint64_t lines) {
  if (lineEnds == 0) return {LineStart(runStart, p), lines};
  return {p + 64 - __builtin_clzll(lineEnds),
          lines + static_cast<std::uint64_t>(__builtin_popcountll(lineEnds))};
}

// The block held an event (bits of `events`): the run ends at the start of
// the line of the first one.
inline CleanRun RunEndsIn(const unsigned char* runStart, const unsigned char* p,
                          std::uint64_t events, std::uint64_t lineEnds, std::uint64_t lines) {
  return RunToLastLineEnd(runStart, p,
                          lineEnds & ((std::uint64_t{1} << __builtin_ctzll(events)) - 1), lines);
}

// The last bytes of a piece, fewer than a step, copied into a step of their
// own and followed by a byte that is neither faulty, an event nor a line
// end, so that a step may be loaded whole and its next byte too.
struct PaddedStep {
  PaddedStep(const unsigned char* p, const unsigned char* end)
      : n(static_cast<std::size_t>(end - p)) {
    std::memset(bytes, 'a', sizeof bytes);
    std::memcpy(bytes, p, n);
  }
  std::uint64_t Real() const { return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1; }

  alignas(64) unsigned char bytes[128];
  std::size_t n;
};

// The last bytes of a run in a padded step: the step `events64` makes of
// them tells where the run ends. A CR last is an event then, as its LF is
// not known yet; an LF last is not.
template <class Events64>
inline CleanRun RunTail(const unsigned char* runStart, const unsigned char* p,
                        const unsigned char* end, std::uint64_t lines, Events64 events64) {
  const PaddedStep step(p, end);
  std::uint64_t lineEnds = 0;
  const std::uint64_t events = events64(step.bytes, lineEnds) & step.Real();
  lineEnds &= step.Real();
  if (events) return RunEndsIn(runStart, p, events, lineEnds, lines);
  return RunToLastLineEnd(runStart, p, lineEnds, lines);
}

// A step of the line-by-line scan at p held faulty bytes or line ends (the
// bits of `found`), line ends among them in `ends`: the first line end, or
// nullptr with none; `faulty` set by faulty bytes before it.
inline const unsigned char* LineEndAt(const unsigned char* p, std::uint64_t ends,
                                      std::uint64_t found, bool& faulty) {
  const std::uint64_t others = found & ~ends;
  if (ends == 0) {
    if (others) faulty = true;
    return nullptr;
  }
  if (others & ((ends & (0 - ends)) - 1)) faulty = true;
  return p + __builtin_ctzll(ends);
}

// A set of bytes by two 16-entry look-ups, one on each half of the byte: a
// byte is in the set exactly when the entries for its high and its low half
// share a bit. Each bit stands for one set of low halves, and a high half
// takes the bits of the sets that make up its row. A byte's worth of bits
// must do, so a row that is the union of other rows' sets takes their bits
// rather than one of its own.
//
// A byte may be marked: it then has a bit to itself, `markBit`, which no
// other byte shares, so that clearing that bit drops it alone.
struct NibbleSet {
  std::uint8_t low[16]{};
  std::uint8_t high[16]{};
  std::uint8_t markBit = 0;
  bool fits = true;
};

template <class InSet>
constexpr NibbleSet MakeNibbleSet(InSet in, int marked = -1) {
  NibbleSet t;
  std::uint16_t rows[16]{};
  for (int h = 0; h < 16; ++h)
    for (int l = 0; l < 16; ++l)
      if (in(h * 16 + l) && h * 16 + l != marked)
        rows[h] = static_cast<std::uint16_t>(rows[h] | (1u << l));
  std::uint16_t sets[16]{};
  int used = 0;
  for (const std::uint16_t row : rows) {
    bool seen = row == 0;
    for (int k = 0; k < used; ++k) seen = seen || sets[k] == row;
    if (!seen) sets[used++] = row;
  }
  const int room = marked < 0 ? 8 : 7;
  for (int k = 0; k < used && used > room;) {
    std::uint16_t covered = 0;
    for (int j = 0; j < used; ++j)
      if (j != k && (sets[j] & ~sets[k]) == 0)
        covered = static_cast<std::uint16_t>(covered | sets[j]);
    if (covered == sets[k]) {
      sets[k] = sets[--used];
      k = 0;
    } else {
      ++k;
    }
  }
  if (used > room) {
    t.fits = false;
    return t;
  }
  for (int k = 0; k < used; ++k) {
    for (int h = 0; h < 16; ++h)
      if (rows[h] != 0 && (sets[k] & ~rows[h]) == 0)
        t.high[h] = static_cast<std::uint8_t>(t.high[h] | (1u << k));
    for (int l = 0; l < 16; ++l)
      if (sets[k] & (1u << l)) t.low[l] = static_cast<std::uint8_t>(t.low[l] | (1u << k));
  }
  if (marked >= 0) {
    t.markBit = static_cast<std::uint8_t>(1u << used);
    t.high[marked >> 4] = static_cast<std::uint8_t>(t.high[marked >> 4] | t.markBit);
    t.low[marked & 15] = static_cast<std::uint8_t>(t.low[marked & 15] | t.markBit);
  }
  return t;
}

template <class InSet>
constexpr bool Reproduces(const NibbleSet& t, InSet in, int marked = -1) {
  if (!t.fits) return false;
  for (int b = 0; b < 256; ++b) {
    const unsigned bits = t.high[b >> 4] & t.low[b & 15];
    if ((bits != 0) != (in(b) || b == marked)) return false;
    if (((bits & t.markBit) != 0) != (b == marked)) return false;
    if (b == marked && !in(b) && bits != t.markBit) return false;
  }
  return true;
}

// The look-ups of one rule. The faulty bytes a byte alone tells (outside
// the printable range) are one set; the printable characters a profile
// refuses are a second (`extra`), since with both in one set a byte's worth
// of bits is too few. Every version reads the sets of the rule in use at
// each call.
struct Tables {
  // The allowed bytes (printable ASCII, the letters, LF and CR); the faulty
  // ones with CR marked, whose bit a following LF clears; the faulty ones
  // with the digits, for a run that stops at a digit (with no room left to
  // mark CR); and the faulty ones with the two that end lines, for the
  // line-by-line scan.
  NibbleSet allowed, faultyAndCr, faultyOrDigit, faultyOrLineEnd;
  NibbleSet extra;
  bool hasExtra = false;
  bool vector = false;  // every set fits and reproduces the rule
};

template <class Faulty, class Extra>
constexpr Tables MakeTables(Faulty faulty, Extra extra, bool hasExtra) {
  const auto allowed = [faulty](int b) { return !faulty(b); };
  const auto orDigit = [faulty](int b) { return faulty(b) || (b >= '0' && b <= '9'); };
  const auto orLineEnd = [faulty](int b) { return faulty(b) || b == '\n' || b == '\r'; };
  Tables t;
  t.allowed = MakeNibbleSet(allowed);
  t.faultyAndCr = MakeNibbleSet(faulty, '\r');
  t.faultyOrDigit = MakeNibbleSet(orDigit);
  t.faultyOrLineEnd = MakeNibbleSet(orLineEnd);
  t.extra = MakeNibbleSet(extra);
  t.hasExtra = hasExtra;
  t.vector = Reproduces(t.allowed, allowed) && Reproduces(t.faultyAndCr, faulty, '\r') &&
             t.faultyAndCr.markBit != 0 && Reproduces(t.faultyOrDigit, orDigit) &&
             t.faultyOrDigit.markBit == 0 && Reproduces(t.faultyOrLineEnd, orLineEnd) &&
             Reproduces(t.extra, extra);
  return t;
}

constexpr bool IsAllowed(int b) {
  return !kodowanie::kZnakBledny[b];
}
constexpr bool IsFaulty(int b) {
  return kodowanie::kZnakBledny[b];
}
constexpr bool IsFaultyOrDigit(int b) {
  return kodowanie::kZnakBledny[b] || (b >= '0' && b <= '9');
}
constexpr bool IsFaultyOrLineEnd(int b) {
  return kodowanie::kZnakBledny[b] || b == '\n' || b == '\r';
}
constexpr bool NoneRefused(int) {
  return false;
}

// The default rule's look-ups are built at compile time and checked there.
constexpr Tables kDefaultTables = MakeTables(IsFaulty, NoneRefused, false);
static_assert(Reproduces(kDefaultTables.allowed, IsAllowed),
              "the allowed-byte look-up must reproduce the rule");
static_assert(Reproduces(kDefaultTables.faultyAndCr, IsFaulty, '\r'),
              "the faulty-byte look-up must reproduce the rule");
static_assert(Reproduces(kDefaultTables.faultyOrDigit, IsFaultyOrDigit),
              "the faulty-or-digit look-up must reproduce the rule");
static_assert(Reproduces(kDefaultTables.faultyOrLineEnd, IsFaultyOrLineEnd),
              "the faulty-or-line-end look-up must reproduce the rule");
static_assert(kDefaultTables.vector && !kDefaultTables.hasExtra,
              "the default rule must be scanned by the vector versions");

// The look-ups in use: the default's until a profile's rule is chosen.
Tables gTables;
constinit const Tables* gActive = &kDefaultTables;

inline const Tables& Active() {
  return *gActive;
}

// The set a run of clean lines looks bytes up in. Without digits, CR is
// marked: a CR followed by LF has its bit cleared, so a stray CR is left
// standing as an event with no comparison of its own.
template <unsigned kStops>
inline const NibbleSet& RunSet(const Tables& t) {
  return (kStops & kStopAtDigit) != 0 ? t.faultyOrDigit : t.faultyAndCr;
}
template <unsigned kStops>
constexpr bool RunSetMarksCr() {
  return (kStops & kStopAtDigit) == 0;
}

inline unsigned FirstBit(std::uint32_t m) {
  return static_cast<unsigned>(__builtin_ctz(m));
}

// SSE2 has no byte shuffle, so a byte outside the printable range is looked
// up in the table one at a time; runs of printable ASCII go 16 at a time.
const unsigned char* ToLineBreakSse2(const unsigned char* p, const unsigned char* end,
                                     bool& faulty) {
  const auto& byteClass = kodowanie::Regula().klasa;
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
      const unsigned c = byteClass[p[i]];
      if (c >= kodowanie::kLineFeed) return p + i;
      if (c == kodowanie::kFaulty) faulty = true;
      other &= other - 1;
    }
    p += 16;
  }
  return ToLineBreakScalar(p, end, faulty);
}

// The bytes of 16 in the set whose tables are `low` and `high` (see
// NibbleSet): not zero there.
__attribute__((target("ssse3"))) inline __m128i LookUp16(__m128i low, __m128i high, __m128i v) {
  const __m128i nibble = _mm_set1_epi8(0x0F);
  return _mm_and_si128(_mm_shuffle_epi8(low, _mm_and_si128(v, nibble)),
                       _mm_shuffle_epi8(high, _mm_and_si128(_mm_srli_epi16(v, 4), nibble)));
}

// A set's two tables (see NibbleSet), its mark, and the refused characters'
// tables, for the 16-byte versions.
struct Ssse3Tables {
  __m128i low, high, mark, xlow, xhigh;
};

__attribute__((target("ssse3"))) inline Ssse3Tables Load16(const NibbleSet& set,
                                                           const NibbleSet& extra) {
  return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(set.low)),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(set.high)),
          _mm_set1_epi8(static_cast<char>(set.markBit)),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(extra.low)),
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(extra.high))};
}

// The run of clean lines, 16 bytes at a time, for processors without AVX2;
// the same steps as the AVX2 version below, which explains them.
template <unsigned kStops, bool kExtra>
__attribute__((target("ssse3"))) inline __m128i Events16(const Ssse3Tables& t,
                                                         const unsigned char* p, __m128i& isLf) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
  __m128i looked = LookUp16(t.low, t.high, v);
  isLf = _mm_cmpeq_epi8(v, _mm_set1_epi8(kLf));
  const __m128i nextLf = _mm_cmpeq_epi8(next, _mm_set1_epi8(kLf));
  const __m128i nextCr = _mm_cmpeq_epi8(next, _mm_set1_epi8(kCr));
  __m128i ev = _mm_and_si128(isLf, _mm_or_si128(nextLf, nextCr));
  if constexpr (RunSetMarksCr<kStops>()) {
    looked = _mm_andnot_si128(_mm_and_si128(nextLf, t.mark), looked);
  } else {
    ev = _mm_or_si128(ev, _mm_andnot_si128(nextLf, _mm_cmpeq_epi8(v, _mm_set1_epi8(kCr))));
  }
  if constexpr ((kStops & kStopAtBareLf) != 0)
    ev = _mm_or_si128(ev, _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(kCr)), nextLf));
  if constexpr (kExtra) ev = _mm_or_si128(ev, LookUp16(t.xlow, t.xhigh, v));
  return _mm_or_si128(looked, ev);
}

inline std::uint64_t Mask64(__m128i a, __m128i b, __m128i c, __m128i d) {
  return static_cast<std::uint64_t>(_mm_movemask_epi8(a)) |
         (static_cast<std::uint64_t>(_mm_movemask_epi8(b)) << 16) |
         (static_cast<std::uint64_t>(_mm_movemask_epi8(c)) << 32) |
         (static_cast<std::uint64_t>(_mm_movemask_epi8(d)) << 48);
}

// The bytes not zero among 64, as a bit mask.
inline std::uint64_t NonZero64(__m128i a, __m128i b, __m128i c, __m128i d) {
  const __m128i zero = _mm_setzero_si128();
  return ~Mask64(_mm_cmpeq_epi8(a, zero), _mm_cmpeq_epi8(b, zero), _mm_cmpeq_epi8(c, zero),
                 _mm_cmpeq_epi8(d, zero));
}

inline std::uint64_t SumBytes(__m128i counts) {
  const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
  return static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
         static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_srli_si128(sums, 8)));
}

// The line-by-line scan 16 bytes at a time, four to a step, for processors
// without AVX2; the AVX2 version below explains it.
inline __m128i LineEnds16(__m128i v) {
  return _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(kLf)), _mm_cmpeq_epi8(v, _mm_set1_epi8(kCr))),
      _mm_cmpeq_epi8(v, _mm_set1_epi8(0x1A)));
}

// A step of 64 bytes at p: looked up, and if it holds a faulty byte or a
// line end, looked at again. Returns what LineEndAt does, or nullptr with
// nothing found.
template <bool kExtra>
__attribute__((target("ssse3"))) inline const unsigned char* LineStep16(const Ssse3Tables& t,
                                                                        const unsigned char* p,
                                                                        bool& faulty) {
  __m128i v[4], found[4];
  for (int k = 0; k < 4; ++k) {
    v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    found[k] = LookUp16(t.low, t.high, v[k]);
    if constexpr (kExtra) found[k] = _mm_or_si128(found[k], LookUp16(t.xlow, t.xhigh, v[k]));
  }
  const __m128i any =
      _mm_or_si128(_mm_or_si128(found[0], found[1]), _mm_or_si128(found[2], found[3]));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) == 0xFFFF) return nullptr;
  return LineEndAt(p,
                   Mask64(LineEnds16(v[0]), LineEnds16(v[1]), LineEnds16(v[2]), LineEnds16(v[3])),
                   NonZero64(found[0], found[1], found[2], found[3]), faulty);
}

template <bool kExtra>
__attribute__((target("ssse3"))) const unsigned char* LineBreakSsse3(const Ssse3Tables& t,
                                                                     const unsigned char* p,
                                                                     const unsigned char* end,
                                                                     bool& faulty) {
  for (; end - p >= 64; p += 64)
    if (const unsigned char* q = LineStep16<kExtra>(t, p, faulty)) return q;
  if (p == end) return end;
  const PaddedStep step(p, end);
  const unsigned char* const q = LineStep16<kExtra>(t, step.bytes, faulty);
  return q == nullptr ? end : p + (q - step.bytes);
}

__attribute__((target("ssse3"))) const unsigned char* ToLineBreakSsse3(const unsigned char* p,
                                                                       const unsigned char* end,
                                                                       bool& faulty) {
  const Tables& tables = Active();
  const Ssse3Tables t = Load16(tables.faultyOrLineEnd, tables.extra);
  return tables.hasExtra ? LineBreakSsse3<true>(t, p, end, faulty)
                         : LineBreakSsse3<false>(t, p, end, faulty);
}

template <unsigned kStops, bool kExtra>
__attribute__((target("ssse3"))) std::uint64_t Ssse3Step(const Ssse3Tables& t,
                                                         const unsigned char* p,
                                                         std::uint64_t& lineEnds) {
  __m128i lf0, lf1, lf2, lf3;
  const __m128i ev0 = Events16<kStops, kExtra>(t, p, lf0);
  const __m128i ev1 = Events16<kStops, kExtra>(t, p + 16, lf1);
  const __m128i ev2 = Events16<kStops, kExtra>(t, p + 32, lf2);
  const __m128i ev3 = Events16<kStops, kExtra>(t, p + 48, lf3);
  lineEnds = Mask64(lf0, lf1, lf2, lf3);
  return NonZero64(ev0, ev1, ev2, ev3);
}

template <unsigned kStops, bool kExtra>
__attribute__((target("ssse3"))) CleanRun CleanLinesSsse3(const unsigned char* p,
                                                          const unsigned char* end) {
  if (!OpensRun(p, end)) return {p, 0};
  const unsigned char* const runStart = p;
  const Ssse3Tables t = Load16(RunSet<kStops>(Active()), Active().extra);
  std::uint64_t lines = 0;
  while (end - p > 64) {
    // Four line ends a step at most in each byte lane: 63 steps fit.
    const unsigned char* const stop = p + 64 * std::min<std::ptrdiff_t>(63, (end - p - 1) / 64);
    __m128i counts = _mm_setzero_si128();
    for (; p < stop; p += 64) {
      __m128i lf0, lf1, lf2, lf3;
      const __m128i ev0 = Events16<kStops, kExtra>(t, p, lf0);
      const __m128i ev1 = Events16<kStops, kExtra>(t, p + 16, lf1);
      const __m128i ev2 = Events16<kStops, kExtra>(t, p + 32, lf2);
      const __m128i ev3 = Events16<kStops, kExtra>(t, p + 48, lf3);
      const __m128i ev = _mm_or_si128(_mm_or_si128(ev0, ev1), _mm_or_si128(ev2, ev3));
      if (_mm_movemask_epi8(_mm_cmpeq_epi8(ev, _mm_setzero_si128())) != 0xFFFF)
        return RunEndsIn(runStart, p, NonZero64(ev0, ev1, ev2, ev3), Mask64(lf0, lf1, lf2, lf3),
                         lines + SumBytes(counts));
      counts = _mm_sub_epi8(_mm_sub_epi8(counts, lf0), _mm_add_epi8(lf1, _mm_add_epi8(lf2, lf3)));
    }
    lines += SumBytes(counts);
  }
  return RunTail(runStart, p, end, lines, [&t](const unsigned char* step, std::uint64_t& lineEnds) {
    return Ssse3Step<kStops, kExtra>(t, step, lineEnds);
  });
}

// The same with SSE2 alone: bytes outside the printable range are looked up
// in the table one at a time.
template <unsigned kStops>
CleanRun CleanLinesSse2(const unsigned char* p, const unsigned char* end) {
  if (!OpensRun(p, end)) return {p, 0};
  const unsigned char* const runStart = p;
  std::uint64_t lines = 0;
  const auto& faultyByte = kodowanie::Regula().bledny;
  while (end - p > 64) {
    std::uint64_t events = 0, lineEnds = 0;
    for (int k = 0; k < 4; ++k) {
      const unsigned char* q = p + 16 * k;
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 1));
      const __m128i isLf = _mm_cmpeq_epi8(v, _mm_set1_epi8(kLf));
      const __m128i isCr = _mm_cmpeq_epi8(v, _mm_set1_epi8(kCr));
      const __m128i nextLf = _mm_cmpeq_epi8(next, _mm_set1_epi8(kLf));
      const __m128i nextCr = _mm_cmpeq_epi8(next, _mm_set1_epi8(kCr));
      __m128i ev = _mm_or_si128(_mm_andnot_si128(nextLf, isCr),
                                _mm_and_si128(isLf, _mm_or_si128(nextLf, nextCr)));
      if constexpr ((kStops & kStopAtDigit) != 0)
        ev = _mm_or_si128(ev, _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)),
                                            _mm_cmpgt_epi8(_mm_set1_epi8('9' + 1), v)));
      if constexpr ((kStops & kStopAtBareLf) != 0)
        ev = _mm_or_si128(ev, _mm_andnot_si128(isCr, nextLf));
      const __m128i plain = _mm_or_si128(_mm_or_si128(isLf, isCr),
                                         _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(127)),
                                                          _mm_cmpgt_epi8(v, _mm_set1_epi8(31))));
      std::uint32_t evm = static_cast<std::uint32_t>(_mm_movemask_epi8(ev));
      for (std::uint32_t other = ~static_cast<std::uint32_t>(_mm_movemask_epi8(plain)) & 0xFFFFu;
           other; other &= other - 1)
        if (faultyByte[q[FirstBit(other)]]) evm |= 1u << FirstBit(other);
      events |= std::uint64_t{evm} << (16 * k);
      lineEnds |= static_cast<std::uint64_t>(_mm_movemask_epi8(isLf)) << (16 * k);
    }
    if (events) return RunEndsIn(runStart, p, events, lineEnds, lines);
    lines += static_cast<std::uint64_t>(__builtin_popcountll(lineEnds));
    p += 64;
  }
  return FinishRun(runStart, p, end, kStops, lines);
}

// The faulty bytes of a line, 16 at a time.
const unsigned char* ToFaultyByteSse2(const unsigned char* p, const unsigned char* end) {
  const auto& faultyByte = kodowanie::Regula().bledny;
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i printable = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(127)),
                                               _mm_cmpgt_epi8(v, _mm_set1_epi8(31)));
    for (std::uint32_t other = ~static_cast<std::uint32_t>(_mm_movemask_epi8(printable)) & 0xFFFFu;
         other; other &= other - 1)
      if (faultyByte[p[FirstBit(other)]]) return p + FirstBit(other);
  }
  return ToFaultyByteScalar(p, end);
}

__attribute__((target("ssse3"))) const unsigned char* ToFaultyByteSsse3(const unsigned char* p,
                                                                        const unsigned char* end) {
  const Tables& tables = Active();
  const Ssse3Tables t = Load16(tables.allowed, tables.extra);
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i zero = _mm_setzero_si128();
    auto bad = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(LookUp16(t.low, t.high, v), zero)));
    // Faulty: not allowed, or refused.
    if (tables.hasExtra)
      bad |= ~static_cast<std::uint32_t>(
                 _mm_movemask_epi8(_mm_cmpeq_epi8(LookUp16(t.xlow, t.xhigh, v), zero))) &
             0xFFFFu;
    if (bad) return p + FirstBit(bad);
  }
  return ToFaultyByteScalar(p, end);
}

// Each version is compiled for each set of stops, so none pays for a stop
// it was not asked for.
template <class Body>
CleanRun ByStops(unsigned stops, Body body) {
  switch (stops & (kStopAtDigit | kStopAtBareLf)) {
    case 0:
      return body(std::integral_constant<unsigned, 0>{});
    case kStopAtDigit:
      return body(std::integral_constant<unsigned, kStopAtDigit>{});
    case kStopAtBareLf:
      return body(std::integral_constant<unsigned, kStopAtBareLf>{});
    default:
      return body(std::integral_constant<unsigned, kStopAtDigit | kStopAtBareLf>{});
  }
}

CleanRun RunSse2(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return ByStops(stops, [&](auto k) { return CleanLinesSse2<decltype(k)::value>(p, end); });
}
CleanRun RunSsse3(const unsigned char* p, const unsigned char* end, unsigned stops) {
  if (Active().hasExtra)
    return ByStops(stops,
                   [&](auto k) { return CleanLinesSsse3<decltype(k)::value, true>(p, end); });
  return ByStops(stops, [&](auto k) { return CleanLinesSsse3<decltype(k)::value, false>(p, end); });
}

bool CpuHasSsse3() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3");
}

__attribute__((target("avx2"))) inline std::uint64_t Mask64(__m256i a, __m256i b) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(a)) |
         (std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(b))} << 32);
}

// The bytes not zero among 64, as a bit mask.
__attribute__((target("avx2"))) inline std::uint64_t NonZero64(__m256i a, __m256i b) {
  const __m256i zero = _mm256_setzero_si256();
  return ~Mask64(_mm256_cmpeq_epi8(a, zero), _mm256_cmpeq_epi8(b, zero));
}

// A set's tables (see NibbleSet) in both halves of a vector.
struct Avx2Set {
  __m256i low, high, nibble;
};

__attribute__((target("avx2"))) inline Avx2Set Broadcast(const NibbleSet& set) {
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(set.low));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(set.high));
  return {_mm256_broadcastsi128_si256(low), _mm256_broadcastsi128_si256(high),
          _mm256_set1_epi8(0x0F)};
}

// The bytes of 32 in the set: not zero there.
__attribute__((target("avx2"))) inline __m256i LookUp32(const Avx2Set& s, __m256i v) {
  return _mm256_and_si256(
      _mm256_shuffle_epi8(s.low, _mm256_and_si256(v, s.nibble)),
      _mm256_shuffle_epi8(s.high, _mm256_and_si256(_mm256_srli_epi16(v, 4), s.nibble)));
}

// The bytes of 32 in `set`, and, when the rule refuses printable
// characters, in the set of those too.
template <bool kExtra>
__attribute__((target("avx2"))) inline __m256i LookUpWithExtra(const Avx2Set& set,
                                                               const Avx2Set& extra, __m256i v) {
  const __m256i found = LookUp32(set, v);
  if constexpr (kExtra) return _mm256_or_si256(found, LookUp32(extra, v));
  return found;
}

// 64 bytes a step, each byte looked up in the set of faulty bytes and line
// ends: a step holding none of them, most steps of a line, costs the
// look-up alone. The step that holds one is looked at again to tell the
// line's end (LF, CR or 1A, which is faulty too) from faulty bytes before it.
struct Avx2LineTables {
  Avx2Set set, extra;
  __m256i lf, cr, eot;
};

__attribute__((target("avx2"))) inline Avx2LineTables MakeAvx2LineTables(const Tables& t) {
  return {Broadcast(t.faultyOrLineEnd), Broadcast(t.extra), _mm256_set1_epi8(kLf),
          _mm256_set1_epi8(kCr), _mm256_set1_epi8(0x1A)};
}

__attribute__((target("avx2"))) inline __m256i LineEnds32(const Avx2LineTables& t, __m256i v) {
  return _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, t.lf), _mm256_cmpeq_epi8(v, t.cr)),
                         _mm256_cmpeq_epi8(v, t.eot));
}

// A step of 64 bytes at p: looked up, and if it holds a faulty byte or a
// line end, looked at again. Returns what LineEndAt does, or nullptr with
// nothing found.
template <bool kExtra>
__attribute__((target("avx2"))) inline const unsigned char* LineStep32(const Avx2LineTables& t,
                                                                       const unsigned char* p,
                                                                       bool& faulty) {
  const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
  const __m256i found0 = LookUpWithExtra<kExtra>(t.set, t.extra, v0);
  const __m256i found1 = LookUpWithExtra<kExtra>(t.set, t.extra, v1);
  const __m256i found = _mm256_or_si256(found0, found1);
  if (_mm256_testz_si256(found, found)) return nullptr;
  return LineEndAt(p, Mask64(LineEnds32(t, v0), LineEnds32(t, v1)), NonZero64(found0, found1),
                   faulty);
}

template <bool kExtra>
__attribute__((target("avx2"))) const unsigned char* LineBreakAvx2(const Avx2LineTables& t,
                                                                   const unsigned char* p,
                                                                   const unsigned char* end,
                                                                   bool& faulty) {
  for (; end - p >= 64; p += 64)
    if (const unsigned char* q = LineStep32<kExtra>(t, p, faulty)) return q;
  if (p == end) return end;
  const PaddedStep step(p, end);
  const unsigned char* const q = LineStep32<kExtra>(t, step.bytes, faulty);
  return q == nullptr ? end : p + (q - step.bytes);
}

__attribute__((target("avx2"))) const unsigned char* ToLineBreakAvx2(const unsigned char* p,
                                                                     const unsigned char* end,
                                                                     bool& faulty) {
  const Tables& tables = Active();
  if (!tables.vector) return ToLineBreakScalar(p, end, faulty);
  const Avx2LineTables t = MakeAvx2LineTables(tables);
  return tables.hasExtra ? LineBreakAvx2<true>(t, p, end, faulty)
                         : LineBreakAvx2<false>(t, p, end, faulty);
}

// The run of clean lines, 32 bytes at a time: each byte is looked up in the
// faulty set (with the digits, when they stop the run) and compared, with
// its next byte, against LF and CR, so the events (see EndsRun) and the
// line ends come out of one pass, all in the vector unit. An event is any
// byte not zero: the look-up's bits and the comparisons' masks are ORed
// together and tested at once. Only an event leaves the loop; the line ends
// are counted in byte lanes, emptied before they can overflow.

struct Avx2RunTables {
  Avx2Set set, extra;
  __m256i lf, cr, markBit, zero;
};

template <unsigned kStops>
__attribute__((target("avx2"))) inline Avx2RunTables MakeAvx2RunTables(const Tables& t) {
  const NibbleSet& set = RunSet<kStops>(t);
  return {Broadcast(set),
          Broadcast(t.extra),
          _mm256_set1_epi8(kLf),
          _mm256_set1_epi8(kCr),
          _mm256_set1_epi8(static_cast<char>(set.markBit)),
          _mm256_setzero_si256()};
}

template <unsigned kStops, bool kExtra>
__attribute__((target("avx2"))) inline __m256i Events32(const Avx2RunTables& t,
                                                        const unsigned char* p, __m256i& isLf) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
  __m256i looked = LookUp32(t.set, v);
  isLf = _mm256_cmpeq_epi8(v, t.lf);
  const __m256i nextLf = _mm256_cmpeq_epi8(next, t.lf);
  const __m256i nextCr = _mm256_cmpeq_epi8(next, t.cr);
  // An LF followed by a line end: an empty line follows.
  __m256i ev = _mm256_and_si256(isLf, _mm256_or_si256(nextLf, nextCr));
  if constexpr (RunSetMarksCr<kStops>()) {
    looked = _mm256_andnot_si256(_mm256_and_si256(nextLf, t.markBit), looked);
  } else {
    ev = _mm256_or_si256(ev, _mm256_andnot_si256(nextLf, _mm256_cmpeq_epi8(v, t.cr)));
  }
  if constexpr ((kStops & kStopAtBareLf) != 0)
    ev = _mm256_or_si256(ev, _mm256_andnot_si256(_mm256_cmpeq_epi8(v, t.cr), nextLf));
  // The refused characters after CR's mark is cleared: their bits may be
  // the same as the mark's.
  if constexpr (kExtra) ev = _mm256_or_si256(ev, LookUp32(t.extra, v));
  return _mm256_or_si256(looked, ev);
}

__attribute__((target("avx2"))) inline std::uint64_t SumBytes(__m256i counts) {
  const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
  const __m128i half =
      _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
  return static_cast<std::uint64_t>(_mm_cvtsi128_si64(half)) +
         static_cast<std::uint64_t>(_mm_extract_epi64(half, 1));
}

// One step of 64 bytes (and the one after them): its events and line ends.
template <unsigned kStops, bool kExtra>
__attribute__((target("avx2"))) std::uint64_t Avx2Step(const Avx2RunTables& t,
                                                       const unsigned char* p,
                                                       std::uint64_t& lineEnds) {
  __m256i lf0, lf1;
  const __m256i ev0 = Events32<kStops, kExtra>(t, p, lf0);
  const __m256i ev1 = Events32<kStops, kExtra>(t, p + 32, lf1);
  lineEnds = Mask64(lf0, lf1);
  return NonZero64(ev0, ev1);
}

template <unsigned kStops, bool kExtra>
__attribute__((target("avx2"))) CleanRun CleanLinesAvx2(const unsigned char* p,
                                                        const unsigned char* end) {
  if (!OpensRun(p, end)) return {p, 0};
  const unsigned char* const runStart = p;
  const Avx2RunTables t = MakeAvx2RunTables<kStops>(Active());
  std::uint64_t lines = 0;
  // A step reads 65 bytes: its 64 and the next one.
  while (end - p > 64) {
    // Two line ends a step at most in each byte lane: 127 steps fit.
    const unsigned char* const stop = p + 64 * std::min<std::ptrdiff_t>(127, (end - p - 1) / 64);
    __m256i counts = t.zero;
    for (; p < stop; p += 64) {
      __m256i lf0, lf1;
      const __m256i ev0 = Events32<kStops, kExtra>(t, p, lf0);
      const __m256i ev1 = Events32<kStops, kExtra>(t, p + 32, lf1);
      const __m256i ev = _mm256_or_si256(ev0, ev1);
      if (!_mm256_testz_si256(ev, ev))
        return RunEndsIn(runStart, p, NonZero64(ev0, ev1), Mask64(lf0, lf1),
                         lines + SumBytes(counts));
      counts = _mm256_sub_epi8(_mm256_sub_epi8(counts, lf0), lf1);
    }
    lines += SumBytes(counts);
  }
  return RunTail(runStart, p, end, lines, [&t](const unsigned char* step, std::uint64_t& lineEnds) {
    return Avx2Step<kStops, kExtra>(t, step, lineEnds);
  });
}

__attribute__((target("avx2"))) const unsigned char* ToFaultyByteAvx2(const unsigned char* p,
                                                                      const unsigned char* end) {
  const Tables& tables = Active();
  if (!tables.vector) return ToFaultyByteScalar(p, end);
  const Avx2Set set = Broadcast(tables.allowed);
  if (tables.hasExtra) {
    // Faulty: not allowed, or refused.
    const Avx2Set extra = Broadcast(tables.extra);
    const __m256i zero = _mm256_setzero_si256();
    for (; end - p >= 32; p += 32) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
      const auto notAllowed = static_cast<std::uint32_t>(
          _mm256_movemask_epi8(_mm256_cmpeq_epi8(LookUp32(set, v), zero)));
      const auto notRefused = static_cast<std::uint32_t>(
          _mm256_movemask_epi8(_mm256_cmpeq_epi8(LookUp32(extra, v), zero)));
      const std::uint32_t bad = notAllowed | ~notRefused;
      if (bad) return p + FirstBit(bad);
    }
    return ToFaultyByteScalar(p, end);
  }
  for (; end - p >= 32; p += 32) {
    const __m256i allowed = LookUp32(set, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
    const auto bad = static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(allowed, _mm256_setzero_si256())));
    if (bad) return p + FirstBit(bad);
  }
  return ToFaultyByteSse2(p, end);
}

CleanRun RunAvx2(const unsigned char* p, const unsigned char* end, unsigned stops) {
  const Tables& tables = Active();
  if (!tables.vector) return CleanLinesScalar(p, end, stops);
  if (tables.hasExtra)
    return ByStops(stops, [&](auto k) { return CleanLinesAvx2<decltype(k)::value, true>(p, end); });
  return ByStops(stops, [&](auto k) { return CleanLinesAvx2<decltype(k)::value, false>(p, end); });
}

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

// SSE2 has no look-up for the refused printable characters: a rule with some
// is scanned by the plain loops there, as is, at any level, a rule whose
// faulty bytes the look-ups cannot hold.
const unsigned char* LineBreakSse2OrPlain(const unsigned char* p, const unsigned char* end,
                                          bool& faulty) {
  return Active().hasExtra ? ToLineBreakScalar(p, end, faulty) : ToLineBreakSse2(p, end, faulty);
}
CleanRun RunSse2OrPlain(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return Active().hasExtra ? CleanLinesScalar(p, end, stops) : RunSse2(p, end, stops);
}
const unsigned char* FaultyByteSse2OrPlain(const unsigned char* p, const unsigned char* end) {
  return Active().hasExtra ? ToFaultyByteScalar(p, end) : ToFaultyByteSse2(p, end);
}
bool Ssse3Fits() {
  return Active().vector;
}
__attribute__((target("ssse3"))) const unsigned char* LineBreakSsse3OrPlain(
    const unsigned char* p, const unsigned char* end, bool& faulty) {
  return Ssse3Fits() ? ToLineBreakSsse3(p, end, faulty) : ToLineBreakScalar(p, end, faulty);
}
CleanRun RunSsse3OrPlain(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return Ssse3Fits() ? RunSsse3(p, end, stops) : CleanLinesScalar(p, end, stops);
}
__attribute__((target("ssse3"))) const unsigned char* FaultyByteSsse3OrPlain(
    const unsigned char* p, const unsigned char* end) {
  return Ssse3Fits() ? ToFaultyByteSsse3(p, end) : ToFaultyByteScalar(p, end);
}

constexpr Version kSse2{"sse2", LineBreakSse2OrPlain, RunSse2OrPlain, FaultyByteSse2OrPlain};
constexpr Version kSsse3{"ssse3", LineBreakSsse3OrPlain, RunSsse3OrPlain, FaultyByteSsse3OrPlain};
constexpr Version kAvx2{"avx2", ToLineBreakAvx2, RunAvx2, ToFaultyByteAvx2};

}  // namespace
#endif

namespace {

constexpr Version kScalar{"scalar", ToLineBreakScalar, CleanLinesScalar, ToFaultyByteScalar};

// Best last, each a pointer to a version that lives as long as the program.
std::vector<const Version*> Available() {
  std::vector<const Version*> v{&kScalar};
#ifdef WERYFIKACJA_X86_SIMD
  v.push_back(&kSse2);
  if (CpuHasSsse3()) v.push_back(&kSsse3);
  if (CpuHasAvx2()) v.push_back(&kAvx2);
#endif
  return v;
}

// The best version, or the one WERYFIKACJA_SIMD names if this processor
// has it: a level above what it has cannot be forced.
const Version* Choose() {
  const std::vector<const Version*> all = Available();
  const char* wanted = std::getenv("WERYFIKACJA_SIMD");
  if (wanted)
    for (const Version* v : all)
      if (std::strcmp(v->name, wanted) == 0) return v;
  return all.back();
}

const Version* ChooseNow() {
  const Version* v = Choose();
  detail::chosen.store(v, std::memory_order_relaxed);
  return v;
}
const unsigned char* ChooseAndScan(const unsigned char* p, const unsigned char* end, bool& faulty) {
  return ChooseNow()->toLineBreak(p, end, faulty);
}
CleanRun ChooseAndRun(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return ChooseNow()->cleanLines(p, end, stops);
}
const unsigned char* ChooseAndFind(const unsigned char* p, const unsigned char* end) {
  return ChooseNow()->toFaultyByte(p, end);
}
constexpr Version kChoosing{"choosing", ChooseAndScan, ChooseAndRun, ChooseAndFind};

}  // namespace

// Constant-initialised: valid before any constructor of the program runs.
constinit std::atomic<const Version*> detail::chosen{&kChoosing};

}  // namespace scan

namespace scan {

namespace {
kodowanie::TRegulaZnakow gRegula;
}

void UzyjReguly(const kodowanie::TRegulaZnakow& regula) {
  const bool domyslna = regula.klasa == kodowanie::kRegulaDomyslna.klasa &&
                        regula.bledny == kodowanie::kRegulaDomyslna.bledny && !regula.zalezny &&
                        !regula.crlf;
  gRegula = regula;
  kodowanie::detail::regula = domyslna ? &kodowanie::kRegulaDomyslna : &gRegula;
#ifdef WERYFIKACJA_X86_SIMD
  if (domyslna) {
    gActive = &kDefaultTables;
    return;
  }
  bool refused = false;
  for (const bool z : gRegula.zabroniony) refused = refused || z;
  gTables = MakeTables([](int b) { return gRegula.bledny[b] && !gRegula.zabroniony[b]; },
                       [](int b) { return gRegula.zabroniony[b]; }, refused);
  gActive = &gTables;
#endif
}

bool RegulaWektorowa() {
#ifdef WERYFIKACJA_X86_SIMD
  return gActive->vector;
#else
  return false;
#endif
}

std::vector<Version> Versions() {
  std::vector<Version> v;
  for (const Version* p : Available()) v.push_back(*p);
  return v;
}

const Version& Active() {
  return *Choose();
}

}  // namespace scan
