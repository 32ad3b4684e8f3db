// The line scans 16 bytes at a time: SSE2, which every x86-64 has, and
// SSSE3, whose byte shuffle looks a whole vector up in the rule's tables.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include "scan/x86/LineScannerX86.h"

namespace scan::x86 {

namespace {

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
  return scalar::ToLineBreak(p, end, faulty);
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
  return scalar::ToFaultyByte(p, end);
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

}  // namespace

bool CpuHasSsse3() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("ssse3");
}

namespace {

// SSE2 has no look-up for the refused printable characters: a rule with some
// is scanned by the plain loops there, as is, at any level, a rule whose
// faulty bytes the look-ups cannot hold.
const unsigned char* LineBreakSse2OrPlain(const unsigned char* p, const unsigned char* end,
                                          bool& faulty) {
  return Active().hasExtra ? scalar::ToLineBreak(p, end, faulty) : ToLineBreakSse2(p, end, faulty);
}
CleanRun RunSse2OrPlain(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return Active().hasExtra ? scalar::CleanLines(p, end, stops) : RunSse2(p, end, stops);
}
const unsigned char* FaultyByteSse2OrPlain(const unsigned char* p, const unsigned char* end) {
  return Active().hasExtra ? scalar::ToFaultyByte(p, end) : ToFaultyByteSse2(p, end);
}
bool Ssse3Fits() {
  return Active().vector;
}
__attribute__((target("ssse3"))) const unsigned char* LineBreakSsse3OrPlain(
    const unsigned char* p, const unsigned char* end, bool& faulty) {
  return Ssse3Fits() ? ToLineBreakSsse3(p, end, faulty) : scalar::ToLineBreak(p, end, faulty);
}
CleanRun RunSsse3OrPlain(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return Ssse3Fits() ? RunSsse3(p, end, stops) : scalar::CleanLines(p, end, stops);
}
__attribute__((target("ssse3"))) const unsigned char* FaultyByteSsse3OrPlain(
    const unsigned char* p, const unsigned char* end) {
  return Ssse3Fits() ? ToFaultyByteSsse3(p, end) : scalar::ToFaultyByte(p, end);
}

}  // namespace

const Version kSse2{"sse2", LineBreakSse2OrPlain, RunSse2OrPlain, FaultyByteSse2OrPlain};
const Version kSsse3{"ssse3", LineBreakSsse3OrPlain, RunSsse3OrPlain, FaultyByteSsse3OrPlain};

}  // namespace scan::x86

#endif
