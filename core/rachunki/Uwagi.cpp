#include "rachunki/Uwagi.h"

#include <algorithm>
#include <string>

#include "kodowanie/Cp1250.h"
#include "profile/RegulaZnakow.h"
#include "rachunki/Nrb.h"
#include "rachunki/Podsumowanie.h"
#include "rachunki/WykazBankow.h"

namespace rachunki {

std::string_view NazwaPola(Pole p) {
  static constexpr kodowanie::cp1250::Literal kRachunek{u8"numer rachunku"};
  static constexpr kodowanie::cp1250::Literal kRodzaj{u8"rodzaj zlecenia"};
  static constexpr kodowanie::cp1250::Literal kData{u8"data wykonania"};
  static constexpr kodowanie::cp1250::Literal kKwota{u8"kwota"};
  static constexpr kodowanie::cp1250::Literal kBankZ{u8"numer banku zleceniodawcy"};
  static constexpr kodowanie::cp1250::Literal kRachunekZ{u8"rachunek zleceniodawcy"};
  static constexpr kodowanie::cp1250::Literal kRachunekK{u8"rachunek kontrahenta"};
  static constexpr kodowanie::cp1250::Literal kNazwaZ{u8"nazwa zleceniodawcy"};
  static constexpr kodowanie::cp1250::Literal kNazwaK{u8"nazwa kontrahenta"};
  static constexpr kodowanie::cp1250::Literal kBankK{u8"numer banku kontrahenta"};
  static constexpr kodowanie::cp1250::Literal kTytul{u8"tytuł"};
  static constexpr kodowanie::cp1250::Literal kKlasyfikacja{u8"klasyfikacja"};
  static constexpr kodowanie::cp1250::Literal kRekord{u8"rekord"};
  static constexpr kodowanie::cp1250::Literal kKoniecLinii{u8"koniec linii"};
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
  static constexpr kodowanie::cp1250::Literal kSuma{u8"błędna suma kontrolna numeru rachunku"};
  static constexpr kodowanie::cp1250::Literal kBankWRachunku{
      u8"błędny numer rozliczeniowy banku w numerze rachunku"};
  static constexpr kodowanie::cp1250::Literal kSumaIBank{
      u8"błędna suma kontrolna i numer rozliczeniowy banku w numerze rachunku"};
  static constexpr kodowanie::cp1250::Literal kRodzaj{
      u8"nieznany rodzaj zlecenia (110, 120 lub 210)"};
  static constexpr kodowanie::cp1250::Literal kData{u8"nie jest prawdziwą datą RRRRMMDD"};
  static constexpr kodowanie::cp1250::Literal kKwotaZnaki{
      u8"nie w groszach (same cyfry, bez przecinka i kropki)"};
  static constexpr kodowanie::cp1250::Literal kKwotaZero{u8"musi być większa od zera"};
  static constexpr kodowanie::cp1250::Literal kBankZnaki{u8"numer rozliczeniowy banku to 8 cyfr"};
  static constexpr kodowanie::cp1250::Literal kBankCyfra{
      u8"błędna cyfra kontrolna numeru rozliczeniowego banku"};
  static constexpr kodowanie::cp1250::Literal kBankInny{
      u8"numer rozliczeniowy banku inny niż w numerze rachunku"};
  static constexpr kodowanie::cp1250::Literal kNieRachunek{u8"nie jest numerem rachunku (26 cyfr)"};
  static constexpr kodowanie::cp1250::Literal kCzesci{
      u8"więcej niż 4 części rozdzielone znakiem |"};
  static constexpr kodowanie::cp1250::Literal kCzesc{u8"część dłuższa niż 35 znaków"};
  // A bank profile's other limits, in the same words; each text is made
  // again only when its number changes, so a text given out stays valid.
  static std::string czesci, czesc;
  static std::uint32_t ileCzesci = 4, ileZnakow = 35;
  const profile::TProfil& limity = profile::AktywnyProfil();
  if (limity.czesci != ileCzesci) {
    ileCzesci = limity.czesci;
    czesci = kodowanie::cp1250::Literal(u8"więcej niż ").str() + std::to_string(ileCzesci) +
             kodowanie::cp1250::Literal(u8" części rozdzielone znakiem |").str();
  }
  if (limity.dlugoscCzesci != ileZnakow) {
    ileZnakow = limity.dlugoscCzesci;
    czesc = kodowanie::cp1250::Literal(u8"część dłuższa niż ").str() + std::to_string(ileZnakow) +
            kodowanie::cp1250::Literal(u8" znaków").str();
  }
  static constexpr kodowanie::cp1250::Literal kPodzielona{
      u8"tytuł płatności podzielonej nie ma postaci /VAT/…/IDC/…/INV/… (i /TXT/…)"};
  static constexpr kodowanie::cp1250::Literal kKlasyfikacja{u8"klasyfikacja inna niż 51 i 53"};
  static constexpr kodowanie::cp1250::Literal kCudzyslow{u8"niezamknięty cudzysłów"};
  static constexpr kodowanie::cp1250::Literal kKoniecLf{u8"LF bez CR, a bank wymaga CR LF"};
  static constexpr kodowanie::cp1250::Literal kLiczbaCyfr{u8"nie ma 26 cyfr"};
  static constexpr kodowanie::cp1250::Literal kSpozaWykazu{
      u8"numer rozliczeniowy nie występuje w wykazie banków"};
  static constexpr kodowanie::cp1250::Literal kVatKwota{
      u8"kwota VAT to najwyżej 10 cyfr, przecinek i grosze (np. 230,00)"};
  static constexpr kodowanie::cp1250::Literal kVatWieksza{u8"kwota VAT większa od kwoty przelewu"};
  static constexpr kodowanie::cp1250::Literal kIdc{u8"identyfikator /IDC/ dłuższy niż 14 znaków"};
  static constexpr kodowanie::cp1250::Literal kNip{u8"błędna cyfra kontrolna NIP"};
  static constexpr kodowanie::cp1250::Literal kInv{u8"numer faktury /INV/ dłuższy niż 35 znaków"};
  static constexpr kodowanie::cp1250::Literal kTxt{u8"tekst /TXT/ dłuższy niż 33 znaki"};
  static constexpr kodowanie::cp1250::Literal kPapierowe{
      u8"znaczniki /NIP/ i /NR/ są z formularza papierowego; w pliku /IDC/ i /INV/"};
  static constexpr kodowanie::cp1250::Literal kPodatkowy{
      u8"tytuł przelewu na mikrorachunek podatkowy nie ma postaci /TI/…/OKR/…/SFP/… (i /TXT/…)"};
  static constexpr kodowanie::cp1250::Literal kTyp{
      u8"typ identyfikatora /TI/ inny niż N, R, P, 1, 2 i 3"};
  static constexpr kodowanie::cp1250::Literal kPesel{u8"błędna cyfra kontrolna numeru PESEL"};
  static constexpr kodowanie::cp1250::Literal kOkres{
      u8"okres /OKR/ nie ma postaci RR, litera R, P, K, M, D lub J i numer okresu, ani 0"};
  static constexpr kodowanie::cp1250::Literal kTxtPodatkowy{u8"tekst /TXT/ dłuższy niż 20 znaków"};
  static constexpr kodowanie::cp1250::Literal kMikrorachunek{
      u8"mikrorachunek podatkowy nie należy do identyfikatora z /TI/"};
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
    case Blad::LiczbaCyfr:
      return kLiczbaCyfr;
    case Blad::SpozaWykazu:
      return kSpozaWykazu;
    case Blad::VatKwota:
      return kVatKwota;
    case Blad::VatWiekszaOdKwoty:
      return kVatWieksza;
    case Blad::IdcZaDlugi:
      return kIdc;
    case Blad::Nip:
      return kNip;
    case Blad::InvZaDlugi:
      return kInv;
    case Blad::TxtZaDlugi:
      return kTxt;
    case Blad::ZnacznikiPapierowe:
      return kPapierowe;
    case Blad::TytulPodatkowy:
      return kPodatkowy;
    case Blad::TypIdentyfikatora:
      return kTyp;
    case Blad::Pesel:
      return kPesel;
    case Blad::Okres:
      return kOkres;
    case Blad::TxtPodatkowyZaDlugi:
      return kTxtPodatkowy;
    case Blad::Mikrorachunek:
      return kMikrorachunek;
  }
  return {};
}

namespace {

// The sort code in a finding's value: digits 3-10 of an account, or the
// eight digits of a sort-code field; empty otherwise. Read without taking
// memory: the checker asks for every finding it prints.
std::string_view KodWartosci(const TUwaga& u, std::string_view linia, char (&kod)[8]) {
  // A digit lost or added may have moved the sort code.
  if (u.blad == Blad::LiczbaCyfr) return {};
  std::size_t od = 0, doo = 0;
  switch (u.pole) {
    case Pole::Rachunek:
    case Pole::RachunekZleceniodawcy:
    case Pole::RachunekKontrahenta:
      od = 2, doo = 10;
      break;
    case Pole::BankZleceniodawcy:
    case Pole::BankKontrahenta:
      doo = 8;
      break;
    default:
      return {};
  }
  std::size_t cyfr = 0;
  for (char c : u.Wartosc(linia)) {
    if (!scan::Cyfra(c)) continue;
    if (cyfr >= od && cyfr < doo) kod[cyfr - od] = c;
    ++cyfr;
  }
  const bool jest = od == 0 ? cyfr == 8 : cyfr >= 10;
  return jest ? std::string_view(kod, 8) : std::string_view();
}

}  // namespace

std::string OpisUwagi(const TUwaga& u, std::string_view linia) {
  if (u.blad != Blad::SpozaWykazu) return std::string(OpisBledu(u.blad));
  static constexpr kodowanie::cp1250::Literal kNumer{u8"numer rozliczeniowy "};
  static constexpr kodowanie::cp1250::Literal kNieWystepuje{
      u8" nie występuje w wykazie banków (stan na "};
  char kod[8];
  return kNumer.str() + std::string(KodWartosci(u, linia, kod)) + kNieWystepuje.str() +
         WykazBankow().Data() + ")";
}

std::string_view BankUwagi(const TUwaga& u, std::string_view linia) {
  char kod[8];
  const std::string_view k = KodWartosci(u, linia, kod);
  return k.empty() ? std::string_view() : WykazBankow().Nazwa(TWykazBankow::Kod(k.data()));
}

namespace {

// The field a number stands in, named when it is an account's.
Pole PoleNumeru(const std::vector<rekord::TPoleRekordu>& pola, std::size_t poczatek) {
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

const std::vector<TUwaga>& TSprawdzanieLinii::Sprawdz(std::string_view linia,
                                                      TPodsumowanie* podsumowanie) {
  uwagi_.clear();
  rekord_ = false;
  if (linia.size() > kNajdluzszaLinia) return uwagi_;
  TRachunkiRekordu rachunki;
  switch (rekord::PodzielRekord(linia, pola_)) {
    case rekord::Rekord::Tak:
      rekord_ = true;
      if (podsumowanie) podsumowanie->Zapowiedz(linia, pola_);
      // Most records of a list hold nothing to tell, which is made sure of
      // in one go; the others are checked field by field.
      if (naSkroty_ && RekordBezUwag(linia, pola_, *wykaz_, *limity_, zleceniodawca_)) {
        ++naSkrotyRekordow_;
        return uwagi_;
      }
      SprawdzRekord(linia, pola_, uwagi_, &rachunki, &zleceniodawca_);
      break;
    case rekord::Rekord::NiezamknietyCudzyslow:
      // From the opening quote to the line's end.
      uwagi_.push_back(
          {pola_.back().poczatek, pola_.back().dlugosc + 1, Pole::Rekord, Blad::Cudzyslow});
      break;
    case rekord::Rekord::Nie:
      pola_.clear();
      break;
  }
  const TWykazBankow& wykaz = *wykaz_;
  const auto numer = [&](const TNumerWLinii& n) {
    // Most numbers are right: the field is looked for only for a finding.
    if (!n.pelny) {
      // In a record's account field the record tells it already.
      if (PoleNumeru(pola_, n.poczatek) == Pole::Rachunek)
        uwagi_.push_back({n.poczatek + 1, n.dlugosc, Pole::Rachunek, Blad::LiczbaCyfr});
      return;
    }
    // A record's account field written as 26 digits was weighed already.
    const WynikNrb* znany =
        n.dlugosc == kCyfrNrb ? rachunki.Znany(linia.data() + n.poczatek) : nullptr;
    const std::string_view cyfry = n.Cyfry();
    const bool naLiscie = wykaz.Zawiera(TWykazBankow::Kod(cyfry.data() + 2));
    // Right check digits and a code on a list of right codes: nothing to
    // tell, and the code's own check digit need not be weighed.
    if (!znany && naLiscie && wykaz.KodyPoprawne() && SumaKontrolnaPoprawna(cyfry)) return;
    const WynikNrb w = znany ? *znany : SprawdzNrb(cyfry);
    if (w != WynikNrb::Poprawny)
      uwagi_.push_back({n.poczatek + 1, n.dlugosc, PoleNumeru(pola_, n.poczatek), BladNumeru(w)});
    else if (!naLiscie)
      uwagi_.push_back(
          {n.poczatek + 1, n.dlugosc, PoleNumeru(pola_, n.poczatek), Blad::SpozaWykazu});
  };
  // A comma or quote ends every stretch of digits, so a record's numbers
  // lie each in one field, and only a field long enough to hold one is
  // searched: most of a record is short fields of digits.
  if (rekord_) {
    for (const rekord::TPoleRekordu& p : pola_) {
      if (p.dlugosc < kNajmniejCyfrPoPL) continue;
      // An account field of 26 digits is the one number in it, as the
      // search would find it: from its first digit, without "PL".
      if (p.dlugosc == kCyfrNrb && rachunki.Znany(linia.data() + p.poczatek)) {
        TNumerWLinii n;
        n.poczatek = p.poczatek;
        n.dlugosc = kCyfrNrb;
        n.wLinii = linia.data() + p.poczatek;
        numer(n);
        continue;
      }
      ZnajdzNumery(linia, numer, p.poczatek, p.poczatek + p.dlugosc);
    }
  } else {
    ZnajdzNumery(linia, numer);
  }
  if (uwagi_.size() > 1)
    std::stable_sort(uwagi_.begin(), uwagi_.end(),
                     [](const TUwaga& a, const TUwaga& b) { return a.kolumna < b.kolumna; });
  return uwagi_;
}

}  // namespace rachunki
