#include "profil/RegulaZnakow.h"

#include <algorithm>
#include <optional>
#include <span>

#include "linie/LineScanner.h"
#include "rachunki/ElixirO.h"

namespace profile {

namespace {

using kodowanie::TKodowanie;

// The eighteen letters (Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż) in each
// single-byte encoding a bank reads.
constexpr unsigned char kIso8859_2[18] = {0xA1, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0xA6, 0xAC, 0xAF,
                                          0xB1, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0xB6, 0xBC, 0xBF};
constexpr unsigned char kCp852[18] = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD,
                                      0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};
// ... and in UTF-8: the second byte after C3, C4 or C5.
constexpr unsigned char kUtf8[18][2] = {
    {0xC4, 0x84}, {0xC4, 0x86}, {0xC4, 0x98}, {0xC5, 0x81}, {0xC5, 0x83}, {0xC3, 0x93},
    {0xC5, 0x9A}, {0xC5, 0xB9}, {0xC5, 0xBB}, {0xC4, 0x85}, {0xC4, 0x87}, {0xC4, 0x99},
    {0xC5, 0x82}, {0xC5, 0x84}, {0xC3, 0xB3}, {0xC5, 0x9B}, {0xC5, 0xBA}, {0xC5, 0xBC}};

std::span<const unsigned char> Litery(TKodowanie k) {
  switch (k) {
    case TKodowanie::Iso8859_2:
      return kIso8859_2;
    case TKodowanie::Cp852:
      return kCp852;
    case TKodowanie::Utf8:
      return {};
    default:
      return std::span(Typy::ZnakiDozwolone).first<18>();
  }
}

TProfil& Aktywny() {
  static TProfil p = Domyslny();
  return p;
}

}  // namespace

// Whether byte i of a line is in a field's text of the Elixir-O record the
// line is: inside a quoted field, and not the "|" between its lines.
bool WTekscie(std::string_view linia, const std::vector<rachunki::TPoleRekordu>& pola,
              std::size_t i) {
  if (linia[i] == '|') return false;
  return std::any_of(pola.begin(), pola.end(), [i](const rachunki::TPoleRekordu& p) {
    return p.wCudzyslowie && i >= p.poczatek && i < p.poczatek + p.dlugosc;
  });
}

Typy::TRegulaZnakow RegulaZnakow(const TProfil& p) {
  return Typy::ZbudujRegule(Litery(p.kodowanie), p.zabronione, p.konceLinii == TKonceLinii::CRLF);
}

void UzyjProfilu(const TProfil& p) {
  scan::UzyjReguly(RegulaZnakow(p));
  Aktywny() = p;
}

const TProfil& AktywnyProfil() {
  return Aktywny();
}

std::size_t ZapiszLitere(int cp1250, kodowanie::TKodowanie k, char* out) {
  for (std::size_t i = 0; i < 18; ++i) {
    if (Typy::ZnakiDozwolone[i] != cp1250) continue;
    if (k == TKodowanie::Utf8) {
      out[0] = static_cast<char>(kUtf8[i][0]);
      out[1] = static_cast<char>(kUtf8[i][1]);
      return 2;
    }
    out[0] = static_cast<char>(Litery(k)[i]);
    return 1;
  }
  return 0;
}

bool PolskaLiteraUtf8(unsigned char pierwszy, unsigned char drugi) {
  for (const auto& l : kUtf8)
    if (l[0] == pierwszy && l[1] == drugi) return true;
  return false;
}

}  // namespace profile

namespace Typy {

std::vector<std::size_t> BledneWLinii(std::string_view linia) {
  const TRegulaZnakow& r = Regula();
  std::vector<std::size_t> wynik;
  const auto* const poczatek = reinterpret_cast<const unsigned char*>(linia.data());
  const auto* const koniec = poczatek + linia.size();
  // The record's fields are found once, when a refused character needs them.
  std::optional<bool> rekord;
  std::vector<rachunki::TPoleRekordu> pola;
  for (const unsigned char* p = scan::ToFaultyByte(poczatek, koniec); p < koniec;
       p = scan::ToFaultyByte(p + 1, koniec)) {
    const auto i = static_cast<std::size_t>(p - poczatek);
    if (r.utf8 && *p >= 0x80 && p + 1 < koniec && profile::PolskaLiteraUtf8(p[0], p[1])) {
      ++p;  // the letter's second byte is part of it
      continue;
    }
    if (r.zabroniony[*p]) {
      if (!rekord) rekord = rachunki::PodzielRekord(linia, pola) == rachunki::Rekord::Tak;
      if (*rekord && !profile::WTekscie(linia, pola, i)) continue;
    }
    wynik.push_back(i + 1);
  }
  return wynik;
}

std::size_t TKolumnyZnakow::operator()(std::size_t pos) {
  if (!Regula().utf8) return pos;
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
  if (!Regula().bledny[static_cast<unsigned char>(linia[pos - 1])]) return false;
  if (!Regula().zalezny) return true;
  const std::vector<std::size_t> b = BledneWLinii(linia);
  return std::binary_search(b.begin(), b.end(), pos);
}

}  // namespace Typy
