#include "rachunki/ElixirO.h"

#include <algorithm>
#include <string>

#include "rachunki/Nrb.h"
#include "rachunki/Tytuly.h"
#include "rachunki/Uwagi.h"
#include "rachunki/WykazBankow.h"

namespace rachunki {

namespace {

using detail::Cyfra;

// The fields as the descriptions number them, from 0.
enum : std::size_t {
  kRodzaj = 0,
  kData = 1,
  kKwota = 2,
  kBankZleceniodawcy = 3,
  kRachunekZleceniodawcy = 5,
  kRachunekKontrahenta = 6,
  kNazwaZleceniodawcy = 7,
  kNazwaKontrahenta = 8,
  kBankKontrahenta = 10,
  kTytul = 11,
  kKlasyfikacja = 14,
};

// Names, addresses and the title are lines of a paper form: at most four,
// of at most 35 characters each.
constexpr std::size_t kCzesci = 4;
constexpr std::size_t kDlugoscCzesci = 35;

bool SameCyfry(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), Cyfra);
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

// The account's 26 digits when the field holds exactly one number of 26
// digits in one of the ways it is written, else empty.
std::string_view CyfryRachunku(std::string_view v, TNumerWLinii& n) {
  bool jeden = false, caly = false;
  ZnajdzNumery(v, [&](const TNumerWLinii& znaleziony) {
    caly = !jeden && znaleziony.pelny && znaleziony.poczatek == 0 && znaleziony.dlugosc == v.size();
    jeden = !jeden;
    n = znaleziony;
  });
  return jeden && caly ? n.Cyfry() : std::string_view();
}

}  // namespace

Rekord PodzielRekord(std::string_view l, std::vector<TPoleRekordu>& pola) {
  pola.clear();
  if (l.size() < 4 || !Cyfra(l[0]) || !Cyfra(l[1]) || !Cyfra(l[2]) || l[3] != ',')
    return Rekord::Nie;
  if (static_cast<std::size_t>(std::count(l.begin(), l.end(), ',')) < kPolRekordu - 1 ||
      l.find('"') == std::string_view::npos)
    return Rekord::Nie;

  std::size_t p = 0;
  for (;;) {
    if (p < l.size() && l[p] == '"') {
      // The closing quote is one followed by a comma or by the line's end;
      // a quote inside the text is part of it.
      std::size_t q = p + 1;
      while ((q = l.find('"', q)) != std::string_view::npos && q + 1 < l.size() && l[q + 1] != ',')
        ++q;
      if (q == std::string_view::npos) {
        pola.push_back({p + 1, l.size() - p - 1, true});
        return Rekord::NiezamknietyCudzyslow;
      }
      pola.push_back({p + 1, q - p - 1, true});
      p = q + 1;
    } else {
      const std::size_t q = std::min(l.find(',', p), l.size());
      pola.push_back({p, q - p, false});
      p = q;
    }
    if (p >= l.size()) break;
    ++p;  // the comma
  }

  // "4321,50" written without quotes splits the amount in two and moves
  // every field after it: the first quoted field, the payer's account,
  // stands one place late. Joined again, the amount is told as written and
  // the fields after it are checked where they belong.
  const auto cudzyslow =
      std::find_if(pola.begin(), pola.end(), [](const TPoleRekordu& f) { return f.wCudzyslowie; });
  if (cudzyslow - pola.begin() == kRachunekZleceniodawcy + 1 && !pola[kKwota].wCudzyslowie &&
      !pola[kKwota + 1].wCudzyslowie && pola[kKwota + 1].dlugosc <= 2 &&
      SameCyfry(l.substr(pola[kKwota].poczatek, pola[kKwota].dlugosc)) &&
      SameCyfry(l.substr(pola[kKwota + 1].poczatek, pola[kKwota + 1].dlugosc))) {
    pola[kKwota].dlugosc =
        pola[kKwota + 1].poczatek + pola[kKwota + 1].dlugosc - pola[kKwota].poczatek;
    pola.erase(pola.begin() + kKwota + 1);
  }
  return pola.size() >= kPolRekordu ? Rekord::Tak : Rekord::Nie;
}

void SprawdzRekord(std::string_view l, const std::vector<TPoleRekordu>& pola,
                   std::vector<TUwaga>& uwagi) {
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
  std::string_view kontrahent;  // the payee's account when it is right
  for (const Strona& s : {Strona{kRachunekZleceniodawcy, kBankZleceniodawcy,
                                 Pole::RachunekZleceniodawcy, Pole::BankZleceniodawcy},
                          Strona{kRachunekKontrahenta, kBankKontrahenta, Pole::RachunekKontrahenta,
                                 Pole::BankKontrahenta}}) {
    TNumerWLinii n;
    const std::string_view cyfry = CyfryRachunku(wartosc(s.rachunek), n);
    if (cyfry.empty()) dodaj(s.rachunek, s.poleRachunku, Blad::NieRachunek);
    const bool dobry = !cyfry.empty() && SprawdzNrb(cyfry) == WynikNrb::Poprawny;
    if (dobry && s.rachunek == kRachunekKontrahenta) kontrahent = cyfry;
    const std::string_view bank = wartosc(s.bank);
    if (bank.size() != 8 || !SameCyfry(bank))
      dodaj(s.bank, s.poleBanku, Blad::NumerBankuZnaki);
    else if (!NumerBankuPoprawny(bank))
      dodaj(s.bank, s.poleBanku, Blad::NumerBankuCyfra);
    else if (dobry && cyfry.substr(2, 8) != bank)
      dodaj(s.bank, s.poleBanku, Blad::NumerBankuInny);
    else if (!dobry && !(cyfry.size() == kCyfrNrb && cyfry.substr(2, 8) == bank) &&
             !WykazBankow().Zawiera(TWykazBankow::Kod(bank.data())))
      dodaj(s.bank, s.poleBanku, Blad::SpozaWykazu);
  }

  for (auto [i, pole] :
       {std::pair{kNazwaZleceniodawcy, Pole::NazwaZleceniodawcy},
        std::pair{kNazwaKontrahenta, Pole::NazwaKontrahenta}, std::pair{kTytul, Pole::Tytul}}) {
    const std::string_view v = wartosc(i);
    std::size_t czesci = 0;
    for (std::size_t od = 0;;) {
      const std::size_t koniec = std::min(v.find('|', od), v.size());
      if (++czesci == kCzesci + 1) dodaj(i, pole, Blad::ZaDuzoCzesci);
      if (koniec - od > kDlugoscCzesci)
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
  TNumerWLinii n;
  const std::string_view cyfry = CyfryRachunku(wartosc(kRachunekKontrahenta), n);
  if (!cyfry.empty() && Mikrorachunek(cyfry))
    SprawdzTytulPodatkowy(l, pola[kTytul], pola[kRachunekKontrahenta], kontrahent, uwagi);
}

}  // namespace rachunki
