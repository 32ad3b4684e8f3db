#include "rachunki/Nrb.h"

namespace rachunki {

bool SumaKontrolnaPoprawna(std::string_view c) {
  if (c.size() != kCyfrNrb) return false;
  // The digits after the check digits, then "PL" as 25 21, then the check
  // digits: one number, taken modulo 97 digit by digit.
  unsigned r = 0;
  auto dodaj = [&r](char d) { r = (r * 10 + static_cast<unsigned>(d - '0')) % 97; };
  for (std::size_t i = 2; i < kCyfrNrb; ++i) dodaj(c[i]);
  for (char d : {'2', '5', '2', '1'}) dodaj(d);
  dodaj(c[0]);
  dodaj(c[1]);
  return r == 1;
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
  std::size_t e = s;
  while (e < koniec && Cyfra(l[e])) ++e;
  const std::size_t run = e - s;
  dalej = e;
  std::size_t k = 0;
  if (run == kCyfrNrb) {
    for (std::size_t i = s; i < e; ++i) n.cyfry[k++] = l[i];
  } else if (run == 2) {
    // The printed grouping: two digits, then six groups of four, each after
    // one space or hyphen. A group going on after the last is a longer
    // number of some other kind.
    n.cyfry[k++] = l[s];
    n.cyfry[k++] = l[s + 1];
    std::size_t p = e;
    for (int g = 0; g < 6; ++g) {
      if (p + 5 > koniec || !Odstep(l[p])) return false;
      for (std::size_t i = p + 1; i < p + 5; ++i) {
        if (!Cyfra(l[i])) return false;
        n.cyfry[k++] = l[i];
      }
      p += 5;
    }
    if (p < koniec && Cyfra(l[p])) return false;
    if (p + 1 < koniec && Odstep(l[p]) && Cyfra(l[p + 1])) return false;
    e = p;
    dalej = e;
  } else {
    return false;
  }
  n.poczatek = s;
  if (s >= 2 && l[s - 2] == 'P' && l[s - 1] == 'L') n.poczatek = s - 2;
  n.dlugosc = e - n.poczatek;
  return true;
}

}  // namespace detail
}  // namespace rachunki
