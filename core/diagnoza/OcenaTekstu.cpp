#include "diagnoza/OcenaTekstu.h"

#include <array>

#include "diagnoza/ParyLiter.h"
#include "kodowanie/Cp1250.h"
#include "kodowanie/Kodowanie.h"
#include "scan/ZwykleAscii.h"

namespace diagnoza {

using kodowanie::BajtPolskiejLitery;
using kodowanie::DekodujUtf8;
using kodowanie::Tablica;
using kodowanie::TKodowanie;
using kodowanie::TSekwencja;
using scan::DlugoscZwyklych;

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
  kSymbol,  // a sign that stands apart from words: § © ® ° × • € ™
  kNieprawdopodobny,
};

// A character as the scoring sees it: its kind, and which letter it is for
// the pairs of ParyLiter.h (0 for anything but a letter, 36 for a foreign one).
struct TZnak {
  TRodzaj rodzaj = kInny;
  std::uint8_t symbol = 0;
};
constexpr std::uint8_t kObcaLitera = 36;
constexpr std::uint8_t kEszett = 37;  // "ß", which follows a vowel
constexpr TKodowanie kKodowania[] = {TKodowanie::Windows1250, TKodowanie::Iso8859_2,
                                     TKodowanie::Cp852};
constexpr std::uint8_t kStopien = 1;       // the symbol of "°", which may stand before a letter
constexpr std::uint8_t kTwardaSpacja = 1;  // the symbol of the no-break space
constexpr std::uint8_t kCudzyslow = 2;     // of a double quotation mark

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

TZnak Okresl(char32_t c) {
  if (c < 0x80) {
    if (c >= 'a' && c <= 'z') return {kMala, static_cast<std::uint8_t>(c - 'a' + 1)};
    if (c >= 'A' && c <= 'Z') return {kDuza, static_cast<std::uint8_t>(c - 'A' + 1)};
    return {};
  }
  const int polska = c < 0x180 ? BajtPolskiejLitery(c) : -1;  // Latin Extended-A ends there
  if (polska >= 0) {
    // In Windows-1250 the capitals are A5 C6 CA A3 D1 D3 8C 8F AF, in the
    // order of the pairs' table, and the small letters B9 E6 EA B3 F1 F3 9C 9F BF.
    constexpr unsigned char kDuze[] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF};
    constexpr unsigned char kMale[] = {0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
    for (std::uint8_t i = 0; i < 9; ++i) {
      if (polska == kDuze[i]) return {kPolskaDuza, static_cast<std::uint8_t>(27 + i)};
      if (polska == kMale[i]) return {kPolskaMala, static_cast<std::uint8_t>(27 + i)};
    }
  }
  if (Typograficzny(c)) {
    switch (c) {
      case 0x00A7:
      case 0x00A9:
      case 0x00AE:
      case 0x00D7:
      case 0x2022:
      case 0x20AC:
      case 0x2122:
        return {kSymbol, 0};
      case 0x00B0:
        return {kSymbol, kStopien};
      case 0x00A0:
        return {kNeutralny, kTwardaSpacja};
      case 0x00AB:
      case 0x00BB:
      case 0x201C:
      case 0x201D:
      case 0x201E:
        return {kNeutralny, kCudzyslow};
      default:
        return {kNeutralny, 0};
    }
  }
  if (c == 0xDF) return {kLacinskaMala, kEszett};
  if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF))
    return {LacinskaDuza(c) ? kLacinskaDuza : kLacinskaMala, kObcaLitera};
  return {kNieprawdopodobny, 0};
}

// The kind and letter of every character up to the end of Latin Extended-B,
// where the letters of the candidates' texts lie, built once: building it
// for the whole Basic Multilingual Plane took longer than checking a file.
constexpr char32_t kZnakiWTablicy = 0x250;

const std::array<TZnak, kZnakiWTablicy>& Znaki() {
  static const std::array<TZnak, kZnakiWTablicy> t = [] {
    std::array<TZnak, kZnakiWTablicy> r{};
    for (char32_t c = 0; c < kZnakiWTablicy; ++c) r[c] = Okresl(c);
    return r;
  }();
  return t;
}

TZnak Znak(char32_t c) {
  if (c < kZnakiWTablicy) return Znaki()[c];
  return c < 0x10000 ? Okresl(c) : TZnak{kNieprawdopodobny, 0};
}

// a e i o u y, or a foreign letter (ä ö ü): what "ß" follows. CP852 reads
// the "á" of ISO-8859-2 and Windows-1250 as "ß" ("Horákovß").
bool Samogloska(std::uint8_t symbol) {
  return symbol == 1 || symbol == 5 || symbol == 9 || symbol == 15 || symbol == 21 ||
         symbol == 25 || symbol == kObcaLitera;
}

// Whether the letters on either side may stand there in a Polish word; a
// foreign letter beside a Polish one never does.
bool ParaPolska(std::uint8_t przed, std::uint8_t litera, std::uint8_t po) {
  if (przed >= kObcaLitera || po >= kObcaLitera) return false;
  return pary::kPo[litera - 27u][przed] >> po & 1;
}

bool Duza(TRodzaj r) {
  return Litera(r) && !Mala(r);
}

// A small letter in a word of capitals: between two, or beside two with no
// small letter on its other side ("DąBROWSKI", "MODULACJą", "ąBC"). A
// capital in a word of small letters counts against a reading ("wymagajĄ"),
// and so, the other way round, does this.
bool MalaWsrodDuzych(TZnak przed2, TZnak przed, TZnak po, TZnak po2) {
  return (Duza(przed.rodzaj) && Duza(po.rodzaj)) ||
         (Duza(przed.rodzaj) && Duza(przed2.rodzaj) && !Mala(po.rodzaj)) ||
         (Duza(po.rodzaj) && Duza(po2.rodzaj) && !Mala(przed.rodzaj));
}

// Scores one character outside ASCII between its neighbours, two on each side.
void Dolicz(TOcena& o, TZnak przed2, TZnak poprzedni, TZnak ten, TZnak nastepny, TZnak po2) {
  ++o.znaki;
  switch (ten.rodzaj) {
    case kPolskaMala:
    case kPolskaDuza: {
      // Polish has no one-letter word with a diacritic: a letter standing
      // alone says nothing. Inside a word it counts for the reading when the
      // letters beside it are ones Polish puts there and its case fits
      // ("wymagajĄ", "Duąan" are another encoding's letters read as Polish ones).
      if (!Litera(poprzedni.rodzaj) && !Litera(nastepny.rodzaj)) break;
      // A capital inside a word stands among capitals, a small letter not
      // among them: "DĄbrowski" and "DąBROWSKI" are another encoding's.
      const bool wielkoscZgodna =
          ten.rodzaj == kPolskaDuza
              ? !(Mala(poprzedni.rodzaj) || (Litera(poprzedni.rodzaj) && Mala(nastepny.rodzaj)))
              : !MalaWsrodDuzych(przed2, poprzedni, nastepny, po2);
      ++o.litery;
      if (wielkoscZgodna && ParaPolska(poprzedni.symbol, ten.symbol, nastepny.symbol)) {
        o.punkty += kPunktyPolskiejLitery;
        ++o.polskie;
      } else {
        o.punkty -= kPunktyPolskiejLitery;
        ++o.nieprawdopodobne;
      }
      break;
    }
    case kLacinskaMala:
    case kLacinskaDuza:
      // A capital inside a word of small letters is what a misread UTF-8
      // text looks like ("zaĹĽ"), not a name; so is a letter with a
      // diacritic standing alone (the dash 96 read as CP852 "ľ"), a small
      // one starting a word or followed by a capital (the quote 84 read as
      // CP852 "ä" in "äpremia", the no-break space A0 as "á" in "JanáKowalski"),
      // and "ß" after a consonant.
      ++o.litery;
      if ((ten.rodzaj == kLacinskaDuza && Mala(poprzedni.rodzaj)) ||
          (ten.symbol == kEszett && !Samogloska(poprzedni.symbol)) ||
          (!Litera(poprzedni.rodzaj) && !Litera(nastepny.rodzaj)) ||
          (ten.rodzaj == kLacinskaMala &&
           (!Litera(poprzedni.rodzaj) || (Litera(nastepny.rodzaj) && !Mala(nastepny.rodzaj)) ||
            MalaWsrodDuzych(przed2, poprzedni, nastepny, po2)))) {
        o.punkty -= 8;
        ++o.nieprawdopodobne;
      } else {
        o.punkty -= 1;
      }
      break;
    case kSymbol:
      // Glued to a word it is a letter of another encoding: "Kate°ina",
      // "©imon" (but "20°C").
      if (Litera(poprzedni.rodzaj) || (Litera(nastepny.rodzaj) && ten.symbol != kStopien)) {
        o.punkty -= 8;
        ++o.nieprawdopodobne;
      }
      break;
    case kNeutralny:
      // A no-break space inside a word stands where another encoding has a
      // letter (CP852 "á" in "Novák" is A0): it weighs slightly against.
      if (ten.symbol == kTwardaSpacja && Litera(poprzedni.rodzaj) && Litera(nastepny.rodzaj)) {
        o.punkty -= 2;
        ++o.litery;
      }
      // A quotation mark between two letters is one too ("Sch„fer").
      if (ten.symbol == kCudzyslow && Litera(poprzedni.rodzaj) && Litera(nastepny.rodzaj)) {
        o.punkty -= 8;
        ++o.nieprawdopodobne;
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
const std::array<TZnak, 256>& RodzajeBajtow(TKodowanie k) {
  const auto zbuduj = [](TKodowanie kod) {
    std::array<TZnak, 256> r{};
    const auto& t = Tablica(kod);
    for (int b = 0; b < 256; ++b)
      r[static_cast<std::size_t>(b)] = Znak(t[static_cast<std::size_t>(b)]);
    return r;
  };
  static const std::array<TZnak, 256> win = zbuduj(TKodowanie::Windows1250);
  static const std::array<TZnak, 256> iso = zbuduj(TKodowanie::Iso8859_2);
  static const std::array<TZnak, 256> dos = zbuduj(TKodowanie::Cp852);
  return k == TKodowanie::Iso8859_2 ? iso : k == TKodowanie::Cp852 ? dos : win;
}

// The character a UTF-8 sequence at `i` decodes to (ASCII as it is), and
// where the next one starts; nothing for a byte of no well-formed sequence.
struct TNastepny {
  TZnak znak;
  const unsigned char* dalej;
};

TNastepny NastepnyUtf8(const unsigned char* i, const unsigned char* end) {
  if (i >= end) return {TZnak{}, end};
  const TSekwencja s = DekodujUtf8(i, end);
  if (s.dlugosc == 0) return {TZnak{}, i + 1};
  return {Znak(s.znak), i + s.dlugosc};
}

// A letter of Latin-1 or Latin Extended-A (Polish letters among them): what
// a well-formed sequence of a UTF-8 text decodes to and what single-byte text
// forms by chance only from bytes no Polish text holds (C3, C4, C5 are "Ă",
// "Ä", "Ĺ" and box drawing), while "ÓŁ" or "ĘŻ" decode to Cyrillic or IPA.
bool LiteraLacinska(char32_t c) {
  return c >= 0xC0 && c < 0x180 && c != 0xD7 && c != 0xF7;
}

// Scores bytes [i, end) of a line as UTF-8 into `o`, its structure into
// `wynik`; i and end stand beside bytes that are no letter.
void OcenUtf8(const unsigned char* i, const unsigned char* const end, TOcena& o,
              TOcenaLinii& wynik) {
  TZnak prev2;
  TZnak prev;
  while (i < end) {
    if (*i < 0x80) {
      const auto* const start = i;
      i += DlugoscZwyklych(i, static_cast<std::size_t>(end - i));
      if (i == start) ++i;
      prev2 = i - start >= 2 ? Znak(i[-2]) : prev;
      prev = Znak(i[-1]);
      continue;
    }
    const TSekwencja s = DekodujUtf8(i, end);
    if (s.dlugosc == 0) {
      ++o.znaki;
      ++o.nieprawdopodobne;
      o.punkty -= 12;
      wynik.utf8Poprawny = false;
      prev2 = prev;
      prev = TZnak{};
      ++i;
      continue;
    }
    wynik.utf8Wielobajtowy = true;
    if (LiteraLacinska(s.znak)) ++wynik.utf8Litery;
    o.punkty += kPunktyPolskiejLitery;  // random bytes seldom form a well-formed sequence
    const TZnak ten = Znak(s.znak);
    const TNastepny next = NastepnyUtf8(i + s.dlugosc, end);
    const TNastepny next2 = NastepnyUtf8(next.dalej, end);
    Dolicz(o, prev2, prev, ten, next.znak, next2.znak);
    prev2 = prev;
    prev = ten;
    i += s.dlugosc;
  }
}

// Whether letters [od, doo) of a line, read under a single-byte candidate,
// read as a Polish word: three letters or more, small, capitalised or in
// capitals, every three of them standing so in Polish words, which a
// foreign letter among them leaves unasked ("Ćwik", "wymagają", "Miloš";
// not "qycą", "HeĄ").
constexpr std::size_t kNajkrotszyWyraz = 3;
constexpr int kNajmniejTrojek = 3;

bool WyrazPolski(const unsigned char* p, std::size_t od, std::size_t doo,
                 const std::array<TZnak, 256>& r) {
  if (doo - od < kNajkrotszyWyraz) return false;
  bool male = true;  // every letter after the first is small
  bool duze = true;  // every letter after the first is a capital
  int trojki = 0;
  for (std::size_t j = od; j < doo; ++j) {
    const TZnak z = r[p[j]];
    if (j > od) {
      male = male && Mala(z.rodzaj);
      duze = duze && !Mala(z.rodzaj);
    }
    const std::uint8_t przed = j > od ? r[p[j - 1]].symbol : 0;
    const std::uint8_t po = j + 1 < doo ? r[p[j + 1]].symbol : 0;
    if (z.symbol >= kObcaLitera || przed >= kObcaLitera || po >= kObcaLitera) continue;
    if (!(pary::kTrojki[z.symbol][przed] >> po & 1)) return false;
    ++trojki;
  }
  // A small first letter with capitals after it ("aBC") is no word's case.
  return trojki >= kNajmniejTrojek && (male || (duze && !Mala(r[p[od]].rodzaj)));
}

// Whether one letter of another encoding at byte `i` of a clean line is
// evidence: its word reads as a Polish word and another word of the line
// does too ("Przelewy wymagają podpisu", "Ćwik Jan"), which a few random
// characters around one letter ("v_Ceząs") seldom do.
bool WPolskimTekscie(const unsigned char* p, std::size_t n, std::size_t i,
                     const std::array<TZnak, 256>& r) {
  std::size_t od = i;
  while (od > 0 && Litera(r[p[od - 1]].rodzaj)) --od;
  std::size_t doo = i + 1;
  while (doo < n && Litera(r[p[doo]].rodzaj)) ++doo;
  if (!WyrazPolski(p, od, doo, r)) return false;
  for (std::size_t j = 0; j < n;) {
    if (!Litera(r[p[j]].rodzaj)) {
      ++j;
      continue;
    }
    std::size_t k = j;
    while (k < n && Litera(r[p[k]].rodzaj)) ++k;
    if (j != od && WyrazPolski(p, j, k, r)) return true;
    j = k;
  }
  return false;
}

bool LiteraAscii(unsigned char b) {
  return (b | 0x20) >= 'a' && (b | 0x20) <= 'z';
}

// Scores one word of a line (bytes [od, doo), between bytes that are no
// letter, at least one above 7F) under every candidate, the rest of the line
// its context, and adds it to the line's scores: to those of its plausible
// words too when some candidate reads it plausibly.
void OcenSlowo(const unsigned char* p, std::size_t n, std::size_t od, std::size_t doo,
               TOcenaLinii& w) {
  // The single-byte candidates in one walk over the bytes outside ASCII.
  const std::array<TZnak, 256>* rodzaje[] = {&RodzajeBajtow(TKodowanie::Windows1250),
                                             &RodzajeBajtow(TKodowanie::Iso8859_2),
                                             &RodzajeBajtow(TKodowanie::Cp852)};
  // Bit k of a byte: candidate k reads it as another character than Windows-1250.
  static const std::array<std::uint8_t, 256> inne = [] {
    std::array<std::uint8_t, 256> t{};
    for (std::size_t b = 0; b < 256; ++b)
      for (std::size_t k = 1; k < 3; ++k)
        if (Tablica(kKodowania[k])[b] != kodowanie::cp1250::kToUnicode[b]) t[b] |= 1u << k;
    return t;
  }();
  std::array<TOcena, kKandydatow> o{};
  std::array<TRozne, kKandydatow> rozne{};
  for (std::size_t i = od; i < doo; ++i) {
    const unsigned char b = p[i];
    if (b < 0x80) continue;
    const unsigned char przed2 = i > 1 ? p[i - 2] : ' ';
    const unsigned char przed = i > 0 ? p[i - 1] : ' ';
    const unsigned char po = i + 1 < n ? p[i + 1] : ' ';
    const unsigned char po2 = i + 2 < n ? p[i + 2] : ' ';
    const auto& win = *rodzaje[0];
    Dolicz(o[0], win[przed2], win[przed], win[b], win[po], win[po2]);
    for (std::size_t k = 1; k < 3; ++k) {
      const auto& r = *rodzaje[k];
      Dolicz(o[k], r[przed2], r[przed], r[b], r[po], r[po2]);
      if (inne[b] & (1u << k)) {
        TRozne& z = rozne[k];
        const TOcena wPrzed = z.windows;
        const TOcena przedTym = z.inne;
        Dolicz(z.windows, win[przed2], win[przed], win[b], win[po], win[po2]);
        Dolicz(z.inne, r[przed2], r[przed], r[b], r[po], r[po2]);
        // What a clean file's hint needs: a letter this candidate reads
        // plausibly where Windows-1250 reads something implausible.
        if (z.inne.litery > przedTym.litery &&
            z.inne.nieprawdopodobne == przedTym.nieprawdopodobne &&
            z.windows.nieprawdopodobne > wPrzed.nieprawdopodobne) {
          ++z.dowody;
          z.mocne += WPolskimTekscie(p, n, i, r);
        }
      }
    }
  }
  const unsigned char* start = p + od;
  if (od == 0 && w.bomUtf8) {
    o[kUtf8].punkty += 4 * kPunktyPolskiejLitery;  // a byte-order mark says it outright
    start += 3;
  }
  OcenUtf8(start, p + doo, o[kUtf8], w);
  bool wiarygodne = false;
  for (std::size_t k = 0; k < kKandydatow; ++k) {
    w.kandydaci[k] += o[k];
    w.rozne[k] += rozne[k];
    wiarygodne = wiarygodne || o[k].nieprawdopodobne * 4 <= o[k].znaki;
  }
  if (!wiarygodne) {
    ++w.dziwneWyrazy;
    return;
  }
  for (std::size_t k = 0; k < kKandydatow; ++k) {
    w.czytelne[k] += o[k];
    w.rozneCzytelne[k] += rozne[k];
  }
}

}  // namespace

TOcenaLinii OcenLinie(std::string_view linia) {
  TOcenaLinii w;
  w.bajty = linia.size();
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const std::size_t n = linia.size();
  w.bomUtf8 = n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
  // Word by word: ASCII reads alike under every candidate, is skipped eight
  // bytes at a time, and a byte of it that is no letter ends a word.
  for (std::size_t i = 0; i < n;) {
    i += DlugoscZwyklych(p + i, n - i);
    if (i >= n) break;
    if (p[i] < 0x80) {
      if (p[i] == 0) ++w.zera;
      ++i;
      continue;
    }
    std::size_t od = i;
    while (od > 0 && (p[od - 1] >= 0x80 || LiteraAscii(p[od - 1]))) --od;
    std::size_t doo = i + 1;
    while (doo < n && (p[doo] >= 0x80 || LiteraAscii(p[doo]))) ++doo;
    OcenSlowo(p, n, od, doo, w);
    i = doo;
  }
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
  TZnak prev2;
  TZnak prev;
  for (std::size_t i = przesuniecie; i + 1 < n; i += 2) {
    char32_t c = unit(i);
    if (c < 0x80) {
      if (c >= 0x20 && c < 0x7F) o.punkty += 1;
      prev2 = prev;
      prev = Znak(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < n) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    const TZnak ten = Znak(c);
    const TZnak next = i + 3 < n ? Znak(unit(i + 2)) : TZnak{};
    const TZnak next2 = i + 5 < n ? Znak(unit(i + 4)) : TZnak{};
    Dolicz(o, prev2, prev, ten, next, next2);
    prev2 = prev;
    prev = ten;
  }
  return o;
}

bool LiniaWUtf8(const TOcenaLinii& o) {
  return o.utf8Poprawny && o.utf8Wielobajtowy &&
         (o.utf8Litery >= kLiterUtf8 ||
          o.kandydaci[kUtf8].punkty > NajlepszaJednobajtowa(o).punkty);
}

const TOcena& NajlepszaJednobajtowa(const TOcenaLinii& o) {
  const TOcena* n = &o.kandydaci[kWin1250];
  for (std::size_t k : {kIso8859_2, kCp852})
    if (o.kandydaci[k].punkty > n->punkty) n = &o.kandydaci[k];
  return *n;
}

bool LiniaWUtf8(std::string_view linia) {
  return LiniaWUtf8(OcenLinie(linia));
}

}  // namespace diagnoza
