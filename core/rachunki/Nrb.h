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
#include <cstddef>
#include <string_view>

#include "scan/Cyfry.h"

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
  // The 26 digits where they stand in the line when written in a row, else
  // null and copied out of their groups into `cyfry`: read in place, they
  // are not read back from a copy just written, which the processor would
  // wait for.
  const char* wLinii = nullptr;
  char cyfry[kCyfrNrb]{};
  std::string_view Cyfry() const { return {wLinii ? wLinii : cyfry, kCyfrNrb}; }
};

// Calls `f` with every number in the line, left to right. Fast where a line
// holds no long stretch of digits, spaces and hyphens: only every 24th byte
// is looked at there. With `od` and `doo`, only the numbers whose digits
// lie in that part of the line: a part no stretch of digits, spaces and
// hyphens crosses (a record's field), whatever stands around it.
template <class F>
void ZnajdzNumery(std::string_view linia, F&& f, std::size_t od = 0,
                  std::size_t doo = std::string_view::npos);

namespace detail {

// The number starting at the digit run at `s` within [.., koniec), if any.
bool NumerOd(std::string_view linia, std::size_t s, std::size_t koniec, TNumerWLinii& n,
             std::size_t& dalej);

// The numbers in one stretch [a, b) of digits, spaces and hyphens, left to
// right.
template <class F>
void NumeryOdcinka(std::string_view linia, std::size_t a, std::size_t b, F& f) {
  for (std::size_t s = a; s < b;) {
    if (!scan::Cyfra(linia[s])) {
      ++s;
      continue;
    }
    TNumerWLinii n;
    std::size_t dalej = s;
    if (NumerOd(linia, s, b, n, dalej)) f(static_cast<const TNumerWLinii&>(n));
    s = dalej;
  }
}

}  // namespace detail

template <class F>
void ZnajdzNumery(std::string_view linia, F&& f, std::size_t od, std::size_t doo) {
  // Every number, and every account after "PL" a digit short, takes this
  // many bytes of one stretch of digits, spaces and hyphens.
  constexpr std::size_t kKrok = kNajmniejCyfrPoPL;
  const std::size_t rozmiar = linia.size();
  const std::size_t koniec = doo < rozmiar ? doo : rozmiar;
  std::size_t i = od + kKrok - 1;
  while (i < koniec) {
    // Within a number a space or hyphen stands next to a digit (two spaces
    // between groups: each has one on a side); one that does not is in
    // text, and a number lying in the same stretch still meets a later
    // look.
    const char c = linia[i];
    if (!scan::Cyfra(c) &&
        (!scan::Odstep(c) ||
         (!scan::Cyfra(linia[i - 1]) && (i + 1 == rozmiar || !scan::Cyfra(linia[i + 1]))))) {
      i += kKrok;
      continue;
    }
    const std::size_t a = scan::Skad<scan::MaskaNumeru>(linia, i);
    const std::size_t b = scan::Dokad<scan::MaskaNumeru>(linia, i + 1);
    if (b - a >= kKrok) detail::NumeryOdcinka(linia, a, b, f);
    i = b + kKrok;
  }
}

}  // namespace rachunki
