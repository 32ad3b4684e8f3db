#include "rachunki/ElixirO.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#include "profile/RegulaZnakow.h"
#include "rachunki/Nrb.h"
#include "rachunki/Tytuly.h"
#include "rachunki/Uwagi.h"
#include "rachunki/WykazBankow.h"
#include "scan/Cyfry.h"
#include "scan/MaskiBajtow.h"

namespace rachunki {

namespace {

using namespace rekord::pole;

// Names, addresses and the title are lines of a paper form: at most four,
// of at most 35 characters each, unless the bank's profile says otherwise.
// Characters as the user counts them: a UTF-8 letter is one.
std::size_t DlugoscCzesci(std::string_view czesc) {
  if (!kodowanie::Regula().utf8) return czesc.size();
  return static_cast<std::size_t>(std::count_if(czesc.begin(), czesc.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

using scan::SameCyfry;

// Where "|" stands in a value of at most 64 bytes, one bit a byte, read
// from 64 bytes of the line around it; false for a longer value or a line
// shorter than 64 bytes, which is then searched: a search is a call for
// every part, and most names and titles are shorter.
bool KreskiWartosci(std::string_view l, std::size_t od, std::size_t n, std::uint64_t& kreski) {
  if (n > 64 || l.size() < 64) return false;
  const std::size_t okno = std::min(od, l.size() - 64);
  std::uint64_t m = scan::MaskaBajtu64(l.data() + okno, '|') >> (od - okno);
  if (n < 64) m &= (std::uint64_t{1} << n) - 1;
  kreski = m;
  return true;
}

// Whether a value of `n` bytes whose "|" stand at `kreski` has no more
// parts than the bank takes and none longer, told with no loop over its
// parts: their count changes from line to line, so a loop's end is a
// branch the processor guesses wrong. False also when it cannot be told
// so (letters of UTF-8, counted as one); the parts are then looked at one
// by one.
bool CzesciWGranicach(std::uint64_t kreski, std::size_t n, const profile::TProfil& limity) {
  if (kodowanie::Regula().utf8) return false;
  // One "|" less than the parts allowed at most. (64 bytes hold at most
  // 64 parts.)
  if (limity.czesci == 0 || (limity.czesci <= 64 && scan::Jedynek(kreski) >= limity.czesci))
    return false;
  const std::size_t najdluzsza = limity.dlugoscCzesci;
  if (n <= najdluzsza) return true;
  std::uint64_t z = ~kreski & (n < 64 ? (std::uint64_t{1} << n) - 1 : ~std::uint64_t{0});
  if (najdluzsza >= 32 && najdluzsza < 64) {
    // A part longer than that among 64 bytes covers bytes 63 - najdluzsza
    // to najdluzsza, whatever its start: with a "|" there, none is; else
    // the part through them is measured from the "|" on either side.
    const unsigned od = 63 - static_cast<unsigned>(najdluzsza);
    const unsigned doo = static_cast<unsigned>(najdluzsza);
    const std::uint64_t przez = (~std::uint64_t{0} >> (63 - doo)) & (~std::uint64_t{0} << od);
    if ((z & przez) != przez) return true;
    const std::uint64_t przed = ~z & ((std::uint64_t{1} << od) - 1);
    const std::uint64_t po = ~z & ~(~std::uint64_t{0} >> (63 - doo));
    const unsigned poczatek = przed ? 64 - static_cast<unsigned>(std::countl_zero(przed)) : 0;
    const unsigned koniec = po ? static_cast<unsigned>(std::countr_zero(po)) : 64;
    return koniec - poczatek <= najdluzsza;
  }
  // Bit i: bytes i to i + k - 1 of the value hold no "|"; k grows to one
  // more than a part may have.
  for (std::size_t k = 1; k < najdluzsza + 1;) {
    const std::size_t krok = std::min(k, najdluzsza + 1 - k);
    z &= z >> krok;
    k += krok;
  }
  return z == 0;
}

bool PrawdziwaData(std::string_view s) {
  if (s.size() != 8 || !SameCyfry(s)) return false;
  auto liczba = [&](std::size_t od, std::size_t ile) {
    int n = 0;
    for (std::size_t i = od; i < od + ile; ++i) n = n * 10 + (s[i] - '0');
    return n;
  };
  const int r = liczba(0, 4), m = liczba(4, 2), d = liczba(6, 2);
  if (r == 0 || m < 1 || m > 12 || d < 1) return false;
  constexpr int kDni[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool przestepny = (r % 4 == 0 && r % 100 != 0) || r % 400 == 0;
  return d <= kDni[m - 1] + (m == 2 && przestepny ? 1 : 0);
}

}  // namespace

std::string_view CyfryRachunku(std::string_view v, TNumerWLinii& n) {
  // As a bank's export writes it, most often: 26 digits, the finder's
  // answer without the search.
  if (v.size() == kCyfrNrb && scan::Cyfr26(v.data())) return v;
  bool jeden = false, caly = false;
  ZnajdzNumery(v, [&](const TNumerWLinii& znaleziony) {
    caly = !jeden && znaleziony.pelny && znaleziony.poczatek == 0 && znaleziony.dlugosc == v.size();
    jeden = !jeden;
    n = znaleziony;
  });
  return jeden && caly ? n.Cyfry() : std::string_view();
}

bool RekordBezUwag(std::string_view l, const std::vector<rekord::TPoleRekordu>& pola,
                   const TWykazBankow& wykaz, const profile::TProfil& limity,
                   TPamiecZleceniodawcy& pamiec) {
  if (pola.size() < rekord::kPolRekordu) return false;
  const char* const d = l.data();
  auto wartosc = [&](std::size_t i) {
    return std::string_view(d + pola[i].poczatek, pola[i].dlugosc);
  };
  // Read a byte at a time: the compares of a string_view are calls.
  const std::string_view rodzaj = wartosc(kRodzaj);
  if (rodzaj.size() != 3 || rodzaj[0] != '1' || (rodzaj[1] != '1' && rodzaj[1] != '2') ||
      rodzaj[2] != '0' || !PrawdziwaData(wartosc(kData)))
    return false;
  // An amount of grosze, not nought.
  std::uint64_t grosze = 0;
  if (!Grosze(l, pola[kKwota], grosze) || grosze == 0) return false;
  const std::string_view klasyfikacja = wartosc(kKlasyfikacja);
  if (!klasyfikacja.empty() &&
      (klasyfikacja.size() != 2 || klasyfikacja[0] != '5' || klasyfikacja[1] != '1'))
    return false;

  const std::string_view platnik = wartosc(kRachunekZleceniodawcy);
  const std::string_view odbiorca = wartosc(kRachunekKontrahenta);
  if (platnik.size() != kCyfrNrb || odbiorca.size() != kCyfrNrb ||
      pola[kBankZleceniodawcy].dlugosc != 8 || pola[kBankKontrahenta].dlugosc != 8 ||
      !scan::Cyfr26(platnik.data()) || !scan::Cyfr26(odbiorca.data()) ||
      scan::Osiem(d + pola[kBankZleceniodawcy].poczatek) != scan::Osiem(platnik.data() + 2) ||
      scan::Osiem(d + pola[kBankKontrahenta].poczatek) != scan::Osiem(odbiorca.data() + 2))
    return false;
  const std::uint32_t kodOdbiorcy = TWykazBankow::Kod(odbiorca.data() + 2);
  if (!wykaz.Zawiera(kodOdbiorcy) || !wykaz.Zawiera(TWykazBankow::Kod(platnik.data() + 2)) ||
      (kodOdbiorcy == kKodMikrorachunkow && Mikrorachunek(odbiorca)))
    return false;
  // On a list of right codes, a code on it has a right check digit.
  const bool odbiorcaDobry = wykaz.KodyPoprawne() ? SumaKontrolnaPoprawna(odbiorca)
                                                  : SprawdzNrb(odbiorca) == WynikNrb::Poprawny;
  if (!odbiorcaDobry || pamiec.Rachunek(platnik) != WynikNrb::Poprawny) return false;

  // No other number: the fields read above are too short to hold one,
  // but the names and the title; any other field that could is left to
  // the search field by field.
  // (The amount, and the fields 5, 10, 13 and 14 of the description, which
  // no check reads.)
  constexpr std::size_t kKrotkie[] = {kKwota, 4, 9, 12, 13};
  for (std::size_t i : kKrotkie)
    if (pola[i].dlugosc >= kNajmniejCyfrPoPL) return false;
  if (pola.size() > rekord::kPolRekordu) return false;

  // A name or title within the profile's limits, with no number in it.
  const auto tekstBezUwag = [&](std::size_t i) {
    std::uint64_t kreski = 0;
    if (!KreskiWartosci(l, pola[i].poczatek, pola[i].dlugosc, kreski) ||
        !CzesciWGranicach(kreski, pola[i].dlugosc, limity))
      return false;
    if (pola[i].dlugosc < kNajmniejCyfrPoPL) return true;
    bool numer = false;
    ZnajdzNumery(
        l, [&numer](const TNumerWLinii&) { numer = true; }, pola[i].poczatek,
        pola[i].poczatek + pola[i].dlugosc);
    return !numer;
  };
  const std::string_view nazwa = wartosc(kNazwaZleceniodawcy);
  if (!pamiec.NazwaBezUwag(nazwa, limity)) {
    if (!tekstBezUwag(kNazwaZleceniodawcy)) return false;
    pamiec.ZapamietajNazwe(nazwa, limity);
  }
  return tekstBezUwag(kNazwaKontrahenta) && tekstBezUwag(kTytul);
}

bool TPamiecZleceniodawcy::NazwaBezUwag(std::string_view v, const profile::TProfil& limity) const {
  return czesciNazwy_ != 0 && czesciNazwy_ == limity.czesci &&
         dlugoscNazwy_ == limity.dlugoscCzesci && utf8Nazwy_ == kodowanie::Regula().utf8 &&
         v == nazwa_;
}

void TPamiecZleceniodawcy::ZapamietajNazwe(std::string_view v, const profile::TProfil& limity) {
  nazwa_.assign(v);
  czesciNazwy_ = limity.czesci;
  dlugoscNazwy_ = limity.dlugoscCzesci;
  utf8Nazwy_ = kodowanie::Regula().utf8;
}

void SprawdzRekord(std::string_view l, const std::vector<rekord::TPoleRekordu>& pola,
                   std::vector<TUwaga>& uwagi, TRachunkiRekordu* rachunki,
                   TPamiecZleceniodawcy* pamiec) {
  auto wartosc = [&](std::size_t i) { return l.substr(pola[i].poczatek, pola[i].dlugosc); };
  auto dodaj = [&](std::size_t i, Pole pole, Blad blad) {
    uwagi.push_back({pola[i].poczatek + 1, pola[i].dlugosc, pole, blad});
  };

  const std::string_view rodzaj = wartosc(kRodzaj);
  const bool przelew = rodzaj == "110" || rodzaj == "120";
  if (!przelew && rodzaj != "210") dodaj(kRodzaj, Pole::RodzajZlecenia, Blad::RodzajZlecenia);
  if (!PrawdziwaData(wartosc(kData))) dodaj(kData, Pole::Data, Blad::Data);

  const std::string_view kwota = wartosc(kKwota);
  if (!SameCyfry(kwota))
    dodaj(kKwota, Pole::Kwota, Blad::KwotaZnaki);
  else if (kwota.find_first_not_of('0') == std::string_view::npos)
    dodaj(kKwota, Pole::Kwota, Blad::KwotaZero);

  // Each account, and its bank's sort code beside it. A sort code is held
  // against its account only when the account itself is right: a wrong
  // digit is told once, at the account; so is a code not on the list.
  struct Strona {
    std::size_t rachunek, bank;
    Pole poleRachunku, poleBanku;
  };
  std::string_view kontrahent;        // the payee's account when it is right
  std::string_view cyfryKontrahenta;  // its digits when it is one number
  // The digits found are kept here while they are looked at.
  TNumerWLinii numery[2];
  for (const Strona& s : {Strona{kRachunekZleceniodawcy, kBankZleceniodawcy,
                                 Pole::RachunekZleceniodawcy, Pole::BankZleceniodawcy},
                          Strona{kRachunekKontrahenta, kBankKontrahenta, Pole::RachunekKontrahenta,
                                 Pole::BankKontrahenta}}) {
    const bool zKontrahenta = s.rachunek == kRachunekKontrahenta;
    const std::string_view cyfry = CyfryRachunku(wartosc(s.rachunek), numery[zKontrahenta]);
    if (cyfry.empty()) dodaj(s.rachunek, s.poleRachunku, Blad::NieRachunek);
    const WynikNrb wynik = cyfry.empty()             ? WynikNrb::SumaKontrolna
                           : pamiec && !zKontrahenta ? pamiec->Rachunek(cyfry)
                                                     : SprawdzNrb(cyfry);
    const bool dobry = !cyfry.empty() && wynik == WynikNrb::Poprawny;
    // Digits that lie in the line as they are (not copied out of a grouping).
    if (rachunki && !cyfry.empty() && cyfry.data() >= l.data() &&
        cyfry.data() < l.data() + l.size()) {
      rachunki->cyfry[zKontrahenta] = cyfry.data();
      rachunki->wynik[zKontrahenta] = wynik;
    }
    if (zKontrahenta) cyfryKontrahenta = cyfry;
    if (dobry && zKontrahenta) kontrahent = cyfry;
    const std::string_view bank = wartosc(s.bank);
    // Most often the code is the right account's own, whose check digit
    // was weighed with the account.
    if (dobry && bank.size() == 8 && std::memcmp(bank.data(), cyfry.data() + 2, 8) == 0) continue;
    if (bank.size() != 8 || !SameCyfry(bank))
      dodaj(s.bank, s.poleBanku, Blad::NumerBankuZnaki);
    else if (!NumerBankuPoprawny(bank))
      dodaj(s.bank, s.poleBanku, Blad::NumerBankuCyfra);
    else if (dobry)  // a right account, with another code than its own
      dodaj(s.bank, s.poleBanku, Blad::NumerBankuInny);
    else if (!(cyfry.size() == kCyfrNrb && cyfry.substr(2, 8) == bank) &&
             !WykazBankow().Zawiera(TWykazBankow::Kod(bank.data())))
      dodaj(s.bank, s.poleBanku, Blad::SpozaWykazu);
  }

  // The parts and their length the bank takes: its profile's, 4 x 35 by
  // default.
  const profile::TProfil& limity = profile::AktywnyProfil();
  for (auto [i, pole] :
       {std::pair{kNazwaZleceniodawcy, Pole::NazwaZleceniodawcy},
        std::pair{kNazwaKontrahenta, Pole::NazwaKontrahenta}, std::pair{kTytul, Pole::Tytul}}) {
    const std::string_view v = wartosc(i);
    std::uint64_t kreski = 0;
    if (KreskiWartosci(l, pola[i].poczatek, v.size(), kreski) &&
        CzesciWGranicach(kreski, v.size(), limity))
      continue;
    std::size_t czesci = 0;
    for (std::size_t od = 0;;) {
      const std::size_t koniec = std::min(v.find('|', od), v.size());
      if (++czesci == limity.czesci + 1) dodaj(i, pole, Blad::ZaDuzoCzesci);
      if (DlugoscCzesci(v.substr(od, koniec - od)) > limity.dlugoscCzesci)
        uwagi.push_back({pola[i].poczatek + od + 1, koniec - od, pole, Blad::CzescZaDluga});
      if (koniec == v.size()) break;
      od = koniec + 1;
    }
  }

  const std::string_view klasyfikacja = wartosc(kKlasyfikacja);
  if (przelew && !klasyfikacja.empty() && klasyfikacja != "51" && klasyfikacja != "53")
    dodaj(kKlasyfikacja, Pole::Klasyfikacja, Blad::Klasyfikacja);
  // Direct debits carry neither layout: their title is the creditor's.
  if (!przelew) return;
  if (klasyfikacja == "53")
    SprawdzTytulPodzielonej(l, pola[kTytul], SameCyfry(kwota) ? kwota : std::string_view(), uwagi);
  // A tax payment is told by its account, whose digits may be wrong: then
  // only the title is checked, not whose micro-account it is.
  if (!cyfryKontrahenta.empty() && Mikrorachunek(cyfryKontrahenta))
    SprawdzTytulPodatkowy(l, pola[kTytul], pola[kRachunekKontrahenta], kontrahent, uwagi);
}

}  // namespace rachunki
