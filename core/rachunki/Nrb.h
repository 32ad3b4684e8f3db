#pragma once
// Polish account numbers (NRB): 26 digits, the first two of them check
// digits over the whole number (ISO 13616, the IBAN rule with "PL"), digits
// 3 to 10 the bank's sort code, whose eighth digit checks its first seven.
// A mistyped digit or two neighbouring digits swapped always break the
// check digits, so a wrong number is found before the bank refuses it, or
// pays someone else.
//
// The finder takes a number in the ways people write it: 26 digits in a
// row, grouped as printed (XX XXXX XXXX XXXX XXXX XXXX XXXX, or as some
// offices print it XX XXXXXXXX XXXX XXXX XXXX XXXX; groups apart by one or
// two spaces or a hyphen), with "PL" or "IBAN" in front, and followed by
// whatever a list puts after it (an amount, most often). A run of more
// digits, or a grouping that goes on, is something else and is left alone,
// unless the check digits of its first 26 fit or "PL" says it is an
// account; after "PL" or "IBAN" a number of digits other than 26 is told as
// such.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rachunki {

inline constexpr std::size_t kCyfrNrb = 26;
// After "PL" or "IBAN", this many digits or more (up to an IBAN's 34) are an
// account written with a digit lost or added; fewer are something else.
inline constexpr std::size_t kNajmniejCyfrPoPL = 24;
inline constexpr std::size_t kNajwiecejCyfrPoPL = 34;

enum class WynikNrb : unsigned char {
  Poprawny,
  // The check digits do not fit the number: some digit is wrong, which one
  // cannot be told.
  SumaKontrolna,
  // The check digits fit, yet the sort code's own check digit does not.
  NumerBanku,
  // Neither fits: most likely a digit of the sort code is wrong.
  SumaINumerBanku,
};

// The 26 digits leave 1 modulo 97 when read as the IBAN rule reads them.
bool SumaKontrolnaPoprawna(std::string_view cyfry26);
// Eight digits of a sort code whose last one checks the first seven.
bool NumerBankuPoprawny(std::string_view cyfry8);
WynikNrb SprawdzNrb(std::string_view cyfry26);

// One number as found in a line: where it stands, as written (from "PL" or
// its first digit to its last digit), and its 26 digits; or, when not
// `pelny`, an account after "PL" or "IBAN" that has not 26 digits.
struct TNumerWLinii {
  std::size_t poczatek = 0;
  std::size_t dlugosc = 0;
  bool pelny = true;
  char cyfry[kCyfrNrb]{};
  std::string_view Cyfry() const { return {cyfry, kCyfrNrb}; }
};

// Calls `f` with every number in the line, left to right. Fast where a line
// holds no long stretch of digits, spaces and hyphens: only every 24th byte
// is looked at there.
template <class F>
void ZnajdzNumery(std::string_view linia, F&& f);

namespace detail {

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

// The number starting at the digit run at `s` within [.., koniec), if any.
bool NumerOd(std::string_view linia, std::size_t s, std::size_t koniec, TNumerWLinii& n,
             std::size_t& dalej);

}  // namespace detail

template <class F>
void ZnajdzNumery(std::string_view linia, F&& f) {
  // Every number, and every account after "PL" a digit short, takes this
  // many bytes of one stretch of digits, spaces and hyphens.
  constexpr std::size_t kKrok = kNajmniejCyfrPoPL;
  const std::size_t rozmiar = linia.size();
  std::size_t i = kKrok - 1;
  while (i < rozmiar) {
    // Within a number a space or hyphen stands next to a digit (two spaces
    // between groups: each has one on a side); one that does not is in
    // text, and a number lying in the same stretch still meets a later
    // look.
    const char c = linia[i];
    if (!detail::Cyfra(c) &&
        (!detail::Odstep(c) ||
         (!detail::Cyfra(linia[i - 1]) && (i + 1 == rozmiar || !detail::Cyfra(linia[i + 1]))))) {
      i += kKrok;
      continue;
    }
    const std::size_t a = detail::Skad<detail::MaskaNumeru>(linia, i);
    const std::size_t b = detail::Dokad<detail::MaskaNumeru>(linia, i + 1);
    if (b - a >= kKrok) {
      for (std::size_t s = a; s < b;) {
        if (!detail::Cyfra(linia[s])) {
          ++s;
          continue;
        }
        TNumerWLinii n;
        std::size_t dalej = s;
        if (detail::NumerOd(linia, s, b, n, dalej)) f(static_cast<const TNumerWLinii&>(n));
        s = dalej;
      }
    }
    i = b + kKrok;
  }
}

}  // namespace rachunki
