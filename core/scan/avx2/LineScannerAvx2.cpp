// The line scans 32 bytes at a time, for processors with AVX2.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include "scan/x86/LineScannerX86.h"

namespace scan::x86 {

namespace {

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
  if (!tables.vector) return scalar::ToLineBreak(p, end, faulty);
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
  if (!tables.vector) return scalar::ToFaultyByte(p, end);
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
    return scalar::ToFaultyByte(p, end);
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
  if (!tables.vector) return scalar::CleanLines(p, end, stops);
  if (tables.hasExtra)
    return ByStops(stops, [&](auto k) { return CleanLinesAvx2<decltype(k)::value, true>(p, end); });
  return ByStops(stops, [&](auto k) { return CleanLinesAvx2<decltype(k)::value, false>(p, end); });
}

}  // namespace

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

const Version kAvx2{"avx2", ToLineBreakAvx2, RunAvx2, ToFaultyByteAvx2};

}  // namespace scan::x86

#endif
