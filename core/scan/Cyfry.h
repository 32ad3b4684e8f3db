#pragma once
// Runs of digits (and of the spaces and hyphens that group them) in a line:
// eight bytes at a time in a 64-bit word, sixteen at a time in a vector
// register where the processor has SSE2 (every x86-64 does, so the choice
// is made when compiling). The account finder and the record's fields read
// them.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scan {

inline bool Cyfra(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}
inline bool Odstep(char c) {
  return c == ' ' || c == '-';
}

// Eight bytes at a time: the high bit of each byte of the result is set
// where the byte is a digit, or a digit, space or hyphen.
inline constexpr std::uint64_t k01 = 0x0101010101010101;
inline constexpr std::uint64_t k7F = k01 * 0x7F;
inline constexpr std::uint64_t k80 = k01 * 0x80;
inline std::uint64_t Osiem(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
  return w;
}
inline std::uint64_t MaskaCyfr(std::uint64_t w) {
  const std::uint64_t x = w ^ (k01 * '0');
  return ~(((x & k7F) + k01 * (0x80 - 10)) | x) & k80;
}
inline std::uint64_t MaskaBajtu(std::uint64_t w, unsigned char c) {
  const std::uint64_t z = w ^ (k01 * c);
  return ~(((z & k7F) + k7F) | z) & k80;
}
inline std::uint64_t MaskaNumeru(std::uint64_t w) {
  return MaskaCyfr(w) | MaskaBajtu(w, ' ') | MaskaBajtu(w, '-');
}
// Eight digits read as one word (Osiem) as a number, all at once: pairs,
// then fours, then the whole. The caller knows they are digits.
inline std::uint32_t LiczbaZOsmiu(std::uint64_t w) {
  w -= k01 * '0';
  w = (w * (1 + (10 << 8))) >> 8 & 0x00FF00FF00FF00FF;
  w = (w * (1 + (100 << 16))) >> 16 & 0x0000FFFF0000FFFF;
  return static_cast<std::uint32_t>((w * (1 + (10000ull << 32))) >> 32);
}
// A field of one to eight bytes ending at `koniec`, with at least eight
// bytes of the line before `koniec` (an amount in a record): whether it is
// all digits, and then its value. One word read, the bytes before the field
// taken for leading zeros.
inline bool KrotkaLiczba(const char* koniec, std::size_t n, std::uint64_t& wartosc) {
  if (n == 0 || n > 8) return false;
  const std::uint64_t pole = ~std::uint64_t{0} << (8 * (8 - n));
  const std::uint64_t w = (Osiem(koniec - 8) & pole) | ((k01 * '0') & ~pole);
  if (MaskaCyfr(w) != k80) return false;
  wartosc = LiczbaZOsmiu(w);
  return true;
}

// Whether the 26 bytes at p are all digits, as an account's are: four
// words that overlap, with no loop.
inline bool Cyfr26(const char* p) {
  return (MaskaCyfr(Osiem(p)) & MaskaCyfr(Osiem(p + 8)) & MaskaCyfr(Osiem(p + 16)) &
          MaskaCyfr(Osiem(p + 18))) == k80;
}

#if defined(__SSE2__)
// Whether a mask also marks spaces and hyphens. Told by specialisation, not
// by comparing the pointers: GCC with the sanitizers does not take such a
// comparison as a constant expression.
template <std::uint64_t (*Maska)(std::uint64_t)>
inline constexpr bool kZOdstepami = false;
template <>
inline constexpr bool kZOdstepami<&MaskaNumeru> = true;

// The same marks for sixteen bytes at once, one bit a byte.
template <std::uint64_t (*Maska)(std::uint64_t)>
unsigned Szesnascie(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i m = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('0' - 1)),
                            _mm_cmplt_epi8(v, _mm_set1_epi8('9' + 1)));
  if constexpr (kZOdstepami<Maska>)
    m = _mm_or_si128(m, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                     _mm_cmpeq_epi8(v, _mm_set1_epi8('-'))));
  return static_cast<unsigned>(_mm_movemask_epi8(m));
}
#endif

// The first byte at or after `i` that `maska` does not mark, or the end.
template <std::uint64_t (*Maska)(std::uint64_t)>
std::size_t Dokad(std::string_view l, std::size_t i) {
#if defined(__SSE2__)
  for (; i + 16 <= l.size(); i += 16) {
    const unsigned poza = ~Szesnascie<Maska>(l.data() + i) & 0xFFFFu;
    if (poza) return i + static_cast<std::size_t>(std::countr_zero(poza));
  }
#endif
  for (; i + 8 <= l.size(); i += 8) {
    const std::uint64_t poza = ~Maska(Osiem(l.data() + i)) & k80;
    if (poza) return i + static_cast<std::size_t>(std::countr_zero(poza)) / 8;
  }
  while (i < l.size() && (Maska(static_cast<unsigned char>(l[i])) & 0x80)) ++i;
  return i;
}
// A field of digits only: eight at a time, as most are dates, sort codes,
// amounts and accounts.
inline bool SameCyfry(std::string_view s) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8)
    if (MaskaCyfr(Osiem(s.data() + i)) != k80) return false;
  // The last eight again when they overlap the ones looked at.
  if (i < n && n >= 8) return MaskaCyfr(Osiem(s.data() + n - 8)) == k80;
  for (; i < n; ++i)
    if (!Cyfra(s[i])) return false;
  return n > 0;
}

// The first byte of the marked stretch ending before `i`.
template <std::uint64_t (*Maska)(std::uint64_t)>
std::size_t Skad(std::string_view l, std::size_t i) {
#if defined(__SSE2__)
  for (; i >= 16; i -= 16) {
    const unsigned poza = ~Szesnascie<Maska>(l.data() + i - 16) & 0xFFFFu;
    if (poza) return i - 16 + static_cast<std::size_t>(31 - std::countl_zero(poza)) + 1;
  }
#endif
  for (; i >= 8; i -= 8) {
    const std::uint64_t poza = ~Maska(Osiem(l.data() + i - 8)) & k80;
    if (poza) return i - 8 + static_cast<std::size_t>(63 - std::countl_zero(poza)) / 8 + 1;
  }
  while (i > 0 && (Maska(static_cast<unsigned char>(l[i - 1])) & 0x80)) --i;
  return i;
}

}  // namespace scan
