#pragma once
// Where one or two given bytes stand among 64: one bit a byte, so that a line is
// split at them in one pass instead of one search a field. Sixteen bytes a
// compare with SSE2 (every x86-64 has it, so the choice is made when
// compiling), byte by byte otherwise.
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scan {

// How many bits of a mask are set, without the processor's instruction,
// which the baseline build may not have (the library's fallback is a call).
inline unsigned Jedynek(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<unsigned>((x * 0x0101010101010101ull) >> 56);
}

// Bit i of `ma` (of `mb`): whether byte i of the 64 at d is `a` (is `b`).
inline void MaskiBajtow64(const char* d, char a, char b, std::uint64_t& ma, std::uint64_t& mb) {
  std::uint64_t x = 0, y = 0;
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
  for (unsigned k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * k));
    x |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, va)))}
         << (16 * k);
    y |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, vb)))}
         << (16 * k);
  }
#else
  for (unsigned i = 0; i < 64; ++i) {
    x |= std::uint64_t{d[i] == a} << i;
    y |= std::uint64_t{d[i] == b} << i;
  }
#endif
  ma = x;
  mb = y;
}

// Bit i: whether byte i of the 64 at d is `a`.
inline std::uint64_t MaskaBajtu64(const char* d, char a) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi8(a);
  std::uint64_t x = 0;
  for (unsigned k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * k));
    x |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, va)))}
         << (16 * k);
  }
  return x;
#else
  std::uint64_t x, y;
  MaskiBajtow64(d, a, a, x, y);
  return x;
#endif
}

}  // namespace scan
