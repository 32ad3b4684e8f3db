#include "rachunki/ElixirO.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "profil/RegulaZnakow.h"
#include "rachunki/Nrb.h"
#include "rachunki/Tytuly.h"
#include "rachunki/Uwagi.h"
#include "rachunki/WykazBankow.h"

namespace rachunki {

namespace {

using detail::Cyfra;

using namespace pole;

// Names, addresses and the title are lines of a paper form: at most four,
// of at most 35 characters each, unless the bank's profile says otherwise.
// Characters as the user counts them: a UTF-8 letter is one.
std::size_t DlugoscCzesci(std::string_view czesc) {
  if (!Typy::Regula().utf8) return czesc.size();
  return static_cast<std::size_t>(std::count_if(czesc.begin(), czesc.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

using detail::SameCyfry;

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
  // As a bank's export writes it, most often: 26 digits, the finder's
  // answer without the search.
  if (v.size() == kCyfrNrb && SameCyfry(v)) return v;
  bool jeden = false, caly = false;
  ZnajdzNumery(v, [&](const TNumerWLinii& znaleziony) {
    caly = !jeden && znaleziony.pelny && znaleziony.poczatek == 0 && znaleziony.dlugosc == v.size();
    jeden = !jeden;
    n = znaleziony;
  });
  return jeden && caly ? n.Cyfry() : std::string_view();
}

}  // namespace

namespace {

// Where each comma stands, and each quote that closes a quoted field (one
// followed by a comma or by the line's end): one bit a byte, so that a
// record is split in one pass over it instead of one search a field.
class TMaskiRekordu {
 public:
  static constexpr std::size_t kNajdluzsza = 4096;  // longer lines: searched field by field
  static constexpr std::size_t kSlow = kNajdluzsza / 64;

  explicit TMaskiRekordu(std::string_view l) : n_(l.size()), slow_((l.size() + 63) / 64) {
    const char* d = l.data();
    for (std::size_t w = 0; w < slow_; ++w) {
      const std::size_t od = w * 64;
      if (od + 64 <= n_) {
        Slowo(d + od, przecinki_[w], cudzyslowy_[w]);
      } else if (n_ >= 64) {
        // The line's last 64 bytes, shifted so that its end lines up.
        Slowo(d + n_ - 64, przecinki_[w], cudzyslowy_[w]);
        przecinki_[w] >>= 64 - (n_ - od);
        cudzyslowy_[w] >>= 64 - (n_ - od);
      } else {
        // The line's end, in a block of zeros: no comma, no quote.
        char reszta[64] = {};
        std::memcpy(reszta, d + od, n_ - od);
        Slowo(reszta, przecinki_[w], cudzyslowy_[w]);
      }
    }
    for (std::size_t w = 0; w < slow_; ++w) {
      const std::uint64_t dalej = w + 1 < slow_ ? przecinki_[w + 1] << 63 : 0;
      zamykajace_[w] = cudzyslowy_[w] & ((przecinki_[w] >> 1) | dalej);
    }
    if (n_ > 0)
      zamykajace_[(n_ - 1) / 64] |= cudzyslowy_[(n_ - 1) / 64] & (1ull << ((n_ - 1) % 64));
  }

  std::size_t Przecinkow() const {
    std::size_t ile = 0;
    for (std::size_t w = 0; w < slow_; ++w) ile += Jedynek(przecinki_[w]);
    return ile;
  }
  bool ZCudzyslowem() const {
    for (std::size_t w = 0; w < slow_; ++w)
      if (cudzyslowy_[w]) return true;
    return false;
  }
  // The first comma, or closing quote, at or after `p`; the line's length
  // when there is none.
  std::size_t Przecinek(std::size_t p) const { return Nastepny(przecinki_, p); }
  std::size_t Zamykajacy(std::size_t p) const { return Nastepny(zamykajace_, p); }

 private:
  static void Slowo(const char* d, std::uint64_t& przecinki, std::uint64_t& cudzyslowy) {
    std::uint64_t p = 0, c = 0;
#if defined(__SSE2__)
    const __m128i przecinek = _mm_set1_epi8(','), cudzyslow = _mm_set1_epi8('"');
    for (unsigned k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * k));
      p |=
          std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, przecinek)))}
          << (16 * k);
      c |=
          std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cudzyslow)))}
          << (16 * k);
    }
#else
    for (unsigned i = 0; i < 64; ++i) {
      p |= std::uint64_t{d[i] == ','} << i;
      c |= std::uint64_t{d[i] == '"'} << i;
    }
#endif
    przecinki = p;
    cudzyslowy = c;
  }
  // The count of set bits without the processor's instruction, which the
  // baseline build may not have (the library's fallback is a call).
  static std::size_t Jedynek(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<std::size_t>((x * 0x0101010101010101ull) >> 56);
  }
  std::size_t Nastepny(const std::uint64_t* m, std::size_t p) const {
    std::size_t w = p / 64;
    if (w >= slow_) return n_;
    std::uint64_t x = m[w] & (~std::uint64_t{0} << (p % 64));
    while (x == 0) {
      if (++w == slow_) return n_;
      x = m[w];
    }
    return w * 64 + static_cast<std::size_t>(std::countr_zero(x));
  }

  std::size_t n_, slow_;
  std::uint64_t przecinki_[kSlow], cudzyslowy_[kSlow], zamykajace_[kSlow];
};

}  // namespace

namespace detail {

Rekord PolaRekordu(std::string_view l, std::vector<TPoleRekordu>& pola) {
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
  return Rekord::Tak;
}

Rekord PolaRekorduMaskami(std::string_view l, std::vector<TPoleRekordu>& pola) {
  const TMaskiRekordu m(l);
  if (m.Przecinkow() < kPolRekordu - 1 || !m.ZCudzyslowem()) return Rekord::Nie;
  const std::size_t n = l.size();
  std::size_t p = 0;
  for (;;) {
    if (p < n && l[p] == '"') {
      const std::size_t q = m.Zamykajacy(p + 1);
      if (q == n) {
        pola.push_back({p + 1, n - p - 1, true});
        return Rekord::NiezamknietyCudzyslow;
      }
      pola.push_back({p + 1, q - p - 1, true});
      p = q + 1;
    } else {
      const std::size_t q = m.Przecinek(p);
      pola.push_back({p, q - p, false});
      p = q;
    }
    if (p >= n) break;
    ++p;  // the comma
  }
  return Rekord::Tak;
}

}  // namespace detail

Rekord PodzielRekord(std::string_view l, std::vector<TPoleRekordu>& pola) {
  pola.clear();
  if (l.size() < 4 || !Cyfra(l[0]) || !Cyfra(l[1]) || !Cyfra(l[2]) || l[3] != ',')
    return Rekord::Nie;
  const Rekord r = l.size() <= TMaskiRekordu::kNajdluzsza ? detail::PolaRekorduMaskami(l, pola)
                                                          : detail::PolaRekordu(l, pola);
  if (r != Rekord::Tak) return r;

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
    const bool dobry = !cyfry.empty() && SprawdzNrb(cyfry) == WynikNrb::Poprawny;
    if (zKontrahenta) cyfryKontrahenta = cyfry;
    if (dobry && zKontrahenta) kontrahent = cyfry;
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

  // The parts and their length the bank takes: its profile's, 4 x 35 by
  // default.
  const profile::TProfil& limity = profile::AktywnyProfil();
  for (auto [i, pole] :
       {std::pair{kNazwaZleceniodawcy, Pole::NazwaZleceniodawcy},
        std::pair{kNazwaKontrahenta, Pole::NazwaKontrahenta}, std::pair{kTytul, Pole::Tytul}}) {
    const std::string_view v = wartosc(i);
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
