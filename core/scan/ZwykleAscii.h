#pragma once
// Skipping printable ASCII sixteen bytes at a time (SSE2, which every x86-64
// has, so the choice is made when compiling), eight at a time in a 64-bit
// word otherwise: most of a transfer file is printable ASCII, which every
// candidate encoding reads alike.
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scan {

// The mask of the bytes of 16 at p that are not in 20..7E (bit i: byte i).
#if defined(__SSE2__)
inline unsigned NiezwykleZ16(const unsigned char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  // Bytes 80..FF are negative as signed bytes, so one signed compare finds
  // everything outside 20..7F; 7F is added.
  const __m128i zwykle = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)),
                                          _mm_cmpgt_epi8(v, _mm_set1_epi8(0x1F)));
  return ~static_cast<unsigned>(_mm_movemask_epi8(zwykle)) & 0xFFFFu;
}
#else
inline unsigned NiezwykleZ16(const unsigned char* p) {
  unsigned m = 0;
  for (unsigned i = 0; i < 16; ++i) m |= unsigned{p[i] < 0x20 || p[i] >= 0x7F} << i;
  return m;
}
#endif

// The number of bytes at the start of [p, p + n) that lie in 20..7E.
inline std::size_t DlugoscZwyklych(const unsigned char* p, std::size_t n) {
#if defined(__SSE2__)
  std::size_t j = 0;
  for (; j + 16 <= n; j += 16) {
    const unsigned m = NiezwykleZ16(p + j);
    if (m) return j + static_cast<std::size_t>(__builtin_ctz(m));
  }
  p += j;
  n -= j;
  const std::size_t reszta = j;
#else
  const std::size_t reszta = 0;
#endif
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    // A high bit, a byte below 20 (found exactly among bytes below 80) or 7F.
    const std::uint64_t below = (w - kOnes * 0x20) & ~w & kHigh;
    const std::uint64_t x = w ^ (kOnes * 0x7F);
    const std::uint64_t del = (x - kOnes) & ~x & kHigh;
    if ((w & kHigh) | below | del) break;
  }
  while (i < n && p[i] >= 0x20 && p[i] < 0x7F) ++i;
  return reszta + i;
}

}  // namespace scan
