#include "rachunki/Nrb.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace rachunki {

namespace {

// Eight digits as a number, all at once: pairs, then fours, then eight.
std::uint64_t Osiem8(const char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  v -= detail::k01 * '0';
  v = (v * (1 + (10 << 8))) >> 8 & 0x00FF00FF00FF00FF;
  v = (v * (1 + (100 << 16))) >> 16 & 0x0000FFFF0000FFFF;
  return (v * (1 + (10000ull << 32))) >> 32;
}

}  // namespace

// 10^k modulo 97, for the weight of a group of digits.
constexpr std::uint64_t PotegaDziesieciMod97(unsigned k) {
  std::uint64_t r = 1;
  for (unsigned i = 0; i < k; ++i) r = r * 10 % 97;
  return r;
}

bool SumaKontrolnaPoprawna(std::string_view c) {
  if (c.size() != kCyfrNrb) return false;
  // The digits after the check digits, then "PL" as 25 21, then the check
  // digits: one number of 30 digits. Its three groups of eight digits are
  // read side by side and weighted by their place modulo 97; the weighted
  // sum stays far within 64 bits, so one remainder at the end suffices.
  const std::uint64_t a = Osiem8(c.data() + 2);
  const std::uint64_t b = Osiem8(c.data() + 10);
  const std::uint64_t d = Osiem8(c.data() + 18);
  const std::uint64_t suma =
      a * PotegaDziesieciMod97(22) + b * PotegaDziesieciMod97(14) + d * PotegaDziesieciMod97(6) +
      252100 + static_cast<unsigned>(c[0] - '0') * 10 + static_cast<unsigned>(c[1] - '0');
  return suma % 97 == 1;
}

bool NumerBankuPoprawny(std::string_view c) {
  if (c.size() != 8) return false;
  constexpr unsigned kWagi[7] = {3, 9, 7, 1, 3, 9, 7};
  unsigned suma = 0;
  for (std::size_t i = 0; i < 7; ++i) suma += kWagi[i] * static_cast<unsigned>(c[i] - '0');
  return static_cast<unsigned>(c[7] - '0') == (10 - suma % 10) % 10;
}

WynikNrb SprawdzNrb(std::string_view cyfry) {
  const bool suma = SumaKontrolnaPoprawna(cyfry);
  const bool bank = NumerBankuPoprawny(cyfry.substr(2, 8));
  if (suma) return bank ? WynikNrb::Poprawny : WynikNrb::NumerBanku;
  return bank ? WynikNrb::SumaKontrolna : WynikNrb::SumaINumerBanku;
}

namespace detail {

bool NumerOd(std::string_view l, std::size_t s, std::size_t koniec, TNumerWLinii& n,
             std::size_t& dalej) {
  const std::size_t e = std::min(Dokad<MaskaCyfr>(l, s), koniec);
  dalej = e;
  if (e - s == kCyfrNrb) {
    std::memcpy(n.cyfry, l.data() + s, kCyfrNrb);
  } else if (e - s == 2) {
    // The printed grouping: two digits, then six groups of four, each after
    // one space or hyphen. A group going on after the last is a longer
    // number of some other kind.
    if (s + 32 > koniec) return false;
    n.cyfry[0] = l[s];
    n.cyfry[1] = l[s + 1];
    for (std::size_t g = 0; g < 6; ++g) {
      const std::size_t p = e + 5 * g;
      if (!Odstep(l[p])) return false;
      for (std::size_t j = 0; j < 4; ++j) {
        if (!Cyfra(l[p + 1 + j])) return false;
        n.cyfry[2 + 4 * g + j] = l[p + 1 + j];
      }
    }
    const std::size_t p = s + 32;
    if (p < koniec && Cyfra(l[p])) return false;
    if (p + 1 < koniec && Odstep(l[p]) && Cyfra(l[p + 1])) return false;
    dalej = p;
  } else {
    return false;
  }
  n.poczatek = s;
  if (s >= 2 && l[s - 2] == 'P' && l[s - 1] == 'L') n.poczatek = s - 2;
  n.dlugosc = dalej - n.poczatek;
  return true;
}

}  // namespace detail
}  // namespace rachunki
