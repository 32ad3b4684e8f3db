#include "rachunki/Uwagi.h"

#include <algorithm>

#include <string>

#include "kodowanie/Cp1250.h"
#include "profil/RegulaZnakow.h"
#include "rachunki/Nrb.h"

namespace rachunki {

std::string_view NazwaPola(Pole p) {
  static constexpr cp1250::Literal kRachunek{u8"numer rachunku"};
  static constexpr cp1250::Literal kRodzaj{u8"rodzaj zlecenia"};
  static constexpr cp1250::Literal kData{u8"data wykonania"};
  static constexpr cp1250::Literal kKwota{u8"kwota"};
  static constexpr cp1250::Literal kBankZ{u8"numer banku zleceniodawcy"};
  static constexpr cp1250::Literal kRachunekZ{u8"rachunek zleceniodawcy"};
  static constexpr cp1250::Literal kRachunekK{u8"rachunek kontrahenta"};
  static constexpr cp1250::Literal kNazwaZ{u8"nazwa zleceniodawcy"};
  static constexpr cp1250::Literal kNazwaK{u8"nazwa kontrahenta"};
  static constexpr cp1250::Literal kBankK{u8"numer banku kontrahenta"};
  static constexpr cp1250::Literal kTytul{u8"tytuł"};
  static constexpr cp1250::Literal kKlasyfikacja{u8"klasyfikacja"};
  static constexpr cp1250::Literal kRekord{u8"rekord"};
  static constexpr cp1250::Literal kKoniecLinii{u8"koniec linii"};
  switch (p) {
    case Pole::Rachunek:
      return kRachunek;
    case Pole::RodzajZlecenia:
      return kRodzaj;
    case Pole::Data:
      return kData;
    case Pole::Kwota:
      return kKwota;
    case Pole::BankZleceniodawcy:
      return kBankZ;
    case Pole::RachunekZleceniodawcy:
      return kRachunekZ;
    case Pole::RachunekKontrahenta:
      return kRachunekK;
    case Pole::NazwaZleceniodawcy:
      return kNazwaZ;
    case Pole::NazwaKontrahenta:
      return kNazwaK;
    case Pole::BankKontrahenta:
      return kBankK;
    case Pole::Tytul:
      return kTytul;
    case Pole::Klasyfikacja:
      return kKlasyfikacja;
    case Pole::Rekord:
      return kRekord;
    case Pole::KoniecLinii:
      return kKoniecLinii;
  }
  return {};
}

std::string_view OpisBledu(Blad b) {
  static constexpr cp1250::Literal kSuma{u8"błędna suma kontrolna numeru rachunku"};
  static constexpr cp1250::Literal kBankWRachunku{
      u8"błędny numer rozliczeniowy banku w numerze rachunku"};
  static constexpr cp1250::Literal kSumaIBank{
      u8"błędna suma kontrolna i numer rozliczeniowy banku w numerze rachunku"};
  static constexpr cp1250::Literal kRodzaj{u8"nieznany rodzaj zlecenia (110, 120 lub 210)"};
  static constexpr cp1250::Literal kData{u8"nie jest prawdziwą datą RRRRMMDD"};
  static constexpr cp1250::Literal kKwotaZnaki{
      u8"nie w groszach (same cyfry, bez przecinka i kropki)"};
  static constexpr cp1250::Literal kKwotaZero{u8"musi być większa od zera"};
  static constexpr cp1250::Literal kBankZnaki{u8"numer rozliczeniowy banku to 8 cyfr"};
  static constexpr cp1250::Literal kBankCyfra{
      u8"błędna cyfra kontrolna numeru rozliczeniowego banku"};
  static constexpr cp1250::Literal kBankInny{
      u8"numer rozliczeniowy banku inny niż w numerze rachunku"};
  static constexpr cp1250::Literal kNieRachunek{u8"nie jest numerem rachunku (26 cyfr)"};
  static constexpr cp1250::Literal kCzesci{u8"więcej niż 4 części rozdzielone znakiem |"};
  static constexpr cp1250::Literal kCzesc{u8"część dłuższa niż 35 znaków"};
  // A bank profile's other limits, in the same words; each text is made
  // again only when its number changes, so a text given out stays valid.
  static std::string czesci, czesc;
  static std::uint32_t ileCzesci = 4, ileZnakow = 35;
  const profile::TProfil& limity = profile::AktywnyProfil();
  if (limity.czesci != ileCzesci) {
    ileCzesci = limity.czesci;
    czesci = cp1250::Literal(u8"więcej niż ").str() + std::to_string(ileCzesci) +
             cp1250::Literal(u8" części rozdzielone znakiem |").str();
  }
  if (limity.dlugoscCzesci != ileZnakow) {
    ileZnakow = limity.dlugoscCzesci;
    czesc = cp1250::Literal(u8"część dłuższa niż ").str() + std::to_string(ileZnakow) +
            cp1250::Literal(u8" znaków").str();
  }
  static constexpr cp1250::Literal kPodzielona{
      u8"tytuł płatności podzielonej nie ma postaci /VAT/…/IDC/…/INV/…/TXT/…"};
  static constexpr cp1250::Literal kKlasyfikacja{u8"klasyfikacja inna niż 51 i 53"};
  static constexpr cp1250::Literal kCudzyslow{u8"niezamknięty cudzysłów"};
  static constexpr cp1250::Literal kKoniecLf{u8"LF bez CR, a bank wymaga CR LF"};
  switch (b) {
    case Blad::SumaKontrolna:
      return kSuma;
    case Blad::NumerBankuWRachunku:
      return kBankWRachunku;
    case Blad::SumaINumerBanku:
      return kSumaIBank;
    case Blad::RodzajZlecenia:
      return kRodzaj;
    case Blad::Data:
      return kData;
    case Blad::KwotaZnaki:
      return kKwotaZnaki;
    case Blad::KwotaZero:
      return kKwotaZero;
    case Blad::NumerBankuZnaki:
      return kBankZnaki;
    case Blad::NumerBankuCyfra:
      return kBankCyfra;
    case Blad::NumerBankuInny:
      return kBankInny;
    case Blad::NieRachunek:
      return kNieRachunek;
    case Blad::ZaDuzoCzesci:
      return ileCzesci == 4 ? kCzesci.view() : std::string_view(czesci);
    case Blad::CzescZaDluga:
      return ileZnakow == 35 ? kCzesc.view() : std::string_view(czesc);
    case Blad::PodzielonaPlatnosc:
      return kPodzielona;
    case Blad::Klasyfikacja:
      return kKlasyfikacja;
    case Blad::Cudzyslow:
      return kCudzyslow;
    case Blad::KoniecLiniiLf:
      return kKoniecLf;
  }
  return {};
}

namespace {

// The field a number stands in, named when it is an account's.
Pole PoleNumeru(const std::vector<TPoleRekordu>& pola, std::size_t poczatek) {
  for (auto [i, pole] : {std::pair{std::size_t{5}, Pole::RachunekZleceniodawcy},
                         std::pair{std::size_t{6}, Pole::RachunekKontrahenta}}) {
    if (i < pola.size() && poczatek >= pola[i].poczatek &&
        poczatek < pola[i].poczatek + pola[i].dlugosc)
      return pole;
  }
  return Pole::Rachunek;
}

Blad BladNumeru(WynikNrb w) {
  switch (w) {
    case WynikNrb::NumerBanku:
      return Blad::NumerBankuWRachunku;
    case WynikNrb::SumaINumerBanku:
      return Blad::SumaINumerBanku;
    default:
      return Blad::SumaKontrolna;
  }
}

}  // namespace

const std::vector<TUwaga>& TSprawdzanieLinii::Sprawdz(std::string_view linia) {
  uwagi_.clear();
  if (linia.size() > kNajdluzszaLinia) return uwagi_;
  switch (PodzielRekord(linia, pola_)) {
    case Rekord::Tak:
      SprawdzRekord(linia, pola_, uwagi_);
      break;
    case Rekord::NiezamknietyCudzyslow:
      // From the opening quote to the line's end.
      uwagi_.push_back(
          {pola_.back().poczatek, pola_.back().dlugosc + 1, Pole::Rekord, Blad::Cudzyslow});
      break;
    case Rekord::Nie:
      pola_.clear();
      break;
  }
  ZnajdzNumery(linia, [&](const TNumerWLinii& n) {
    const WynikNrb w = SprawdzNrb(n.Cyfry());
    if (w != WynikNrb::Poprawny)
      uwagi_.push_back({n.poczatek + 1, n.dlugosc, PoleNumeru(pola_, n.poczatek), BladNumeru(w)});
  });
  if (uwagi_.size() > 1)
    std::stable_sort(uwagi_.begin(), uwagi_.end(),
                     [](const TUwaga& a, const TUwaga& b) { return a.kolumna < b.kolumna; });
  return uwagi_;
}

}  // namespace rachunki
