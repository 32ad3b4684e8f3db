#pragma once
// What the x86 versions of the line scans share: the look-ups of the rule
// in use as two 16-entry tables a set (built here, at compile time for the
// default rule), the end of a run found from a block's bit masks, and the
// versions each file defines, which LineScanner.cpp chooses among.
#include <immintrin.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "kodowanie/ZnakiDozwolone.h"
#include "scan/LineScanner.h"
#include "scan/scalar/LineScannerScalar.h"

namespace scan::x86 {

using scalar::FinishRun;
using scalar::kCr;
using scalar::kLf;
using scalar::LineStart;
using scalar::OpensRun;

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
inline constexpr Tables kDefaultTables = MakeTables(IsFaulty, NoneRefused, false);
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
extern Tables gTables;
extern const Tables* gActive;

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

// The faulty bytes of a line, 16 at a time (SSE2), for the 16-byte
// versions and for the last bytes of a line the 32-byte one leaves.
inline const unsigned char* ToFaultyByteSse2(const unsigned char* p, const unsigned char* end) {
  const auto& faultyByte = kodowanie::Regula().bledny;
  for (; end - p >= 16; p += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i printable = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(127)),
                                               _mm_cmpgt_epi8(v, _mm_set1_epi8(31)));
    for (std::uint32_t other = ~static_cast<std::uint32_t>(_mm_movemask_epi8(printable)) & 0xFFFFu;
         other; other &= other - 1)
      if (faultyByte[p[FirstBit(other)]]) return p + FirstBit(other);
  }
  return scalar::ToFaultyByte(p, end);
}

// The 16-byte versions (SSE2, and SSSE3 with its byte shuffle) and the
// 32-byte one (AVX2), each with the plain loops where its look-ups cannot
// hold the rule; and whether the processor has the two above SSE2.
extern const Version kSse2;
extern const Version kSsse3;
extern const Version kAvx2;
bool CpuHasSsse3();
bool CpuHasAvx2();

}  // namespace scan::x86
