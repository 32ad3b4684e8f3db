#include "typy/BledneWLinii.h"

#include <algorithm>
#include <optional>

#include "kodowanie/Kodowanie.h"
#include "rekord/PolaRekordu.h"
#include "scan/LineScanner.h"

namespace Typy {

std::vector<std::size_t> BledneWLinii(std::string_view linia) {
  const kodowanie::TRegulaZnakow& r = kodowanie::Regula();
  std::vector<std::size_t> wynik;
  const auto* const poczatek = reinterpret_cast<const unsigned char*>(linia.data());
  const auto* const koniec = poczatek + linia.size();
  // The record's fields are found once, when a refused character needs them.
  std::optional<bool> wRekordzie;
  std::vector<rekord::TPoleRekordu> pola;
  for (const unsigned char* p = scan::ToFaultyByte(poczatek, koniec); p < koniec;
       p = scan::ToFaultyByte(p + 1, koniec)) {
    const auto i = static_cast<std::size_t>(p - poczatek);
    if (r.utf8 && *p >= 0x80 && p + 1 < koniec && kodowanie::PolskaLiteraUtf8(p[0], p[1])) {
      ++p;  // the letter's second byte is part of it
      continue;
    }
    if (r.zabroniony[*p]) {
      if (!wRekordzie) wRekordzie = rekord::PodzielRekord(linia, pola) == rekord::Rekord::Tak;
      if (*wRekordzie && !rekord::WTekscie(linia, pola, i)) continue;
    }
    wynik.push_back(i + 1);
  }
  return wynik;
}

std::size_t TKolumnyZnakow::operator()(std::size_t pos) {
  if (!kodowanie::Regula().utf8) return pos;
  const auto* const p = reinterpret_cast<const unsigned char*>(linia_.data());
  const auto* const koniec = p + linia_.size();
  while (bajt_ < linia_.size()) {
    const kodowanie::TSekwencja s = kodowanie::DekodujUtf8(p + bajt_, koniec);
    const std::size_t n = s.dlugosc == 0 ? 1 : s.dlugosc;
    if (bajt_ + n >= pos) break;  // this character holds the byte
    bajt_ += n;
    ++znaki_;
  }
  return znaki_ + 1;
}

bool CzyBlednyWLinii(std::string_view linia, std::size_t pos) {
  if (pos == 0 || pos > linia.size()) return false;
  if (!kodowanie::Regula().bledny[static_cast<unsigned char>(linia[pos - 1])]) return false;
  if (!kodowanie::Regula().zalezny) return true;
  const std::vector<std::size_t> b = BledneWLinii(linia);
  return std::binary_search(b.begin(), b.end(), pos);
}

}  // namespace Typy
