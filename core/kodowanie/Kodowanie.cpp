#include "kodowanie/Kodowanie.h"

#include <cctype>
#include <string>
#include <utility>

#include "kodowanie/Cp1250.h"
#include "kodowanie/ZnakiDozwolone.h"
#include "platform/PlatformText.h"

namespace kodowanie {

namespace {

struct TNazwa {
  std::string_view nazwa;
  TKodowanie kodowanie;
};

// The first name of each encoding is the one shown.
constexpr TNazwa kNazwy[] = {
    {"Windows-1250", TKodowanie::Windows1250},
    {"UTF-8", TKodowanie::Utf8},
    {"UTF-16LE", TKodowanie::Utf16LE},
    {"UTF-16BE", TKodowanie::Utf16BE},
    {"ISO-8859-2", TKodowanie::Iso8859_2},
    {"CP852", TKodowanie::Cp852},
    {"Windows-1250/UTF-8", TKodowanie::Windows1250Utf8},
    {"ISO-8859-2/UTF-8", TKodowanie::Iso8859_2Utf8},
    {"CP852/UTF-8", TKodowanie::Cp852Utf8},
    {"CP1250", TKodowanie::Windows1250},
    {"WINDOWS1250", TKodowanie::Windows1250},
    {"UTF8", TKodowanie::Utf8},
    {"UTF16LE", TKodowanie::Utf16LE},
    {"UTF16BE", TKodowanie::Utf16BE},
    {"ISO8859-2", TKodowanie::Iso8859_2},
    {"LATIN2", TKodowanie::Iso8859_2},
    {"IBM852", TKodowanie::Cp852},
};

std::array<char16_t, 256> Zbuduj(platform::CodePage page) {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 128; ++b) t[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
  const auto upper = platform::CodePageUpperHalf(page);
  for (std::size_t b = 0; b < 128; ++b) t[128 + b] = upper[b];
  return t;
}

}  // namespace

std::string_view Nazwa(TKodowanie k) {
  for (const TNazwa& n : kNazwy)
    if (n.kodowanie == k) return n.nazwa;
  return {};
}

std::optional<TKodowanie> ZNazwy(std::string_view nazwa) {
  const auto upper = [](std::string_view s) {
    std::string u;
    for (char c : s) u += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
  };
  const std::string szukana = upper(nazwa);
  for (const TNazwa& n : kNazwy)
    if (upper(n.nazwa) == szukana) return n.kodowanie;
  return std::nullopt;
}

// Each single-byte encoding and its mix with UTF-8.
constexpr std::pair<TKodowanie, TKodowanie> kMieszane[] = {
    {TKodowanie::Windows1250, TKodowanie::Windows1250Utf8},
    {TKodowanie::Iso8859_2, TKodowanie::Iso8859_2Utf8},
    {TKodowanie::Cp852, TKodowanie::Cp852Utf8},
};

bool Mieszane(TKodowanie k) {
  return Jednobajtowe(k) != k;
}

TKodowanie Jednobajtowe(TKodowanie k) {
  for (const auto& [jednobajtowe, mieszane] : kMieszane)
    if (mieszane == k) return jednobajtowe;
  return k;
}

TKodowanie ZUtf8(TKodowanie jednobajtowe) {
  for (const auto& [j, mieszane] : kMieszane)
    if (j == jednobajtowe) return mieszane;
  return TKodowanie::Windows1250Utf8;
}

const std::array<char16_t, 256>& Tablica(TKodowanie k) {
  // Built on first use: the code pages come from the system's facilities.
  static const std::array<char16_t, 256> iso = Zbuduj(platform::CodePage::Iso8859_2);
  static const std::array<char16_t, 256> dos = Zbuduj(platform::CodePage::Cp852);
  switch (k) {
    case TKodowanie::Iso8859_2:
      return iso;
    case TKodowanie::Cp852:
      return dos;
    default:
      return cp1250::kToUnicode;
  }
}

TSekwencja DekodujUtf8(const unsigned char* p, const unsigned char* end) {
  const unsigned lead = *p;
  if (lead < 0x80) return {1, lead};
  std::size_t len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
    cp = lead & 0x1F;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    cp = lead & 0x0F;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    cp = lead & 0x07;
    min = 0x10000;
  } else {
    return {0, 0};
  }
  if (static_cast<std::size_t>(end - p) < len) return {0, 0};
  for (std::size_t k = 1; k < len; ++k) {
    if ((p[k] & 0xC0) != 0x80) return {0, 0};
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {len, cp};
}

int BajtPolskiejLitery(char32_t znak) {
  for (int i = 0; i < 18; ++i) {
    const unsigned char b = ZnakiDozwolone[i];
    if (cp1250::kToUnicode[b] == znak) return b;
  }
  return -1;
}

namespace {

// The eighteen letters (Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż) in each
// single-byte encoding a bank reads.
constexpr unsigned char kIso8859_2[18] = {0xA1, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0xA6, 0xAC, 0xAF,
                                          0xB1, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0xB6, 0xBC, 0xBF};
constexpr unsigned char kCp852[18] = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD,
                                      0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};
// ... and in UTF-8: the second byte after C3, C4 or C5.
constexpr unsigned char kUtf8[18][2] = {
    {0xC4, 0x84}, {0xC4, 0x86}, {0xC4, 0x98}, {0xC5, 0x81}, {0xC5, 0x83}, {0xC3, 0x93},
    {0xC5, 0x9A}, {0xC5, 0xB9}, {0xC5, 0xBB}, {0xC4, 0x85}, {0xC4, 0x87}, {0xC4, 0x99},
    {0xC5, 0x82}, {0xC5, 0x84}, {0xC3, 0xB3}, {0xC5, 0x9B}, {0xC5, 0xBA}, {0xC5, 0xBC}};

}  // namespace

std::span<const unsigned char> Litery(TKodowanie k) {
  switch (k) {
    case TKodowanie::Iso8859_2:
      return kIso8859_2;
    case TKodowanie::Cp852:
      return kCp852;
    case TKodowanie::Utf8:
      return {};
    default:
      return std::span(ZnakiDozwolone).first<18>();
  }
}

std::size_t ZapiszLitere(int cp1250, TKodowanie k, char* out) {
  for (std::size_t i = 0; i < 18; ++i) {
    if (ZnakiDozwolone[i] != cp1250) continue;
    if (k == TKodowanie::Utf8) {
      out[0] = static_cast<char>(kUtf8[i][0]);
      out[1] = static_cast<char>(kUtf8[i][1]);
      return 2;
    }
    out[0] = static_cast<char>(Litery(k)[i]);
    return 1;
  }
  return 0;
}

bool PolskaLiteraUtf8(unsigned char pierwszy, unsigned char drugi) {
  for (const auto& l : kUtf8)
    if (l[0] == pierwszy && l[1] == drugi) return true;
  return false;
}

}  // namespace kodowanie
