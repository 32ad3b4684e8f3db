// Account numbers and transfer records: the check digits against a model of
// their own, the finder over the ways people write a number, every rule of
// the record broken once, and the checker's streamed lines against whole
// ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ModelNrb.h"
#include "kodowanie/Cp1250.h"
#include "linie/LineSplitter.h"
#include "profile/Profil.h"
#include "profile/RegulaZnakow.h"
#include "rachunki/LinieStrumienia.h"
#include "rachunki/Nrb.h"
#include "rachunki/Uwagi.h"
#include "rachunki/WykazBankow.h"
#include "scan/Cyfry.h"

using namespace rachunki;
using test_support::ModelMod97;
using test_support::ModelSortCode;
using test_support::ModelValid;

namespace {

WynikNrb ModelWynik(const std::string& nrb) {
  const bool suma = ModelMod97(nrb), bank = ModelSortCode(nrb.substr(2, 8));
  if (suma) return bank ? WynikNrb::Poprawny : WynikNrb::NumerBanku;
  return bank ? WynikNrb::SumaKontrolna : WynikNrb::SumaINumerBanku;
}

// Published numbers: the IBAN registry's Polish example and the social
// insurance institution's funds, as printed on its forms.
const char* const kPublished[] = {
    "61109010140000071219812874", "83101010230000261395100000", "78101010230000261395200000",
    "73101010230000261395300000", "68101010230000261395400000",
};

std::vector<std::string> ValidNumbers() {
  std::vector<std::string> v(std::begin(kPublished), std::end(kPublished));
  std::mt19937 rng(2113);
  for (int i = 0; i < 40; ++i) v.push_back(ModelValid(rng));
  return v;
}

std::string Grouped(const std::string& n, char sep) {
  std::string g = n.substr(0, 2);
  for (std::size_t i = 2; i < 26; i += 4) g += sep + n.substr(i, 4);
  return g;
}

}  // namespace

TEST(Nrb, ValidNumbersPassAndEveryTypoOrNeighbourSwapFails) {
  for (const std::string& n : ValidNumbers()) {
    ASSERT_TRUE(ModelMod97(n)) << n;
    EXPECT_EQ(SprawdzNrb(n), WynikNrb::Poprawny) << n;
    for (std::size_t i = 0; i < n.size(); ++i) {
      for (char c = '0'; c <= '9'; ++c) {
        if (c == n[i]) continue;
        std::string t = n;
        t[i] = c;
        const WynikNrb w = SprawdzNrb(t);
        EXPECT_NE(w, WynikNrb::Poprawny) << t;
        EXPECT_EQ(w, ModelWynik(t)) << t;
      }
      if (i + 1 < n.size() && n[i] != n[i + 1]) {
        std::string t = n;
        std::swap(t[i], t[i + 1]);
        EXPECT_NE(SprawdzNrb(t), WynikNrb::Poprawny) << t;
        EXPECT_EQ(SprawdzNrb(t), ModelWynik(t)) << t;
      }
    }
  }
}

// An amount of up to eight digits read as one word, whatever bytes stand
// before it in the line: as the digits read one by one say, and refused
// with any byte in it not a digit.
TEST(Nrb, AShortNumberReadAsOneWordIsItsDigits) {
  std::mt19937 rng(8);
  for (int k = 0; k < 2000; ++k) {
    std::string l;
    for (int i = 0; i < 8; ++i) l += static_cast<char>(rng() % 256);
    const std::size_t n = rng() % 10;
    std::string cyfry;
    for (std::size_t i = 0; i < n; ++i) cyfry += static_cast<char>('0' + rng() % 10);
    const bool zepsuta = n > 0 && rng() % 4 == 0;
    if (zepsuta) cyfry[rng() % n] = "/:a \x00\xff"[rng() % 6];
    l += cyfry;
    std::uint64_t w = 12345;
    const bool jest = scan::KrotkaLiczba(l.data() + l.size(), n, w);
    EXPECT_EQ(jest, n >= 1 && n <= 8 && !zepsuta) << n << " " << cyfry;
    if (jest) {
      EXPECT_EQ(w, std::stoull(cyfry)) << cyfry;
    }
  }
}

TEST(Nrb, SortCodeAloneIsNamedOnlyWhenTheCheckDigitsFit) {
  // Two digits of the account part changed so that mod 97 still holds is
  // not a bank fault; a sort code that breaks only its own digit is.
  std::mt19937 rng(7);
  int found = 0;
  for (int i = 0; i < 2000 && found < 5; ++i) {
    std::string n = ModelValid(rng);
    n[5] = static_cast<char>('0' + (n[5] - '0' + 1) % 10);
    for (int cd = 0; cd < 100; ++cd) {
      n[0] = static_cast<char>('0' + cd / 10);
      n[1] = static_cast<char>('0' + cd % 10);
      if (ModelMod97(n)) break;
    }
    ASSERT_TRUE(ModelMod97(n));
    EXPECT_EQ(SprawdzNrb(n), WynikNrb::NumerBanku) << n;
    ++found;
  }
}

// Where numbers are found, as written: (column, value) for each.
TEST(Nrb, FinderTakesTheWrittenFormsAndNothingLonger) {
  const std::string n = "61109010140000071219812874";
  struct Case {
    std::string line;
    std::vector<std::pair<std::size_t, std::string>> found;
  };
  const std::vector<Case> cases = {
      {n, {{1, n}}},
      {"konto " + n + ", dalej", {{7, n}}},
      {"PL" + n, {{1, "PL" + n}}},
      {"IBAN: PL" + Grouped(n, ' ') + ".", {{7, "PL" + Grouped(n, ' ')}}},
      {Grouped(n, '-') + ";" + Grouped(n, ' '), {{1, Grouped(n, '-')}, {34, Grouped(n, ' ')}}},
      {"2024-03-28 " + Grouped(n, ' ') + " - 100 PLN", {{12, Grouped(n, ' ')}}},
      {"Jan;" + Grouped(n, ' ') + " 1500 zl", {{5, Grouped(n, ' ')}}},
      {"PL 61 10901014 0000 0712 1981 2874 x", {{1, "PL 61 10901014 0000 0712 1981 2874"}}},
      {"61  1090  1014  0000  0712  1981  2874", {{1, "61  1090  1014  0000  0712  1981  2874"}}},
      // A grouping that goes on is taken when its first 26 digits fit.
      {Grouped(n, ' ') + " 1234 5678", {{1, Grouped(n, ' ')}}},
      // Longer or shorter runs of digits, a grouping that goes on or breaks,
      // separators that differ or are more than two spaces.
      {"1" + n, {}},
      {n + "0", {}},
      {n.substr(1), {}},
      {Grouped(n, ' ').substr(0, 31) + "x", {}},
      {"61  1090 1014 0000 0712 1981 2874", {}},
      {"61   1090   1014   0000   0712   1981   2874", {}},
      {"61 1090-1014 0000 0712 1981 2874", {}},
      {"611 0901 0140 0000 7121 9812 874", {}},
      {"61 10901014 00000712 19812874", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<std::size_t, std::string>> got;
    ZnajdzNumery(c.line, [&](const TNumerWLinii& f) {
      got.emplace_back(f.poczatek + 1, c.line.substr(f.poczatek, f.dlugosc));
      EXPECT_EQ(f.Cyfry(), n) << c.line;
    });
    EXPECT_EQ(got, c.found) << c.line;
  }
  // The finder looks at every 26th byte: a number is found wherever the
  // line puts it, after text, spaces or other digits of its own.
  for (const std::string filler : {"x", " ", "1,", "1 ", "a 1-"}) {
    for (std::size_t k = 0; k < 80; ++k) {
      std::string prefix;
      while (prefix.size() < k) prefix += filler;
      prefix.resize(k);
      if (!prefix.empty() && scan::Cyfra(prefix.back())) prefix.back() = ',';
      for (const std::string& w : {n, Grouped(n, ' ')}) {
        int count = 0;
        ZnajdzNumery(prefix + w + "x", [&](const TNumerWLinii& f) {
          EXPECT_EQ(f.poczatek, k);
          ++count;
        });
        EXPECT_EQ(count, 1) << '"' << prefix << w << '"';
      }
    }
  }
}

namespace {

// Numbers with check digits made by the model on sort codes the central
// bank's list has, and the published ones: no finding is due on any.
std::vector<std::string> NumbersOfListedBanks() {
  std::vector<std::string> v(std::begin(kPublished), std::end(kPublished));
  const TWykazBankow& w = TWykazBankow::Wbudowany();
  std::mt19937 rng(30);
  std::uniform_int_distribution<int> d(0, 9);
  for (int i = 0; i < 8; ++i) {
    std::string kod = std::to_string(w.Bank(rng() % w.Rozmiar()).kod);
    std::string rest = kod;
    for (int k = 0; k < 16; ++k) rest += static_cast<char>('0' + d(rng));
    for (int cd = 0; cd < 100; ++cd) {
      const std::string n = std::to_string(cd / 10) + std::to_string(cd % 10) + rest;
      if (ModelMod97(n)) {
        v.push_back(n);
        break;
      }
    }
  }
  return v;
}

// The ways lists write a number, and the lines they put it in.
std::vector<std::string> Layouts(const std::string& n) {
  std::string g2 = n.substr(0, 2), g8 = n.substr(0, 2) + " " + n.substr(2, 8);
  for (std::size_t i = 2; i < 26; i += 4) g2 += "  " + n.substr(i, 4);
  for (std::size_t i = 10; i < 26; i += 4) g8 += " " + n.substr(i, 4);
  return {n,
          "PL" + n,
          Grouped(n, ' '),
          Grouped(n, '-'),
          g2,
          "PL" + Grouped(n, ' '),
          "PL " + g8,
          g8,
          "IBAN: " + Grouped(n, ' '),
          "IBAN " + n};
}
const char* const kContexts[][2] = {
    {"", ""},
    {"Jan Kowalski ", " 1500,00"},
    {"Jan Kowalski;", " 1500 zl"},
    {"Jan Kowalski;", ";1500,00"},
    {"wyplata ", " 2 500,00 PLN"},
    {"1;", " 1500"},
};

std::vector<TUwaga> Uwagi(const std::string& l) {
  TSprawdzanieLinii s;
  return s.Sprawdz(l);
}

}  // namespace

TEST(Nrb, EveryLayoutInEveryContextIsFoundAndEverySingleDigitErrorToldOnce) {
  for (const std::string& n : NumbersOfListedBanks()) {
    for (const std::string& layout : Layouts(n)) {
      for (const auto& [before, after] : kContexts) {
        const std::string line = before + layout + after;
        ASSERT_TRUE(Uwagi(line).empty()) << line;
        const std::size_t kolumna =
            std::string(before).size() +
            (layout.starts_with("IBAN") ? layout.find_first_of("0123456789") : 0) + 1;
        // Each digit of the number, changed to each other digit.
        for (std::size_t p = std::string(before).size();
             p < std::string(before).size() + layout.size(); ++p) {
          if (!scan::Cyfra(line[p])) continue;
          for (char c = '0'; c <= '9'; ++c) {
            if (c == line[p]) continue;
            std::string t = line;
            t[p] = c;
            const std::vector<TUwaga> u = Uwagi(t);
            ASSERT_EQ(u.size(), 1u) << t;
            EXPECT_EQ(u[0].kolumna, kolumna) << t;
            EXPECT_TRUE(u[0].blad == Blad::SumaKontrolna || u[0].blad == Blad::SumaINumerBanku)
                << t;
          }
        }
        // After "PL" or "IBAN" a digit lost or one too many is told, at the
        // number (as a wrong count, or as wrong check digits where the
        // amount's first digit makes up the 26).
        if (!layout.starts_with("PL") && !layout.starts_with("IBAN")) continue;
        for (std::size_t p = std::string(before).size();
             p < std::string(before).size() + layout.size(); ++p) {
          if (!scan::Cyfra(line[p])) continue;
          for (const std::string& t :
               {line.substr(0, p) + line.substr(p + 1), line.substr(0, p) + "7" + line.substr(p)}) {
            const std::vector<TUwaga> u = Uwagi(t);
            ASSERT_EQ(u.size(), 1u) << t;
            EXPECT_EQ(u[0].kolumna, kolumna) << t;
            EXPECT_TRUE(u[0].blad == Blad::LiczbaCyfr || u[0].blad == Blad::SumaKontrolna ||
                        u[0].blad == Blad::SumaINumerBanku)
                << t;
          }
        }
      }
    }
  }
}

TEST(Nrb, WhatOnlyLooksLikeANumberIsNoFinding) {
  for (const std::string& l : {
           std::string("Tel. 61 1090 1014, faks 61 1090 1015"),
           std::string("12 3456 7890 1234 5678 9012 3456 7890 1234"),
           std::string("123456789012345678901234567890"),
           std::string("PL 1500,00 zl"),
           std::string("PL 12345678901234567890 (20 cyfr)"),
           std::string("KOPL6110901014000007121981287"),
           std::string("2024-03-28 2024-03-29 2024-03-30 2024-03-31"),
           std::string("1 500 000 000 000 000 000 000 000,00"),
       })
    EXPECT_TRUE(Uwagi(l).empty()) << l;
}

namespace {

// A valid record; each case below changes one piece of it.
const std::string kRekord =
    "110,20240115,150000,10500015,0,\"15105000159303642621299722\","
    "\"65124050060033224538323640\",\"Firma Sp. z o.o.|ul. Prosta 1|00-001 Warszawa\","
    "\"Jan Kowalski|ul. Krzywa 2|30-001 Krakow\",0,12405006,\"Wynagrodzenie|za styczen\","
    "\"\",\"\",\"51\"";

std::string Zmien(std::string s, const std::string& z, const std::string& na) {
  const std::size_t p = s.find(z);
  EXPECT_NE(p, std::string::npos) << z;
  if (p != std::string::npos) s.replace(p, z.size(), na);
  return s;
}

std::vector<std::tuple<std::size_t, Pole, Blad, std::string>> Znalezione(const std::string& l) {
  TSprawdzanieLinii s;
  std::vector<std::tuple<std::size_t, Pole, Blad, std::string>> v;
  for (const TUwaga& u : s.Sprawdz(l))
    v.emplace_back(u.kolumna, u.pole, u.blad, std::string(u.Wartosc(l)));
  return v;
}

}  // namespace

TEST(ElixirO, EachRuleBrokenOnceIsTheOneFinding) {
  const std::string tytul36 = std::string(36, 'T');
  struct Case {
    std::string z, na;  // the change
    Pole pole;
    Blad blad;
    std::string wartosc;  // the value told, found in the changed line
  };
  const std::vector<Case> cases = {
      {"110,", "111,", Pole::RodzajZlecenia, Blad::RodzajZlecenia, "111"},
      {"20240115", "20230229", Pole::Data, Blad::Data, "20230229"},
      {"20240115", "2024-01-15", Pole::Data, Blad::Data, "2024-01-15"},
      {",150000,", ",1500,00,", Pole::Kwota, Blad::KwotaZnaki, "1500,00"},
      {",150000,", ",1500.00,", Pole::Kwota, Blad::KwotaZnaki, "1500.00"},
      {",150000,", ",\"1500,00\",", Pole::Kwota, Blad::KwotaZnaki, "1500,00"},
      {",150000,", ",000,", Pole::Kwota, Blad::KwotaZero, "000"},
      {"10500015", "1050001", Pole::BankZleceniodawcy, Blad::NumerBankuZnaki, "1050001"},
      {"10500015", "10500016", Pole::BankZleceniodawcy, Blad::NumerBankuCyfra, "10500016"},
      {",12405006,", ",11402004,", Pole::BankKontrahenta, Blad::NumerBankuInny, "11402004"},
      {"0033224538323640", "0033224538323641", Pole::RachunekKontrahenta, Blad::SumaKontrolna,
       "65124050060033224538323641"},
      {"0033224538323640", "0033224538323604", Pole::RachunekKontrahenta, Blad::SumaKontrolna,
       "65124050060033224538323604"},
      {"65124050", "65125050", Pole::RachunekKontrahenta, Blad::SumaINumerBanku,
       "65125050060033224538323640"},
      {"15105000159303642621299722", "1510500015930364262129972", Pole::RachunekZleceniodawcy,
       Blad::NieRachunek, "1510500015930364262129972"},
      {"Firma Sp. z o.o.|", "A|B|C|D|", Pole::NazwaZleceniodawcy, Blad::ZaDuzoCzesci,
       "A|B|C|D|ul. Prosta 1|00-001 Warszawa"},
      {"za styczen", tytul36, Pole::Tytul, Blad::CzescZaDluga, tytul36},
      {"\"51\"", "\"52\"", Pole::Klasyfikacja, Blad::Klasyfikacja, "52"},
      {"\"51\"", "\"53\"", Pole::Tytul, Blad::PodzielonaPlatnosc, "Wynagrodzenie|za styczen"},
      {"\"51\"", "\"51", Pole::Rekord, Blad::Cudzyslow, "\"51"},
  };
  ASSERT_TRUE(Znalezione(kRekord).empty());
  for (const Case& c : cases) {
    const std::string l = Zmien(kRekord, c.z, c.na);
    const std::size_t kolumna = l.find(c.wartosc) + 1;
    EXPECT_EQ(Znalezione(l), (std::vector{std::tuple{kolumna, c.pole, c.blad, c.wartosc}})) << l;
  }
}

// One checker keeps what it weighed of the last payer: lines in any order
// must get what a checker of their own finds, whatever came before them.
// Numbers in text fields and payers right, wrong and changed in turn.
TEST(ElixirO, ACheckerForManyLinesFindsWhatOneForEachLineFinds) {
  const std::vector<std::pair<std::string, std::string>> zmiany = {
      {"", ""},
      {"15105000159303642621299722", "15105000159303642621299723"},
      {"15105000159303642621299722", "65124050060033224538323640"},
      {"10500015", "10500016"},
      {"10500015", "12405006"},
      {"15105000159303642621299722\",\"65124050060033224538323640",
       "65124050060033224538323640\",\"15105000159303642621299722"},
      {"za styczen", "PL 65 1240 5006 0033 2245 3832 3641"},
      {"za styczen", "65124050060033224538323640 i 15105000159303642621299723"},
      {"Jan Kowalski", "Jan 12345678901234567890123456"},
      {"\"65124050060033224538323640\"", "\"65 1240 5006 0033 2245 3832 3640\""},
  };
  std::vector<std::string> linie;
  for (const auto& [z, na] : zmiany) linie.push_back(z.empty() ? kRekord : Zmien(kRekord, z, na));
  for (bool wstecz : {false, true}) {
    TSprawdzanieLinii wspolny;
    for (std::size_t k = 0; k < 3 * linie.size(); ++k) {
      const std::string& l = linie[wstecz ? (7 * k + 3) % linie.size() : k % linie.size()];
      std::vector<std::tuple<std::size_t, Pole, Blad, std::string>> v;
      for (const TUwaga& u : wspolny.Sprawdz(l))
        v.emplace_back(u.kolumna, u.pole, u.blad, std::string(u.Wartosc(l)));
      EXPECT_EQ(v, Znalezione(l)) << l;
    }
  }
}

// A record the checker clears in one go must be one that the check field by
// field finds nothing in: every rule broken at the edge of what it clears,
// under profiles of other limits, in a stream whose payer changes. Both
// checkers see the same lines in the same order; findings and fields must
// be the same, and every untouched record must take the short way.
TEST(ElixirO, RecordsClearedInOneGoAreThoseTheFullCheckFindsNothingIn) {
  std::mt19937 rng(53);
  std::string pozaWykazem;  // a sort code with a right check digit no bank has
  for (int i = 1000000; pozaWykazem.empty(); ++i)
    for (char c = '0'; c <= '9'; ++c)
      if (const std::string kod = std::to_string(i) + c;
          ModelSortCode(kod) && !WykazBankow().Zawiera(TWykazBankow::Kod(kod.c_str())))
        pozaWykazem = kod;
  const std::string obcy = ModelValid(rng, pozaWykazem);
  const std::string podatkowy = ModelValid(rng, "10100071222");
  const std::string innyPlatnik = ModelValid(rng, "10202892");
  // The payee's account and the sort code field beside it, both changed.
  auto odbiorca = [](const std::string& k) {
    const std::string srodek =
        "\",\"Firma Sp. z o.o.|ul. Prosta 1|00-001 Warszawa\","
        "\"Jan Kowalski|ul. Krzywa 2|30-001 Krakow\",0,";
    return std::pair{"65124050060033224538323640" + srodek + "12405006",
                     k + srodek + k.substr(2, 8)};
  };
  const std::vector<std::pair<std::string, std::string>> zmiany = {
      {"110,", "120,"},
      {"110,", "210,"},
      {"110,", "130,"},
      {"110,", "11,"},
      {"20240115", "20240230"},
      {"20240115", "2024011"},
      {",150000,", ",0,"},
      {",150000,", ",,"},
      {",150000,", ",1500,00,"},
      {",150000,", "," + std::string(26, '1') + ","},
      {",10500015,0,", ",10500015," + std::string(30, '0') + ","},
      {"15105000159303642621299722", "15105000159303642621299723"},
      {"15105000159303642621299722", "15 1050 0015 9303 6426 2129 9722"},
      {"10500015,0,\"15105000159303642621299722", innyPlatnik.substr(2, 8) + ",0,\"" + innyPlatnik},
      {"10500015", "10500016"},
      {"65124050060033224538323640\"", obcy + "\""},
      {"65124050060033224538323640\",", obcy + "\","},
      {"10500015,0,\"15105000159303642621299722", pozaWykazem + ",0,\"" + obcy},
      {"\"65124050060033224538323640\",\"Firma", "\"" + podatkowy + "\",\"Firma"},
      odbiorca(podatkowy),
      odbiorca(obcy),
      {",12405006,", ",11402004,"},
      {"Firma Sp. z o.o.|", "A|B|C|D|"},
      {"za styczen", std::string(36, 'T')},
      {"za styczen", std::string(34, 'T') + "|" + std::string(34, 'T')},
      {"za styczen", "konto 65124050060033224538323640"},
      {"za styczen", "PL 65 1240 5006 0033 2245 3832 364"},
      {"Jan Kowalski", "Jan Kowalski 12345678901234567890123456"},
      {"\"51\"", "\"53\""},
      {"\"51\"", "\"52\""},
      {"\"51\"", "\"\""},
      {"\"51\"", "\"51\",\"" + obcy + "\""},
      {",\"\",\"\",", ",\"" + obcy + "\",\"\","},
      {"\"Jan", "Jan"},
      {"\"51\"", "\"51"}};
  std::vector<std::string> linie;
  std::vector<bool> nietkniete;
  // Each account with a byte not a digit that the check digits' arithmetic
  // still takes: only the test for digits refuses it.
  for (const std::string konto : {"15105000159303642621299722", "65124050060033224538323640"}) {
    const std::size_t ile = linie.size();
    for (std::size_t i = 0; i < 16 * 256 && linie.size() == ile; ++i) {
      std::string z = konto;
      z[10 + i / 256] = static_cast<char>(i % 256);
      if (!scan::Cyfra(z[10 + i / 256]) && SumaKontrolnaPoprawna(z))
        linie.push_back(Zmien(kRekord, konto, z)), nietkniete.push_back(false);
    }
    ASSERT_EQ(linie.size(), ile + 1) << konto;
  }
  for (const auto& [z, na] : zmiany) {
    linie.insert(linie.end(), {Zmien(kRekord, z, na), kRekord});
    nietkniete.insert(nietkniete.end(), {false, true});
  }
  // A payee's name and title that fit every profile below, so that only
  // the payer's name tells them apart.
  linie.push_back(Zmien(Zmien(kRekord, "Jan Kowalski|ul. Krzywa 2|30-001 Krakow", "Jan"),
                        "Wynagrodzenie|za styczen", "Pensja"));
  nietkniete.push_back(true);
  profile::TProfil waski = profile::Domyslny(), dwieCzesci = waski, krotkie = waski;
  waski.czesci = dwieCzesci.czesci = 2;
  waski.dlugoscCzesci = 20;
  krotkie.dlugoscCzesci = 10;
  // One pair of checkers through every profile in turn: what the payer's
  // name was cleared under is not taken for another profile's answer.
  TSprawdzanieLinii naSkroty, poPolu(false);
  for (const profile::TProfil* p :
       {&profile::Domyslny(), &std::as_const(waski), &profile::Domyslny(),
        &std::as_const(dwieCzesci), &profile::Domyslny(), &std::as_const(krotkie)}) {
    profile::UzyjProfilu(*p);
    const bool domyslny = p == &profile::Domyslny();
    for (std::size_t k = 0; k < 3 * linie.size(); ++k) {
      const std::size_t i = k < linie.size() ? k : rng() % linie.size();
      const std::string& l = linie[i];
      const std::uint64_t przed = naSkroty.NaSkroty();
      EXPECT_EQ(naSkroty.Sprawdz(l), poPolu.Sprawdz(l)) << p->czesci << " " << l;
      const auto* a = naSkroty.Pola();
      const auto* b = poPolu.Pola();
      ASSERT_EQ(a != nullptr, b != nullptr) << l;
      EXPECT_TRUE(!a || std::equal(a->begin(), a->end(), b->begin(), b->end(),
                                   [](const auto& x, const auto& y) {
                                     return std::tie(x.poczatek, x.dlugosc, x.wCudzyslowie) ==
                                            std::tie(y.poczatek, y.dlugosc, y.wCudzyslowie);
                                   }))
          << l;
      if (nietkniete[i] && domyslny) {
        EXPECT_EQ(naSkroty.NaSkroty(), przed + 1) << "not cleared at once: " << l;
      }
    }
  }
  EXPECT_EQ(poPolu.NaSkroty(), 0u);
  profile::UzyjProfilu(profile::Domyslny());
}

TEST(ElixirO, ValidVariantsHaveNoFinding) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\"51\"", "\"51\",\"pole banku\""},  // a 16th field
      {"\"51\"", "\"\""},                   // no classification
      {"\"51\"", ""},
      {"Wynagrodzenie|za styczen\",\"\",\"\",\"51\"",
       "/VAT/230,00/IDC/5260001246|/INV/FV 1/2024/TXT/czynsz\",\"\",\"\",\"53\""},
      {"\"65124050060033224538323640\"", "\"PL65 1240 5006 0033 2245 3832 3640\""},
      {"Krzywa 2", "Krzywa 2, m. 3"},  // a comma inside quotes
      {"Jan Kowalski", std::string(35, 'J')},
      {"110,20240115", "210,20240229"},
      {"Jan Kowalski|ul. Krzywa 2|30-001 Krakow", "A|B|C|D"},
  };
  for (const auto& [z, na] : cases) {
    const std::string l = Zmien(kRekord, z, na);
    EXPECT_TRUE(Znalezione(l).empty()) << l;
  }
  // Not records: only their account numbers are checked.
  for (const std::string& l : {std::string("110;20240115;150000"), Zmien(kRekord, "110,", "1100,"),
                               kRekord.substr(0, kRekord.find(",\"Wynagrodzenie"))}) {
    EXPECT_TRUE(Znalezione(l).empty()) << l;
  }
  const std::string wolna = "1;65124050060033224538323641;1500,00";
  EXPECT_EQ(Znalezione(wolna),
            (std::vector{std::tuple{std::size_t{3}, Pole::Rachunek, Blad::SumaKontrolna,
                                    std::string("65124050060033224538323641")}}));
}

TEST(ElixirO, EachTitleRuleBrokenOnceIsTheOneFinding) {
  // A split payment of 1500,00 zl, then a tax payment to the micro-account
  // of the NIP 5260001246 (222, 2, the NIP, 00).
  const std::string podzielona =
      Zmien(Zmien(kRekord, "Wynagrodzenie|za styczen",
                  "/VAT/230,00/IDC/5260001246|/INV/FV 1/2024/TXT/czynsz"),
            "\"51\"", "\"53\"");
  const std::string podatkowy =
      Zmien(Zmien(Zmien(kRekord, "65124050060033224538323640", "70101000712222526000124600"),
                  ",12405006,", ",10100071,"),
            "Wynagrodzenie|za styczen", "/TI/N5260001246/OKR/24M01|/SFP/PIT4R/TXT/wynagrodzenia");
  const std::string dlugi = std::string(20, 'F') + "|" + std::string(16, 'F');
  struct Case {
    std::string rekord;
    std::string z, na;
    Pole pole;
    Blad blad;
    std::string wartosc;
  };
  const std::vector<Case> cases = {
      {podzielona, "/VAT/230,00", "/VAT/230.00", Pole::Tytul, Blad::VatKwota, "230.00"},
      {podzielona, "/VAT/230,00", "/VAT/12345678901,00", Pole::Tytul, Blad::VatKwota,
       "12345678901,00"},
      {podzielona, "/VAT/230,00", "/VAT/230,001", Pole::Tytul, Blad::VatKwota, "230,001"},
      {podzielona, "/VAT/230,00", "/VAT/1500,01", Pole::Tytul, Blad::VatWiekszaOdKwoty, "1500,01"},
      {podzielona, "5260001246|", "526000124600000|", Pole::Tytul, Blad::IdcZaDlugi,
       "526000124600000"},
      {podzielona, "5260001246|", "5260001247|", Pole::Tytul, Blad::Nip, "5260001247"},
      {podzielona, "5260001246|", "526-000-12-47|", Pole::Tytul, Blad::Nip, "526-000-12-47"},
      {podzielona, "/INV/FV 1/2024", "/INV/" + dlugi, Pole::Tytul, Blad::InvZaDlugi, dlugi},
      {podzielona, "czynsz", "c|" + std::string(33, 'c'), Pole::Tytul, Blad::TxtZaDlugi,
       "c|" + std::string(33, 'c')},
      {podzielona, "/IDC/", "/NIP/", Pole::Tytul, Blad::ZnacznikiPapierowe,
       "/VAT/230,00/NIP/5260001246|/INV/FV 1/2024/TXT/czynsz"},
      {podzielona, "/INV/", "/NR/", Pole::Tytul, Blad::ZnacznikiPapierowe,
       "/VAT/230,00/IDC/5260001246|/NR/FV 1/2024/TXT/czynsz"},
      {podzielona, "/INV/", "/FV/", Pole::Tytul, Blad::PodzielonaPlatnosc,
       "/VAT/230,00/IDC/5260001246|/FV/FV 1/2024/TXT/czynsz"},
      {podatkowy, "/TI/N", "/TI/X", Pole::Tytul, Blad::TypIdentyfikatora, "X"},
      {podatkowy, "/TI/N5260001246", "/TI/N5260001247", Pole::Tytul, Blad::Nip, "5260001247"},
      {podatkowy, "/TI/N5260001246", "/TI/P44051401358", Pole::Tytul, Blad::Pesel, "44051401358"},
      {podatkowy, "24M01", "24M13", Pole::Tytul, Blad::Okres, "24M13"},
      {podatkowy, "24M01", "24X01", Pole::Tytul, Blad::Okres, "24X01"},
      {podatkowy, "24M01", "2024", Pole::Tytul, Blad::Okres, "2024"},
      {podatkowy, "wynagrodzenia", "w|" + std::string(20, 'w'), Pole::Tytul,
       Blad::TxtPodatkowyZaDlugi, "w|" + std::string(20, 'w')},
      {podatkowy, "/SFP/PIT4R", "", Pole::Tytul, Blad::TytulPodatkowy,
       "/TI/N5260001246/OKR/24M01|/TXT/wynagrodzenia"},
      {podatkowy, "/TI/N5260001246", "/TI/N7831916366", Pole::RachunekKontrahenta,
       Blad::Mikrorachunek, "70101000712222526000124600"},
      // A valid sort code no bank has, told once, at the account.
      {Zmien(kRekord, ",12405006,", ",12405022,"), "65124050060033224538323640",
       "53124050220033224538323640", Pole::RachunekKontrahenta, Blad::SpozaWykazu,
       "53124050220033224538323640"},
  };
  ASSERT_EQ(Znalezione(podzielona), decltype(Znalezione(podzielona)){});
  ASSERT_EQ(Znalezione(podatkowy), decltype(Znalezione(podatkowy)){});
  for (const Case& c : cases) {
    const std::string l = Zmien(c.rekord, c.z, c.na);
    const std::size_t kolumna = l.find(c.wartosc, c.pole == Pole::Tytul ? l.find(",\"/") : 0) + 1;
    EXPECT_EQ(Znalezione(l), (std::vector{std::tuple{kolumna, c.pole, c.blad, c.wartosc}})) << l;
  }
  // What is not wrong: no /TXT/, the other periods, other identifiers and
  // the PESEL's micro-account (222, 1, the PESEL, 0), direct debits.
  for (const auto& [rekord, z, na] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {podzielona, "/TXT/czynsz", ""},
           {podzielona, "/VAT/230,00", "/VAT/1500,0"},
           {podzielona, "5260001246", "PL5260001247"},
           {podzielona, "110,", "210,"},
           {podatkowy, "/TXT/wynagrodzenia", ""},
           {podatkowy, "24M01", "0"},
           {podatkowy, "24M01", "24R"},
           {podatkowy, "24M01", "24K4"},
           {podatkowy, "24M01", "24J3112"},
           {podatkowy, "24M01", "24D0312"},
           {podatkowy, "N5260001246", "R540118203"},
           {podatkowy, "N5260001246", "2ZS1234567"},
           {Zmien(podatkowy, "70101000712222526000124600", "27101000712221440514013590"),
            "N5260001246", "P44051401359"},
       }) {
    const std::string l = Zmien(rekord, z, na);
    EXPECT_TRUE(Znalezione(l).empty()) << l;
  }
  // The published micro-account of a public NIP is the one made from it.
  const std::string mikro =
      Zmien(Zmien(podatkowy, "70101000712222526000124600", "56101000712222783191636600"),
            "5260001246", "7831916366");
  EXPECT_TRUE(Znalezione(mikro).empty()) << mikro;
}

TEST(ElixirO, AFindingSaysWhichBankAndWhatListItChecked) {
  const std::string l = Zmien(Zmien(kRekord, ",12405006,", ",12405022,"),
                              "65124050060033224538323640", "53124050220033224538323640");
  TSprawdzanieLinii s;
  const std::vector<TUwaga> u = s.Sprawdz(l);
  ASSERT_EQ(u.size(), 1u);
  EXPECT_EQ(
      OpisUwagi(u[0], l),
      kodowanie::cp1250::Literal{
          u8"numer rozliczeniowy 12405022 nie występuje w wykazie banków (stan na 02.07.2026)"}
          .view());
  EXPECT_TRUE(BankUwagi(u[0], l).empty());
  // Where the account is wrong, the record's sort code is told apart,
  // unless it is the account's own.
  EXPECT_EQ(Znalezione(Zmien(l, "53124050220033224538323640", "53124050220033224538323641")).size(),
            1u);
  const std::string obie = Zmien(l, "53124050220033224538323640", "65124050060033224538323641");
  EXPECT_EQ(Znalezione(obie),
            (std::vector{std::tuple{std::size_t{62}, Pole::RachunekKontrahenta, Blad::SumaKontrolna,
                                    std::string("65124050060033224538323641")},
                         std::tuple{std::size_t{182}, Pole::BankKontrahenta, Blad::SpozaWykazu,
                                    std::string("12405022")}}));
  const std::string wolna = "Jan;PL65 1240 5006 0033 2245 3832 3641;1500,00";
  const std::vector<TUwaga> v = s.Sprawdz(wolna);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(OpisUwagi(v[0], wolna), OpisBledu(Blad::SumaKontrolna));
  EXPECT_EQ(BankUwagi(v[0], wolna),
            kodowanie::cp1250::Literal{u8"Bank Polska Kasa Opieki Spółka Akcyjna"}.view());
}

namespace {

// Every finding of a text, line by line, through the checker's streamed
// lines fed in pieces of `kawalek` bytes.
struct Zbior final {
  rachunki::TLinieStrumienia linie;
  std::vector<std::tuple<std::uint64_t, std::size_t, Pole, Blad, std::string>> uwagi;
  std::uint64_t nr = 0;
  void Part(const char* d, std::size_t n, bool) { linie.Czesc(d, n); }
  void End() {
    ++nr;
    for (const TUwaga& u : linie.Koniec())
      uwagi.emplace_back(nr, u.kolumna, u.pole, u.blad, std::string(u.Wartosc(linie.Ostatnia())));
  }
  void Drop() { linie.Porzuc(); }
};

auto Strumien(const std::string& tekst, std::size_t kawalek) {
  Zbior z;
  linie::BasicLineSplitter<Zbior> sp(z);
  std::string piece;
  for (std::size_t off = 0; off < tekst.size(); off += kawalek) {
    // A buffer of its own, overwritten after each piece as the checker's.
    piece.assign(tekst, off, kawalek);
    sp.Feed(piece.data(), piece.size());
    z.linie.KoniecKawalka();
    piece.assign(piece.size(), '#');
  }
  sp.Finish();
  return z.uwagi;
}

std::string Plik(const char* nazwa) {
  std::ifstream f(std::string(EXAMPLES_DIR) + "/" + nazwa, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

TEST(ElixirO, ExampleListNamesExactlyItsFourMistakesInAnyPieces) {
  const std::string bledne = Plik("zlecenia-bledne.txt");
  ASSERT_FALSE(bledne.empty());
  using U = std::tuple<std::uint64_t, std::size_t, Pole, Blad, std::string>;
  const std::vector<U> oczekiwane = {
      {1, 62, Pole::RachunekKontrahenta, Blad::SumaKontrolna, "78102052262664737828830069"},
      {2, 62, Pole::RachunekKontrahenta, Blad::SumaKontrolna, "73109010141623306697058715"},
      {3, 182, Pole::BankKontrahenta, Blad::NumerBankuCyfra, "11402005"},
      {4, 14, Pole::Kwota, Blad::KwotaZnaki, "5020,00"},
  };
  for (std::size_t kawalek : {std::size_t{1}, std::size_t{7}, std::size_t{100}, bledne.size()})
    EXPECT_EQ(Strumien(bledne, kawalek), oczekiwane) << kawalek;
  EXPECT_TRUE(Strumien(Plik("zlecenia.txt"), 13).empty());
}

TEST(ElixirO, OverlongLinesAreNotLookedAtEitherWay) {
  const std::string dluga = std::string(kNajdluzszaLinia - 26, 'x') + "65124050060033224538323641";
  EXPECT_EQ(Strumien(dluga + "\r\n", 4096).size(), 1u);
  EXPECT_TRUE(Strumien("y" + dluga + "\r\n", 4096).empty());
  TSprawdzanieLinii s;
  EXPECT_TRUE(s.Sprawdz("y" + dluga).empty());
}

// Lines split from bit masks must split as a search field by field does:
// commas and quotes in every place around the 64-byte words the masks are
// made of, quotes inside text and before the line's end, unclosed quotes;
// and records as written, whose quotes only open and close fields (split
// at once from the quotes' count), with commas, quotes and "" in their text.
TEST(ElixirO, SplittingByMasksAgreesWithSearchingFieldByField) {
  std::mt19937 rng(30);
  const std::string znaki = ",,,,\"\"\"x1 ";
  const std::string tekst = "ab, 1\"";
  std::size_t rekordow = 0;
  for (int i = 0; i < 40000; ++i) {
    const std::size_t dlugosc =
        i % 100 == 0 ? 4000 + rng() % 97 : static_cast<std::size_t>(rng() % 300);
    std::string l;
    if (i % 2 == 0) {
      for (std::size_t k = 0; k < dlugosc; ++k) l += znaki[rng() % znaki.size()];
    } else {
      // Fields, quoted or not, some empty; a quote or comma in the text of
      // one field in eight.
      for (std::size_t pole = 0; l.size() < dlugosc || pole < 15; ++pole) {
        if (pole > 0) l += ',';
        std::string t;
        for (std::size_t k = rng() % 40; k > 0; --k) t += "xyz123 "[rng() % 7];
        if (rng() % 8 == 0) t.insert(rng() % (t.size() + 1), 1, tekst[rng() % tekst.size()]);
        l += rng() % 2 ? "\"" + t + "\"" : t;
      }
    }
    std::vector<rekord::TPoleRekordu> a, b;
    const rekord::Rekord ra = rekord::detail::PolaRekordu(l, a),
                         rb = rekord::detail::PolaRekorduMaskami(l, b);
    ASSERT_EQ(ra, rb) << l;
    ASSERT_EQ(a.size(), b.size()) << l;
    for (std::size_t f = 0; f < a.size(); ++f)
      ASSERT_EQ(std::tie(a[f].poczatek, a[f].dlugosc, a[f].wCudzyslowie),
                std::tie(b[f].poczatek, b[f].dlugosc, b[f].wCudzyslowie))
          << l << " field " << f;
    rekordow += ra != rekord::Rekord::Nie;
  }
  EXPECT_GT(rekordow, 20000u);  // most lines are split, not refused at once
}
