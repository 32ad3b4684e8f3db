#include "kodowanie/OcenaTekstu.h"

#include <memory>

#include "kodowanie/Kodowanie.h"
#include "linie/ZwykleAscii.h"

namespace kodowanie {

namespace {

enum TRodzaj : std::uint8_t {
  kInny,  // ASCII other than a letter, or no character at all
  kMala,
  kDuza,
  kPolskaMala,
  kPolskaDuza,
  kLacinskaMala,  // another Latin letter with a diacritic
  kLacinskaDuza,
  kNeutralny,
  kNieprawdopodobny,
};

bool Litera(TRodzaj r) {
  return r >= kMala && r <= kLacinskaDuza;
}
bool Mala(TRodzaj r) {
  return r == kMala || r == kPolskaMala || r == kLacinskaMala;
}

// Latin-1 and Latin Extended-A: capitals, then the pairs of the extension,
// whose parity turns at U+0138 and again at U+0179.
bool LacinskaDuza(char32_t c) {
  if (c < 0x100) return c < 0xDF;
  if (c < 0x138) return c % 2 == 0;
  if (c < 0x149) return c % 2 == 1;
  if (c < 0x179) return c % 2 == 0;
  if (c < 0x17F) return c % 2 == 1;
  return false;
}

// Typographic characters a text from an office program holds: plausible
// under any candidate, evidence for none.
bool Typograficzny(char32_t c) {
  switch (c) {
    case 0x00A0:
    case 0x00A7:
    case 0x00A9:
    case 0x00AB:
    case 0x00AD:
    case 0x00AE:
    case 0x00B0:
    case 0x00BB:
    case 0x00D7:
    case 0x2022:
    case 0x2026:
    case 0x2032:
    case 0x2033:
    case 0x2060:
    case 0x20AC:
    case 0x2122:
    case 0x2212:
    case 0xFEFF:
    case 0xFFFD:
      return true;
    default:
      return (c >= 0x2010 && c <= 0x2015) || (c >= 0x2018 && c <= 0x201E) ||
             (c >= 0x2007 && c <= 0x200D) || c == 0x202F;
  }
}

TRodzaj Okresl(char32_t c) {
  if (c < 0x80) {
    if (c >= 'a' && c <= 'z') return kMala;
    if (c >= 'A' && c <= 'Z') return kDuza;
    return kInny;
  }
  const int polska = BajtPolskiejLitery(c);
  if (polska >= 0) {
    // In Windows-1250 the capitals are A3 A5 AF 8C 8F C6 CA D1 D3.
    const bool duza = polska == 0xA3 || polska == 0xA5 || polska == 0xAF || polska == 0x8C ||
                      polska == 0x8F || polska == 0xC6 || polska == 0xCA || polska == 0xD1 ||
                      polska == 0xD3;
    return duza ? kPolskaDuza : kPolskaMala;
  }
  if (Typograficzny(c)) return kNeutralny;
  if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF))
    return LacinskaDuza(c) ? kLacinskaDuza : kLacinskaMala;
  return kNieprawdopodobny;
}

// The kind of every character of the Basic Multilingual Plane, built once.
const std::uint8_t* Rodzaje() {
  static const std::unique_ptr<std::uint8_t[]> t = [] {
    auto r = std::make_unique<std::uint8_t[]>(0x10000);
    for (char32_t c = 0; c < 0x10000; ++c) r[c] = Okresl(c);
    return r;
  }();
  return t.get();
}

TRodzaj Rodzaj(char32_t c) {
  static const std::uint8_t* const t = Rodzaje();
  return c < 0x10000 ? static_cast<TRodzaj>(t[c]) : kNieprawdopodobny;
}

// Scores one character outside ASCII between its neighbours.
void Dolicz(TOcena& o, TRodzaj poprzedni, TRodzaj ten, TRodzaj nastepny) {
  ++o.znaki;
  switch (ten) {
    case kPolskaMala:
    case kPolskaDuza: {
      // Polish has no one-letter word with a diacritic, and a capital never
      // follows a small letter inside a word.
      const bool wSlowie = Litera(poprzedni) || Litera(nastepny);
      const bool wielkoscZgodna = !(ten == kPolskaDuza && Mala(poprzedni));
      if (wSlowie && wielkoscZgodna) {
        o.punkty += kPunktyPolskiejLitery;
        ++o.polskie;
      }
      break;
    }
    case kLacinskaMala:
      o.punkty -= 1;
      break;
    case kLacinskaDuza:
      // A capital inside a word of small letters is what a misread UTF-8
      // text looks like ("zaĹĽ"), not a name.
      if (Mala(poprzedni)) {
        o.punkty -= 8;
        ++o.nieprawdopodobne;
      } else {
        o.punkty -= 1;
      }
      break;
    case kNieprawdopodobny:
      o.punkty -= 8;
      ++o.nieprawdopodobne;
      break;
    default:
      break;
  }
}

// The kind of every byte under a single-byte candidate, built once.
const std::array<std::uint8_t, 256>& RodzajeBajtow(TKodowanie k) {
  const auto zbuduj = [](TKodowanie kod) {
    std::array<std::uint8_t, 256> r{};
    const auto& t = Tablica(kod);
    for (int b = 0; b < 256; ++b)
      r[static_cast<std::size_t>(b)] = Rodzaj(t[static_cast<std::size_t>(b)]);
    return r;
  };
  static const std::array<std::uint8_t, 256> win = zbuduj(TKodowanie::Windows1250);
  static const std::array<std::uint8_t, 256> iso = zbuduj(TKodowanie::Iso8859_2);
  static const std::array<std::uint8_t, 256> dos = zbuduj(TKodowanie::Cp852);
  return k == TKodowanie::Iso8859_2 ? iso : k == TKodowanie::Cp852 ? dos : win;
}

void OcenUtf8(std::string_view linia, TOcenaLinii& wynik) {
  TOcena& o = wynik.kandydaci[kUtf8];
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const auto* const end = p + linia.size();
  const auto* i = p;
  if (wynik.bomUtf8) {
    o.punkty += 4 * kPunktyPolskiejLitery;  // a byte-order mark says it outright
    i += 3;
  }
  TRodzaj prev = kInny;
  while (i < end) {
    if (*i < 0x80) {
      const auto* const start = i;
      i += DlugoscZwyklych(i, static_cast<std::size_t>(end - i));
      if (i == start) ++i;
      prev = Rodzaj(i[-1]);
      continue;
    }
    const TSekwencja s = DekodujUtf8(i, end);
    if (s.dlugosc == 0) {
      ++o.znaki;
      ++o.nieprawdopodobne;
      o.punkty -= 12;
      wynik.utf8Poprawny = false;
      prev = kInny;
      ++i;
      continue;
    }
    wynik.utf8Wielobajtowy = true;
    o.punkty += kPunktyPolskiejLitery;  // random bytes seldom form a well-formed sequence
    const TRodzaj ten = Rodzaj(s.znak);
    TRodzaj next = kInny;
    if (i + s.dlugosc < end) {
      const TSekwencja n = DekodujUtf8(i + s.dlugosc, end);
      if (n.dlugosc) next = Rodzaj(n.znak);
    }
    Dolicz(o, prev, ten, next);
    prev = ten;
    i += s.dlugosc;
  }
}

}  // namespace

TOcenaLinii OcenLinie(std::string_view linia) {
  TOcenaLinii w;
  w.bajty = linia.size();
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const std::size_t n = linia.size();
  // The single-byte candidates in one walk over the bytes outside ASCII:
  // ASCII reads alike under all of them and is skipped eight bytes at a time.
  const std::array<std::uint8_t, 256>* rodzaje[] = {&RodzajeBajtow(TKodowanie::Windows1250),
                                                    &RodzajeBajtow(TKodowanie::Iso8859_2),
                                                    &RodzajeBajtow(TKodowanie::Cp852)};
  bool wysokie = false;
  for (std::size_t i = 0; i < n; ++i) {
    i += DlugoscZwyklych(p + i, n - i);
    if (i >= n) break;
    const unsigned char b = p[i];
    if (b < 0x80) {
      if (b == 0) ++w.zera;
      continue;
    }
    wysokie = true;
    const unsigned char przed = i > 0 ? p[i - 1] : ' ';
    const unsigned char po = i + 1 < n ? p[i + 1] : ' ';
    for (std::size_t k = 0; k < 3; ++k) {
      const auto& r = *rodzaje[k];
      Dolicz(w.kandydaci[k], static_cast<TRodzaj>(r[przed]), static_cast<TRodzaj>(r[b]),
             static_cast<TRodzaj>(r[po]));
    }
  }
  if (!wysokie) return w;  // ASCII alone reads alike under every candidate
  w.bomUtf8 = n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
  OcenUtf8(linia, w);
  return w;
}

TOcena OcenUtf16(std::string_view linia, bool littleEndian, std::size_t przesuniecie) {
  TOcena o;
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const std::size_t n = linia.size();
  const auto unit = [&](std::size_t i) -> char32_t {
    return littleEndian ? static_cast<char32_t>(p[i] | (p[i + 1] << 8))
                        : static_cast<char32_t>((p[i] << 8) | p[i + 1]);
  };
  TRodzaj prev = kInny;
  for (std::size_t i = przesuniecie; i + 1 < n; i += 2) {
    char32_t c = unit(i);
    if (c < 0x80) {
      if (c >= 0x20 && c < 0x7F) o.punkty += 1;
      prev = Rodzaj(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < n) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    const TRodzaj ten = Rodzaj(c);
    const TRodzaj next = i + 3 < n ? Rodzaj(unit(i + 2)) : kInny;
    Dolicz(o, prev, ten, next);
    prev = ten;
  }
  return o;
}

bool LiniaWUtf8(const TOcenaLinii& o) {
  return o.utf8Poprawny && o.utf8Wielobajtowy &&
         o.kandydaci[kUtf8].punkty > o.kandydaci[kWin1250].punkty;
}

bool LiniaWUtf8(std::string_view linia) {
  return LiniaWUtf8(OcenLinie(linia));
}

}  // namespace kodowanie
