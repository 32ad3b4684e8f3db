#pragma once
// Polish transfer lines written in each encoding a file arrives in. The
// letters are spelled out per encoding here, independently of the code
// under test.
#include <string>
#include <string_view>
#include <vector>

#include "kodowanie/Kodowanie.h"

namespace testing_core {

// Names with exactly one Polish letter each, the eighteen letters in turn.
inline const std::vector<std::string> kJednaLitera = {
    "Dąbrowski", "Maćkowiak",   "Węgrzyn", "Michał",    "Bańka",       "Wójcik",
    "Kośmider",  "Kaźmierczak", "Rożek",   "DĄBROWSKI", "MAĆKOWIAK",   "WĘGRZYN",
    "MICHAŁ",    "BAŃKA",       "WÓJCIK",  "ŚLIWA",     "KAŹMIERCZAK", "ŻAK"};

inline const std::vector<std::string> kOpisy = {"Wynagrodzenie za październik",
                                                "Zwrot kosztów podróży służbowej",
                                                "Ekwiwalent za urlop",
                                                "Dodatek świąteczny",
                                                "Składka związkowa",
                                                "Potrącenie ze źródła",
                                                "Ryczałt za dojazdy",
                                                "Nagroda jubileuszowa – Łódź",
                                                "Zażółć gęślą jaźń"};

// Line i of a payroll list, in UTF-8.
inline std::string LiniaPrzelewu(std::size_t i) {
  return std::to_string(i + 1) + ";" + kJednaLitera[i % kJednaLitera.size()] + ";" +
         kOpisy[i % kOpisy.size()] + ";" + std::to_string(1000 + i * 37 % 9000) +
         ",00;PL61109010140000071219812874";
}

// `n` lines of the list in UTF-8, each ended by CR LF.
inline std::string ListaPrzelewow(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += LiniaPrzelewu(i) + "\r\n";
  return s;
}

// UTF-8 text holding only ASCII, Polish letters and the en dash, re-encoded.
inline std::string Zakoduj(std::string_view utf8, kodowanie::TKodowanie k) {
  using kodowanie::TKodowanie;
  static const char* const kLitery[] = {"Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż", "ą",
                                        "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż", "–"};
  static const unsigned char kWin[] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF, 0xB9,
                                       0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF, 0x96};
  static const unsigned char kIso[] = {0xA1, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0xA6, 0xAC, 0xAF, 0xB1,
                                       0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0xB6, 0xBC, 0xBF, '-'};
  static const unsigned char kDos[] = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD, 0xA5,
                                       0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE, '-'};
  static const char16_t kUtf16[] = {0x104, 0x106, 0x118, 0x141, 0x143, 0xD3,  0x15A,
                                    0x179, 0x17B, 0x105, 0x107, 0x119, 0x142, 0x144,
                                    0xF3,  0x15B, 0x17A, 0x17C, 0x2013};
  if (k == TKodowanie::Utf8) return std::string(utf8);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    int litera = -1;
    for (int l = 0; l < 19 && litera < 0; ++l)
      if (utf8.substr(i).starts_with(kLitery[l])) litera = l;
    char16_t u = static_cast<unsigned char>(utf8[i]);
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    if (litera >= 0) {
      u = kUtf16[litera];
      b = k == TKodowanie::Iso8859_2 ? kIso[litera]
          : k == TKodowanie::Cp852   ? kDos[litera]
                                     : kWin[litera];
      i += std::string_view(kLitery[litera]).size();
    } else {
      ++i;
    }
    if (k == TKodowanie::Utf16LE) {
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>(u >> 8);
    } else if (k == TKodowanie::Utf16BE) {
      out += static_cast<char>(u >> 8);
      out += static_cast<char>(u & 0xFF);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

// The Polish letters of a Windows-1250 text, in order.
inline std::string PolskieLitery(std::string_view cp1250) {
  static const std::string kPolskie =
      "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
  std::string out;
  for (char c : cp1250)
    if (kPolskie.find(c) != std::string::npos) out += c;
  return out;
}

}  // namespace testing_core
