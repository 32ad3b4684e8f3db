#include "rachunki/Nrb.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rachunki {

// 10^k modulo 97: the weight of a digit, or of a group of digits, k places
// from the right of the number the rule reads.
constexpr std::uint64_t PotegaDziesieciMod97(unsigned k) {
  std::uint64_t r = 1;
  for (unsigned i = 0; i < k; ++i) r = r * 10 % 97;
  return r;
}

#if defined(__SSE2__)

namespace {

// The weight of each of the 26 digits in the number the rule reads: the
// digits after the check digits, "PL" as 25 21, then the check digits;
// a digit k places from that number's right end weighs 10^k modulo 97.
// Sixteen weights a vector: the first 16 digits, and the last 10 as they
// stand in the 16 bytes from digit 10 on (the 6 read twice weigh nothing).
struct TWagi {
  alignas(16) std::int16_t poczatek[16];
  alignas(16) std::int16_t koniec[16];
};
constexpr std::int16_t WagaCyfry(unsigned i) {
  const unsigned miejsce = i >= 2 ? i - 2 : 28 + i;  // from the left, of 30
  return static_cast<std::int16_t>(PotegaDziesieciMod97(29 - miejsce));
}
constexpr TWagi Wagi() {
  TWagi w{};
  for (unsigned i = 0; i < 16; ++i) w.poczatek[i] = WagaCyfry(i);
  for (unsigned k = 6; k < 16; ++k) w.koniec[k] = WagaCyfry(10 + k);
  return w;
}
constexpr TWagi kWagi = Wagi();
// "2521" in the same number.
constexpr unsigned kPL = 2 * PotegaDziesieciMod97(5) + 5 * PotegaDziesieciMod97(4) +
                         2 * PotegaDziesieciMod97(3) + 1 * PotegaDziesieciMod97(2);

}  // namespace

bool SumaKontrolnaPoprawna(std::string_view c) {
  if (c.size() != kCyfrNrb) return false;
  // Every digit times its weight, eight products added pairwise at a time:
  // no product waits for another, where reading the digits as numbers
  // first would chain the multiplications.
  const __m128i zero = _mm_set1_epi8('0'), nic = _mm_setzero_si128();
  const __m128i a = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(c.data())), zero);
  const __m128i b =
      _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(c.data() + 10)), zero);
  const auto wagi = [](const std::int16_t* w) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(w));
  };
  __m128i s = _mm_madd_epi16(_mm_unpacklo_epi8(a, nic), wagi(kWagi.poczatek));
  s = _mm_add_epi32(s, _mm_madd_epi16(_mm_unpackhi_epi8(a, nic), wagi(kWagi.poczatek + 8)));
  s = _mm_add_epi32(s, _mm_madd_epi16(_mm_unpacklo_epi8(b, nic), wagi(kWagi.koniec)));
  s = _mm_add_epi32(s, _mm_madd_epi16(_mm_unpackhi_epi8(b, nic), wagi(kWagi.koniec + 8)));
  s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0x4E));
  s = _mm_add_epi32(s, _mm_shuffle_epi32(s, 0xB1));
  return (static_cast<unsigned>(_mm_cvtsi128_si32(s)) + kPL) % 97 == 1;
}

#else

namespace {

// Eight digits as a number, all at once.
std::uint64_t Osiem8(const char* p) {
  return scan::LiczbaZOsmiu(scan::Osiem(p));
}

}  // namespace

bool SumaKontrolnaPoprawna(std::string_view c) {
  if (c.size() != kCyfrNrb) return false;
  // The digits after the check digits, then "PL" as 25 21, then the check
  // digits: one number of 30 digits. Its three groups of eight digits are
  // read side by side and weighted by their place modulo 97; the weighted
  // sum stays far within 64 bits, so one remainder at the end suffices.
  const std::uint64_t a = Osiem8(c.data() + 2);
  const std::uint64_t b = Osiem8(c.data() + 10);
  const std::uint64_t d = Osiem8(c.data() + 18);
  const std::uint64_t suma =
      a * PotegaDziesieciMod97(22) + b * PotegaDziesieciMod97(14) + d * PotegaDziesieciMod97(6) +
      252100 + static_cast<unsigned>(c[0] - '0') * 10 + static_cast<unsigned>(c[1] - '0');
  return suma % 97 == 1;
}

#endif

bool NumerBankuPoprawny(std::string_view c) {
  if (c.size() != 8) return false;
  constexpr unsigned kWagi[7] = {3, 9, 7, 1, 3, 9, 7};
  unsigned suma = 0;
  for (std::size_t i = 0; i < 7; ++i) suma += kWagi[i] * static_cast<unsigned>(c[i] - '0');
  return static_cast<unsigned>(c[7] - '0') == (10 - suma % 10) % 10;
}

WynikNrb SprawdzNrb(std::string_view cyfry) {
  const bool suma = SumaKontrolnaPoprawna(cyfry);
  const bool bank = NumerBankuPoprawny(cyfry.substr(2, 8));
  if (suma) return bank ? WynikNrb::Poprawny : WynikNrb::NumerBanku;
  return bank ? WynikNrb::SumaKontrolna : WynikNrb::SumaINumerBanku;
}

namespace detail {

using scan::Cyfra;
using scan::Dokad;
using scan::MaskaCyfr;

namespace {

bool Litera(char c) {
  return static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}

// Where "PL" or "IBAN" stands right before the digits at `s` (one space
// between, or for "IBAN" a colon and a space too), or `s` when neither.
std::size_t Przedrostek(std::string_view l, std::size_t s, bool& jest) {
  jest = false;
  std::size_t j = s;
  if (j > 0 && l[j - 1] == ' ') --j;
  if (j >= 2 && l[j - 2] == 'P' && l[j - 1] == 'L' && (j == 2 || !Litera(l[j - 3]))) {
    jest = true;
    return j - 2;
  }
  if (j > 0 && l[j - 1] == ':') --j;
  if (j >= 4 && l.substr(j - 4, 4) == "IBAN" && (j == 4 || !Litera(l[j - 5]))) {
    jest = true;
    return s;
  }
  return s;
}

// The digit runs from `s` on, as long as one or two spaces or a hyphen part
// them: where each begins and ends.
struct TGrupy {
  static constexpr std::size_t kNajwiecej = 12;
  std::size_t od[kNajwiecej], doo[kNajwiecej];
  std::size_t ile = 0;
  std::size_t cyfr = 0;  // in all of them
  // Whether every separator up to group `k` is the same as the first.
  bool Rowne(std::string_view l, std::size_t k) const {
    for (std::size_t g = 2; g < k; ++g)
      if (l.substr(doo[g - 1], od[g] - doo[g - 1]) != l.substr(doo[0], od[1] - doo[0]))
        return false;
    return true;
  }
  std::size_t Dl(std::size_t g) const { return doo[g] - od[g]; }
};

TGrupy Grupy(std::string_view l, std::size_t s, std::size_t koniec) {
  TGrupy g;
  std::size_t p = s;
  while (g.ile < TGrupy::kNajwiecej) {
    const std::size_t e = std::min(Dokad<MaskaCyfr>(l, p), koniec);
    g.od[g.ile] = p;
    g.doo[g.ile++] = e;
    g.cyfr += e - p;
    if (g.cyfr > kNajwiecejCyfrPoPL) break;
    // The next group after one hyphen, or one or two spaces.
    std::size_t q = e;
    if (q < koniec && l[q] == '-') {
      ++q;
    } else {
      while (q < koniec && q - e < 2 && l[q] == ' ') ++q;
    }
    if (q == e || q >= koniec || !Cyfra(l[q])) break;
    p = q;
  }
  return g;
}

// Whether the group ending at `e` is the whole part of an amount: a decimal
// comma or point and a digit after it.
bool PrzedUlamkiem(std::string_view l, std::size_t e) {
  return e + 1 < l.size() && (l[e] == ',' || l[e] == '.') && Cyfra(l[e + 1]);
}

void Przepisz(std::string_view l, const TGrupy& g, TNumerWLinii& n) {
  std::size_t k = 0;
  for (std::size_t i = 0; i < g.ile && k < kCyfrNrb; ++i)
    for (std::size_t p = g.od[i]; p < g.doo[i] && k < kCyfrNrb; ++p) n.cyfry[k++] = l[p];
}

}  // namespace

bool NumerOd(std::string_view l, std::size_t s, std::size_t koniec, TNumerWLinii& n,
             std::size_t& dalej) {
  const std::size_t e = std::min(Dokad<MaskaCyfr>(l, s), koniec);
  dalej = e;
  bool przedrostek;
  n.poczatek = Przedrostek(l, s, przedrostek);
  if (e - s == kCyfrNrb) {
    n.wLinii = l.data() + s;
    n.dlugosc = e - n.poczatek;
    return true;
  }
  if (e - s != 2 && !przedrostek) return false;

  const TGrupy g = Grupy(l, s, koniec);
  // The printed groupings: two digits, then six groups of four, or a group
  // of eight and four of four; the same separator throughout.
  std::size_t grup = 0;
  if (e - s == 2 && g.ile >= 6) {
    bool czworki = g.ile >= 7, osemka = g.Dl(1) == 8;
    for (std::size_t i = 1; i < 7 && i < g.ile; ++i) {
      czworki = czworki && g.Dl(i) == 4;
      if (i >= 2 && i < 6) osemka = osemka && g.Dl(i) == 4;
    }
    grup = czworki ? 7 : osemka ? 6 : 0;
    if (grup && !g.Rowne(l, grup)) grup = 0;
  }
  if (grup) {
    Przepisz(l, g, n);
    // More groups after the number: an amount, or one more group, end it
    // ("... 2875 1500,00", "... 2875 1 500 zl"); at least two more groups
    // of four are a grouping that goes on, something longer, unless its
    // first 26 digits are an account by their check digits or by "PL".
    const bool dalszeCzworki = g.ile >= grup + 2 && g.Dl(grup) == 4 && g.Dl(grup + 1) == 4 &&
                               !(g.ile == grup + 2 && PrzedUlamkiem(l, g.doo[grup + 1]));
    if (dalszeCzworki && !przedrostek && !SumaKontrolnaPoprawna(n.Cyfry())) return false;
    dalej = g.doo[grup - 1];
    n.dlugosc = dalej - n.poczatek;
    return true;
  }
  if (!przedrostek) return false;

  // After "PL" or "IBAN" it is an account whatever its grouping: its first
  // 26 digits when a group ends there, else one with a digit lost or added.
  // A last group before a decimal comma is an amount's, and so are the
  // groups of up to three digits before it that part its thousands
  // ("2 500,00"); the account's count is told with or without them.
  std::size_t ile1 = g.ile, cyfr1 = g.cyfr;
  if (ile1 > 1 && PrzedUlamkiem(l, g.doo[ile1 - 1])) cyfr1 -= g.Dl(--ile1);
  std::size_t ile = ile1, cyfr = cyfr1;
  if (ile1 < g.ile) {
    for (std::size_t ostatnia = g.Dl(ile1); ostatnia == 3 && ile > 1 && g.Dl(ile - 1) <= 3;) {
      ostatnia = g.Dl(--ile);
      cyfr -= ostatnia;
    }
  }
  std::size_t razem = 0;
  for (std::size_t i = 0; i < ile; ++i) {
    razem += g.Dl(i);
    if (razem == kCyfrNrb) {
      Przepisz(l, g, n);
      dalej = g.doo[i];
      n.dlugosc = dalej - n.poczatek;
      return true;
    }
  }
  const auto wZakresie = [](std::size_t c) {
    return c >= kNajmniejCyfrPoPL && c <= kNajwiecejCyfrPoPL;
  };
  if (!wZakresie(cyfr)) {
    if (!wZakresie(cyfr1)) return false;
    ile = ile1;
  }
  n.pelny = false;
  dalej = g.doo[ile - 1];
  n.dlugosc = dalej - n.poczatek;
  return true;
}

}  // namespace detail
}  // namespace rachunki
