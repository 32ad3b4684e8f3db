#include "diagnoza/ZnakDlaBanku.h"

#include <cstring>

#include "kodowanie/Cp1250.h"
#include "kodowanie/Kodowanie.h"
#include "kodowanie/ZnakiDozwolone.h"
#include "platform/PlatformText.h"
#include "profile/RegulaZnakow.h"

namespace diagnoza {

using kodowanie::BajtPolskiejLitery;
using kodowanie::TKodowanie;

namespace {

struct TZamiana {
  char32_t znak;
  const char* tekst;
};

// The typographic characters office programs put in and their plain forms.
constexpr TZamiana kZamiany[] = {
    {0x2010, "-"},  {0x2011, "-"},  {0x2012, "-"},  {0x2013, "-"},  {0x2014, "-"},  {0x2015, "-"},
    {0x2212, "-"},  {0x201E, "\""}, {0x201C, "\""}, {0x201D, "\""}, {0x00AB, "\""}, {0x00BB, "\""},
    {0x2033, "\""}, {0x201A, "'"},  {0x2018, "'"},  {0x2019, "'"},  {0x2032, "'"},  {0x2026, "..."},
    {0x00A0, " "},  {0x2007, " "},  {0x2009, " "},  {0x202F, " "},  {0x00DF, "ss"}, {0x1E9E, "SS"},
};

bool Niewidoczny(char32_t c) {
  return c == 0x00AD || (c >= 0x200B && c <= 0x200D) || c == 0x2060 || c == 0xFEFF;
}

bool ZnakLaczacy(char16_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
         (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
         (c >= 0xFE20 && c <= 0xFE2F);
}

bool LiteraAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The ASCII letter a Latin letter with diacritics decomposes into, or 0.
char LiteraBezZnakow(char32_t znak) {
  std::u16string s;
  if (znak < 0x10000) {
    s += static_cast<char16_t>(znak);
  } else {
    s += static_cast<char16_t>(0xD800 + ((znak - 0x10000) >> 10));
    s += static_cast<char16_t>(0xDC00 + ((znak - 0x10000) & 0x3FF));
  }
  const std::u16string d = platform::CanonicalDecomposition(s);
  if (d.size() < 2 || !LiteraAscii(d[0])) return 0;
  for (std::size_t i = 1; i < d.size(); ++i)
    if (!ZnakLaczacy(d[i])) return 0;
  return static_cast<char>(d[0]);
}

}  // namespace

TZnakiDlaBanku::TZnakiDlaBanku() : tablica_(std::make_unique<TWpis[]>(kTablica)) {}
TZnakiDlaBanku::~TZnakiDlaBanku() = default;

TZnakiDlaBanku::TWpis TZnakiDlaBanku::Oblicz(char32_t znak) {
  TWpis w;
  w.gotowy = true;
  const auto jako = [&w](const char* tekst, TZmiana zmiana) {
    w.dlugosc = static_cast<std::uint8_t>(std::strlen(tekst));
    std::memcpy(w.tekst, tekst, w.dlugosc);
    w.zmiana = zmiana;
  };
  const auto bajt = [&w](int b, TZmiana zmiana) {
    w.tekst[0] = static_cast<char>(b);
    w.dlugosc = 1;
    w.zmiana = zmiana;
  };
  if (znak < 0x80) {
    bajt(static_cast<int>(znak), kodowanie::CzyZnakBledny(static_cast<unsigned char>(znak))
                                     ? TZmiana::Zostawiony
                                     : TZmiana::Bez);
    return w;
  }
  // The letters in the encoding the bank reads (the profile's).
  const TKodowanie docelowe = profile::AktywnyProfil().kodowanie;
  if (const int b = BajtPolskiejLitery(znak); b >= 0) {
    if (docelowe == TKodowanie::Windows1250) {
      bajt(b, TZmiana::Bez);
    } else {
      w.dlugosc = static_cast<std::uint8_t>(ZapiszLitere(b, docelowe, w.tekst));
      w.zmiana = TZmiana::Bez;
    }
    return w;
  }
  for (const TZamiana& z : kZamiany) {
    if (z.znak == znak) {
      jako(z.tekst, TZmiana::Zamieniony);
      return w;
    }
  }
  if (Niewidoczny(znak)) {
    jako("", TZmiana::Usuniety);
    return w;
  }
  if (const char litera = LiteraBezZnakow(znak)) {
    const char tekst[2] = {litera, '\0'};
    jako(tekst, TZmiana::Zamieniony);
    return w;
  }
  // Held as it is for the user to see, where the bank's encoding can:
  // a Windows-1250 byte means nothing to a bank reading another one.
  if (const int b = kodowanie::cp1250::FromUnicode(znak);
      b >= 0 && docelowe == TKodowanie::Windows1250) {
    bajt(b, TZmiana::Zostawiony);
    return w;
  }
  if (docelowe == TKodowanie::Utf8 && znak < 0x800) {
    w.tekst[0] = static_cast<char>(0xC0 | (znak >> 6));
    w.tekst[1] = static_cast<char>(0x80 | (znak & 0x3F));
    w.dlugosc = 2;
    w.zmiana = TZmiana::Zostawiony;
    return w;
  }
  jako("?", TZmiana::Brak);
  return w;
}

const TZnakiDlaBanku::TWpis& TZnakiDlaBanku::ZnajdzRzadki(char32_t znak) {
  auto it = rzadkie_.find(znak);
  if (it == rzadkie_.end()) it = rzadkie_.emplace(znak, Oblicz(znak)).first;
  return it->second;
}

}  // namespace diagnoza
