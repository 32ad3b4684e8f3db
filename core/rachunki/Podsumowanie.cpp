#include "rachunki/Podsumowanie.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <tuple>

#include "kodowanie/Cp1250.h"
#include "rachunki/WykazBankow.h"
#include "scan/Cyfry.h"

namespace rachunki {

namespace {

using namespace rekord::pole;

using scan::SameCyfry;

// Eight digits (a date, a sort code) as a number, read as one word the way
// the list of banks reads its codes.
std::uint32_t OsiemCyfr(const char* p) {
  return TWykazBankow::Kod(p);
}

// The account's 26 digits when the field holds one, as the record's check
// reads it (CyfryRachunku), else false.
bool Rachunek(std::string_view v, char (&cyfry)[kCyfrNrb]) {
  TNumerWLinii n;
  const std::string_view c = CyfryRachunku(v, n);
  if (c.empty()) return false;
  std::memcpy(cyfry, c.data(), kCyfrNrb);
  return true;
}

// A 64-bit hash of the bytes: eight at a time, multiplied and mixed, then
// the final mix of splitmix64. Two different records share one with odds
// of about n^2 / 2^65 in a file of n records.
class THash {
 public:
  void Dodaj(std::string_view s) {
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) Slowo(scan::Osiem(s.data() + i));
    // The last bytes: the value's last eight shifted down, when it has
    // eight, so that no byte past it is read; else one at a time.
    std::uint64_t w = 0;
    const std::size_t reszta = s.size() - i;
    if (reszta != 0 && s.size() >= 8)
      w = scan::Osiem(s.data() + s.size() - 8) >> (8 * (8 - reszta));
    else
      for (std::size_t k = 0; k < reszta; ++k)
        w |= std::uint64_t{static_cast<unsigned char>(s[i + k])} << (8 * k);
    Slowo(w ^ (std::uint64_t{s.size()} << 56));
  }
  void Dodaj(std::uint64_t n) { Slowo(n); }
  std::uint64_t Wynik() const {
    std::uint64_t z = h_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return z == 0 ? 1 : z;
  }

 private:
  void Slowo(std::uint64_t w) {
    h_ ^= w * 0x9E3779B97F4A7C15ull;
    h_ = ((h_ << 31) | (h_ >> 33)) * 0xC2B2AE3D27D4EB4Full;
  }
  std::uint64_t h_ = 0x27D4EB2F165667C5ull;
};

}  // namespace

std::string_view OpisOstrzezenia(Ostrzezenie o) {
  static constexpr kodowanie::cp1250::Literal kTenSam{u8"ostrzeżenie: ten sam przelew co w linii "};
  static constexpr kodowanie::cp1250::Literal kInny{
      u8"ostrzeżenie: inny rachunek zleceniodawcy niż w linii "};
  return o == Ostrzezenie::TenSamPrzelew ? kTenSam.view() : kInny.view();
}

std::string TOstrzezenie::Opis() const {
  return std::string(OpisOstrzezenia(rodzaj)) + std::to_string(innaLinia);
}

TPodsumowanie::TPodsumowanie(bool sumyWgDatIBankow) : sumyWgDatIBankow_(sumyWgDatIBankow) {}

bool TPodsumowanie::PierwszyZleceniodawca(std::string_view& cyfry, std::uint64_t& linia) const {
  if (liniaZleceniodawcy_ == 0) return false;
  cyfry = std::string_view(zleceniodawca_, kCyfrNrb);
  linia = liniaZleceniodawcy_;
  return true;
}

bool TPodsumowanie::WspolnyRekord(const TPodsumowanie& inny) const {
  return indeks_.Wspolny(inny.indeks_);
}

bool DolaczSumy(TSumy& a, const TSumy& b) {
  for (auto [m, n, najwiecej] : {std::tuple{&a.daty, &b.daty, kNajwiecejDat},
                                 std::tuple{&a.banki, &b.banki, kNajwiecejBankow}}) {
    if (m->count(kInne) || n->count(kInne)) return false;
    for (const auto& [klucz, suma] : *n) {
      TSuma& x = (*m)[klucz];
      x.ile += suma.ile;
      x.grosze += suma.grosze;
    }
    if (m->size() > najwiecej) return false;
  }
  for (auto [x, y] : {std::pair{&a.przelewy, &b.przelewy}, std::pair{&a.polecenia, &b.polecenia}}) {
    x->ile += y->ile;
    x->grosze += y->grosze;
  }
  a.bezKwoty += b.bezKwoty;
  return true;
}

TPodsumowanie::TSumyWgKlucza::TSumyWgKlucza(std::size_t najwiecej) : najwiecej_(najwiecej) {
  std::size_t n = 16;
  while (n < 2 * najwiecej) n *= 2;
  klucze_.assign(n, kPusty);
  sumy_.resize(n);
}

TSuma& TPodsumowanie::TSumyWgKlucza::Suma(std::uint32_t klucz) {
  const std::size_t maska = klucze_.size() - 1;
  if (klucz != kInne && klucz != kPusty) {
    for (std::size_t i = (klucz * 0x9E3779B1u) >> 7 & maska;; i = (i + 1) & maska) {
      if (klucze_[i] == klucz) return sumy_[i];
      if (klucze_[i] != kPusty) continue;
      if (kluczy_ >= najwiecej_) break;
      ++kluczy_;
      klucze_[i] = klucz;
      return sumy_[i];
    }
  }
  saInne_ = true;
  return inne_;
}

std::map<std::uint32_t, TSuma> TPodsumowanie::TSumyWgKlucza::Mapa() const {
  std::map<std::uint32_t, TSuma> m;
  for (std::size_t i = 0; i < klucze_.size(); ++i)
    if (klucze_[i] != kPusty) m[klucze_[i]] = sumy_[i];
  if (saInne_) m[kInne] = inne_;
  return m;
}

const TSumy& TPodsumowanie::Sumy() const {
  wynik_ = sumy_;
  wynik_.daty = daty_.Mapa();
  wynik_.banki = banki_.Mapa();
  return wynik_;
}

void TPodsumowanie::Zapowiedz(std::string_view l, const std::vector<rekord::TPoleRekordu>& pola) {
  auto wartosc = [&](std::size_t i) { return l.substr(pola[i].poczatek, pola[i].dlugosc); };
  // The same payee, amount and title twice: most often a line copied or a
  // list sent with last month's lines in it. An amount that is no number
  // counts by its text.
  zapowiedziana_ = l.data();
  zapowiedzianaDlugosc_ = l.size();
  const std::string_view kwota = wartosc(kKwota);
  std::uint64_t g = 0;
  zKwota_ = Grosze(l, pola[kKwota], g);
  grosze_ = zKwota_ ? g : 0;
  zKontrahentem_ = Rachunek(wartosc(kRachunekKontrahenta), kontrahent_);
  klucz_ = 0;
  if (!zKontrahentem_) return;
  THash h;
  h.Dodaj(std::string_view(kontrahent_, kCyfrNrb));
  if (zKwota_)
    h.Dodaj(grosze_);
  else
    h.Dodaj(kwota);
  h.Dodaj(wartosc(kTytul));
  klucz_ = h.Wynik();
  indeks_.Zapowiedz(klucz_);
}

const std::vector<TOstrzezenie>& TPodsumowanie::Rekord(
    std::uint64_t nr, std::string_view l, const std::vector<rekord::TPoleRekordu>& pola) {
  ostrzezenia_.clear();
  auto wartosc = [&](std::size_t i) { return l.substr(pola[i].poczatek, pola[i].dlugosc); };

  // The key and the amount, as announced while the line's fields were
  // checked, else now.
  if (zapowiedziana_ != l.data() || zapowiedzianaDlugosc_ != l.size()) Zapowiedz(l, pola);
  zapowiedziana_ = nullptr;
  const char* const kontrahent = kontrahent_;
  const bool zKontrahentem = zKontrahentem_;
  const std::uint64_t klucz = klucz_;
  const bool zKwota = zKwota_;
  const std::uint64_t grosze = grosze_;

  if (!zKwota) ++sumy_.bezKwoty;
  const bool polecenie = wartosc(kRodzaj) == "210";
  TSuma& suma = polecenie ? sumy_.polecenia : sumy_.przelewy;
  ++suma.ile;
  suma.grosze += grosze;

  if (!polecenie && sumyWgDatIBankow_) {
    const std::string_view data = wartosc(kData);
    daty_.Dodaj(data.size() == 8 && SameCyfry(data) ? OsiemCyfr(data.data()) : kNieznany, grosze,
                zKwota);
    // The bank that receives the money is the one in the payee's account;
    // the sort code beside it may be wrong, which is a finding of its own.
    const std::string_view bank = wartosc(kBankKontrahenta);
    const std::uint32_t kod = zKontrahentem                         ? OsiemCyfr(kontrahent + 2)
                              : bank.size() == 8 && SameCyfry(bank) ? OsiemCyfr(bank.data())
                                                                    : kNieznany;
    banki_.Dodaj(kod, grosze, zKwota);
  }

  // A list is sent from one account; a record paying from another was most
  // likely copied from another list. A wrong account is an error already,
  // and says nothing of the others. The field is most often written as the
  // first payer's account was the last time: then it is that account, and
  // is not read again.
  const std::string_view poleZleceniodawcy = wartosc(kRachunekZleceniodawcy);
  char zleceniodawca[kCyfrNrb];
  if ((liniaZleceniodawcy_ == 0 || poleZleceniodawcy != ostatniZleceniodawca_) &&
      Rachunek(poleZleceniodawcy, zleceniodawca)) {
    if (liniaZleceniodawcy_ != 0 && std::memcmp(zleceniodawca_, zleceniodawca, kCyfrNrb) == 0) {
      ostatniZleceniodawca_.assign(poleZleceniodawcy);
    } else if (SprawdzNrb(std::string_view(zleceniodawca, kCyfrNrb)) == WynikNrb::Poprawny) {
      if (liniaZleceniodawcy_ == 0) {
        std::memcpy(zleceniodawca_, zleceniodawca, kCyfrNrb);
        liniaZleceniodawcy_ = nr;
        ostatniZleceniodawca_.assign(poleZleceniodawcy);
      } else {
        ostrzezenia_.push_back({pola[kRachunekZleceniodawcy].poczatek + 1,
                                pola[kRachunekZleceniodawcy].dlugosc, Pole::RachunekZleceniodawcy,
                                Ostrzezenie::InnyRachunekZleceniodawcy, liniaZleceniodawcy_});
      }
    }
  }

  if (zKontrahentem)
    if (const std::uint64_t wczesniej = indeks_.Wczesniejszy(klucz, nr))
      ostrzezenia_.push_back({pola[kRachunekKontrahenta].poczatek + 1,
                              pola[kRachunekKontrahenta].dlugosc, Pole::RachunekKontrahenta,
                              Ostrzezenie::TenSamPrzelew, wczesniej});
  if (ostrzezenia_.size() > 1)
    std::sort(ostrzezenia_.begin(), ostrzezenia_.end(),
              [](const TOstrzezenie& a, const TOstrzezenie& b) { return a.kolumna < b.kolumna; });
  ostrzezen_ += ostrzezenia_.size();
  return ostrzezenia_;
}

std::string Kwota(TGrosze grosze) {
  std::string zlote;
  TGrosze z = grosze / 100;
  int cyfr = 0;
  do {
    if (cyfr > 0 && cyfr % 3 == 0) zlote += ' ';
    zlote += static_cast<char>('0' + static_cast<int>(z % 10));
    z /= 10;
    ++cyfr;
  } while (z != 0);
  std::reverse(zlote.begin(), zlote.end());
  const int g = static_cast<int>(grosze % 100);
  zlote += ',';
  zlote += static_cast<char>('0' + g / 10);
  zlote += static_cast<char>('0' + g % 10);
  return zlote;
}

std::vector<std::string> LiniePodsumowania(
    const TSumy& s, const std::function<std::string(std::uint32_t)>& nazwaBanku) {
  static constexpr kodowanie::cp1250::Literal kPrzelewow{u8"przelewów: "};
  static constexpr kodowanie::cp1250::Literal kRazem{u8", razem: "};
  static constexpr kodowanie::cp1250::Literal kZl{u8" zł"};
  static constexpr kodowanie::cp1250::Literal kPolecen{u8"poleceń zapłaty: "};
  static constexpr kodowanie::cp1250::Literal kBezKwoty{
      u8"rekordów z nieczytelną kwotą (nie dodanych): "};
  static constexpr kodowanie::cp1250::Literal kInneDaty{u8"pozostałe daty"};
  static constexpr kodowanie::cp1250::Literal kInneBanki{u8"pozostałe banki"};
  auto suma = [&](const TSuma& x, std::string_view jak) {
    return std::string(jak) + std::to_string(x.ile) + std::string(kRazem.view()) + Kwota(x.grosze) +
           std::string(kZl.view());
  };
  std::vector<std::string> w{suma(s.przelewy, kPrzelewow)};
  for (const auto& [data, x] : s.daty) {
    std::string d;
    if (data == kInne || data == kNieznany) {
      d = data == kInne ? kInneDaty.str() : std::string("data nieczytelna");
    } else {
      const std::string t = std::to_string(data);
      d = std::string(8 - std::min<std::size_t>(8, t.size()), '0') + t;
      d = d.substr(0, 4) + '-' + d.substr(4, 2) + '-' + d.substr(6, 2);
    }
    w.push_back(d + ": " + suma(x, kPrzelewow));
  }
  for (const auto& [kod, x] : s.banki) {
    std::string b;
    if (kod == kInne || kod == kNieznany) {
      b = kod == kInne ? kInneBanki.str() : std::string("bank nieczytelny");
    } else {
      const std::string t = std::to_string(kod);
      b = "bank " + std::string(8 - std::min<std::size_t>(8, t.size()), '0') + t;
      if (nazwaBanku)
        if (const std::string nazwa = nazwaBanku(kod); !nazwa.empty()) b += " (" + nazwa + ")";
    }
    w.push_back(b + ": " + suma(x, kPrzelewow));
  }
  if (s.polecenia.ile > 0) w.push_back(suma(s.polecenia, kPolecen));
  if (s.bezKwoty > 0) w.push_back(std::string(kBezKwoty.view()) + std::to_string(s.bezKwoty));
  return w;
}

std::string NazwaBankuZWykazu(std::uint32_t kod) {
  return std::string(WykazBankow().Nazwa(kod));
}

}  // namespace rachunki
