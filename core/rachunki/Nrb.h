#pragma once
// Polish account numbers (NRB): 26 digits, the first two of them check
// digits over the whole number (ISO 13616, the IBAN rule with "PL"), digits
// 3 to 10 the bank's sort code, whose eighth digit checks its first seven.
// A mistyped digit or two neighbouring digits swapped always break the
// check digits, so a wrong number is found before the bank refuses it, or
// pays someone else.
//
// The finder takes a number in the ways people write it: 26 digits in a
// row, grouped as printed (XX XXXX XXXX XXXX XXXX XXXX XXXX, with spaces or
// hyphens), with "PL" in front. A run of more digits, or a grouping that
// goes on, is something else and is left alone.
#include <cstddef>
#include <string_view>

namespace rachunki {

inline constexpr std::size_t kCyfrNrb = 26;

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
// its first digit to its last digit), and its 26 digits.
struct TNumerWLinii {
  std::size_t poczatek = 0;
  std::size_t dlugosc = 0;
  char cyfry[kCyfrNrb]{};
  std::string_view Cyfry() const { return {cyfry, kCyfrNrb}; }
};

// Calls `f` with every number in the line, left to right. Fast where a line
// holds no long stretch of digits, spaces and hyphens: only every 26th byte
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
inline bool WNumerze(char c) {
  return Cyfra(c) || Odstep(c);
}

// The number starting at the digit run at `s` within [.., koniec), if any.
bool NumerOd(std::string_view linia, std::size_t s, std::size_t koniec, TNumerWLinii& n,
             std::size_t& dalej);

}  // namespace detail

template <class F>
void ZnajdzNumery(std::string_view linia, F&& f) {
  const std::size_t rozmiar = linia.size();
  std::size_t i = kCyfrNrb - 1;
  while (i < rozmiar) {
    if (!detail::WNumerze(linia[i])) {
      i += kCyfrNrb;
      continue;
    }
    // A stretch of digits, spaces and hyphens: a number lies wholly in one,
    // and a number of the shortest form still takes 26 of its bytes.
    std::size_t a = i, b = i + 1;
    while (a > 0 && detail::WNumerze(linia[a - 1])) --a;
    while (b < rozmiar && detail::WNumerze(linia[b])) ++b;
    if (b - a >= kCyfrNrb) {
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
    i = b + kCyfrNrb;
  }
}

}  // namespace rachunki
