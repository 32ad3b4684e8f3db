// Bank profiles: the reader of profile files (each key's value, and a file
// it refuses named with its line and key), the built-in profiles, and the
// rule each makes, on a list it takes and one it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestSupport.h"
#include "kodowanie/Cp1250.h"
#include "profile/RegulaZnakow.h"
#include "rachunki/Uwagi.h"
#include "typy/Typy.h"

namespace {

using kodowanie::TKodowanie;
using profile::TKonceLinii;
using profile::TProfil;

// The rule is the process's: each test leaves it at the default.
struct TProfilWTescie {
  explicit TProfilWTescie(const TProfil& p) { profile::UzyjProfilu(p); }
  ~TProfilWTescie() { profile::UzyjProfilu(profile::Domyslny()); }
};

const TProfil& Wbudowany(const char* utf8) {
  for (const TProfil& p : profile::Wbudowane())
    if (p.nazwa == kodowanie::cp1250::FromUtf8Lossy(utf8)) return p;
  throw std::runtime_error(std::string("no built-in profile ") + utf8);
}

std::vector<std::size_t> Bledne(const std::string& linia) {
  std::vector<std::size_t> v;
  Typy::ForEachFaultyByte(linia, [&](std::size_t pos, unsigned char) { v.push_back(pos); });
  return v;
}

// An Elixir-O record with `nazwa` as the payee's name field.
std::string Rekord(const std::string& nazwa) {
  return "110,20240328,100,10500015,0,\"15105000159303642621299722\","
         "\"73109010146123306697058715\",\"Nadawca\",\"" +
         nazwa + "\",0,10901014,\"Tytul\",\"\",\"\",\"51\"";
}

}  // namespace

TEST(Profil, eachKeySetsItsValue) {
  struct Przypadek {
    const char* tekst;
    TKodowanie kodowanie;
    std::string zabronione;
    TKonceLinii konce;
    std::uint32_t czesci, dlugosc;
  };
  const Przypadek przypadki[] = {
      {"nazwa = \"A\"", TKodowanie::Windows1250, "", TKonceLinii::Dowolne, 4, 35},
      {"nazwa = \"A\"\nkodowanie = \"UTF-8\"", TKodowanie::Utf8, "", TKonceLinii::Dowolne, 4, 35},
      {"nazwa = \"A\"\nkodowanie = \"iso-8859-2\"", TKodowanie::Iso8859_2, "", TKonceLinii::Dowolne,
       4, 35},
      {"nazwa = \"A\"\nkodowanie = \"CP852\"", TKodowanie::Cp852, "", TKonceLinii::Dowolne, 4, 35},
      // Sorted, each character once.
      {"nazwa = \"A\"\nzabronione = ';:;&'", TKodowanie::Windows1250, "&:;", TKonceLinii::Dowolne,
       4, 35},
      {"nazwa = \"A\"\nkonce_linii = \"CRLF\"", TKodowanie::Windows1250, "", TKonceLinii::CRLF, 4,
       35},
      {"nazwa = \"A\"\n[elixir]\nczesci = 3\ndlugosc_czesci = 70", TKodowanie::Windows1250, "",
       TKonceLinii::Dowolne, 3, 70},
  };
  for (const Przypadek& c : przypadki) {
    SCOPED_TRACE(c.tekst);
    const TProfil p = profile::CzytajProfil(c.tekst, "p.toml");
    EXPECT_EQ(p.nazwa, "A");
    EXPECT_EQ(p.kodowanie, c.kodowanie);
    EXPECT_EQ(p.zabronione, c.zabronione);
    EXPECT_EQ(p.konceLinii, c.konce);
    EXPECT_EQ(p.czesci, c.czesci);
    EXPECT_EQ(p.dlugoscCzesci, c.dlugosc);
  }
  // Names and sources are held in Windows-1250, as every text is.
  const TProfil p = profile::CzytajProfil("nazwa = \"Bank Łódź\"\nzrodlo = \"Opis §5\"", "p");
  EXPECT_EQ(p.nazwa, kodowanie::cp1250::FromUtf8Lossy("Bank Łódź"));
  EXPECT_EQ(p.zrodlo, kodowanie::cp1250::FromUtf8Lossy("Opis §5"));
}

TEST(Profil, aFileItCannotUseIsNamedWithLineAndKey) {
  struct Przypadek {
    const char* tekst;
    std::uint32_t linia;
    const char* klucz;
  };
  const Przypadek przypadki[] = {
      {"nazwa = \"A\"\nkolor = \"zielony\"", 2, "kolor"},
      {"nazwa = \"A\"\n[elixir]\nczesci = 4\nznaki = 3", 4, "elixir.znaki"},
      {"nazwa = \"A\"\nkodowanie = 1250", 2, "kodowanie"},
      {"nazwa = \"A\"\nkodowanie = \"UTF-16LE\"", 2, "kodowanie"},
      {"nazwa = \"A\"\nkodowanie = \"KOI8-R\"", 2, "kodowanie"},
      {"nazwa = \"A\"\nzabronione = \"ą\"", 2, "zabronione"},
      {"nazwa = \"A\"\nzabronione = \"\\t\"", 2, "zabronione"},
      {"nazwa = \"A\"\nkonce_linii = \"LF\"", 2, "konce_linii"},
      {"nazwa = \"A\"\n[elixir]\nczesci = 0", 3, "elixir.czesci"},
      {"nazwa = \"A\"\n[elixir]\ndlugosc_czesci = 1000", 3, "elixir.dlugosc_czesci"},
      {"nazwa = \"A\"\nelixir = 4", 2, "elixir"},
      {"nazwa = \"\"", 1, "nazwa"},
      {"nazwa = \"银行\"", 1, "nazwa"},
      {"zrodlo = \"bez nazwy\"", 0, "nazwa"},
      // A key of Polish letters (in quotes, or bare, which TOML refuses);
      // a private-use character the reader keeps for itself.
      {"nazwa = \"A\"\n\"źródło\" = \"x\"", 2, "źródło"},
      {"nazwa = \"A\"\nźródło = \"x\"", 2, ""},
      {"nazwa = \"A\"\n  żółw", 2, ""},
      {"nazwa = \"A\"\n# \uE005\n", 2, ""},
      // Bad TOML: the line, no key.
      {"nazwa = \"A\"\nzrodlo = \"niedomkniety\n", 2, ""},
      {"nazwa = \"A\"\nnazwa = \"B\"", 2, ""},
  };
  for (const Przypadek& c : przypadki) {
    SCOPED_TRACE(c.tekst);
    try {
      profile::CzytajProfil(c.tekst, "/etc/bank.toml");
      ADD_FAILURE() << "accepted";
    } catch (const profile::EProfil& e) {
      EXPECT_EQ(e.Plik(), "/etc/bank.toml");
      EXPECT_EQ(e.Linia(), c.linia);
      EXPECT_EQ(e.Klucz(), c.klucz);
      const std::string poczatek = "/etc/bank.toml" +
                                   (c.linia ? ":" + std::to_string(c.linia) : std::string()) +
                                   ": " + (*c.klucz ? std::string(c.klucz) + ": " : std::string());
      EXPECT_EQ(std::string(e.what()).substr(0, poczatek.size()), poczatek);
    }
  }
  // A file that is not there, or a folder, is refused the same way.
  const test_support::TempDir dir;
  for (const std::string& sciezka : {dir.path() + "/brak.toml", dir.path()}) {
    EXPECT_THROW(profile::WczytajProfil(sciezka), profile::EProfil) << sciezka;
    EXPECT_THROW(profile::ZnajdzProfil(sciezka), profile::EProfil) << sciezka;
  }
  std::ofstream(dir.path() + "/moj.toml") << "nazwa = \"M\"\nzabronione = \"#\"\n";
  EXPECT_EQ(profile::ZnajdzProfil(dir.path() + "/moj.toml").zabronione, "#");
}

TEST(Profil, builtInProfilesNameTheirSourceAndTheDefaultIsTheRuleItself) {
  const auto& w = profile::Wbudowane();
  ASSERT_GE(w.size(), 3u);
  EXPECT_TRUE(profile::CzyDomyslny(w.front()));
  EXPECT_EQ(w.front().nazwa, kodowanie::cp1250::FromUtf8Lossy("Zasady ogólne"));
  for (std::size_t i = 0; i < w.size(); ++i) {
    EXPECT_FALSE(w[i].zrodlo.empty()) << w[i].nazwa;
    for (std::size_t k = 0; k < i; ++k) EXPECT_NE(w[i].nazwa, w[k].nazwa);
    if (i > 0) {
      EXPECT_FALSE(profile::CzyDomyslny(w[i])) << w[i].nazwa;
    }
    EXPECT_EQ(profile::ZnajdzProfil(w[i].nazwa), w[i]);
  }
  const kodowanie::TRegulaZnakow r = profile::RegulaZnakow(w.front());
  EXPECT_EQ(r.klasa, kodowanie::kByteClass);
  EXPECT_EQ(r.bledny, kodowanie::kZnakBledny);
  EXPECT_FALSE(r.zalezny || r.crlf);
  EXPECT_EQ(profile::PlikiWbudowane().size(), w.size());
}

TEST(Profil, eachBuiltInProfileTakesAListAndRefusesAnother) {
  const std::string polskie1250 = kodowanie::cp1250::FromUtf8Lossy("Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ");
  const std::string polskieUtf8 = "Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ";
  // The same letters in CP852.
  const std::string polskie852 =
      "Za\xBE\xA2\x88\x86 g\xA9\x98l\xA5 ja\xAB\xE4 \xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD";
  struct Przypadek {
    const char* profil;
    std::string linia;
    std::vector<std::size_t> bledne;
  };
  const std::string zAmpersandem = Rekord("Firma & Syn;|ul. Prosta: 1");
  const std::size_t amp = zAmpersandem.find('&') + 1;
  const Przypadek przypadki[] = {
      {"Zasady ogólne", polskie1250, {}},
      {"Zasady ogólne", "a;b:c&d@e$f\"g", {}},
      {"Zasady ogólne",
       "en\x96"
       "dash",
       {3}},
      {"Najostrzejsze wspólne", polskie1250, {}},
      {"Najostrzejsze wspólne", Rekord("Jan Kowalski|ul. Prosta 1"), {}},
      {"Najostrzejsze wspólne", zAmpersandem, {amp, amp + 5, amp + 17}},
      // Outside a record the characters are refused anywhere.
      {"Najostrzejsze wspólne", "a;b \"c\"", {2, 5, 7}},
      {"Platforma banków spółdzielczych", "Kowalski & Syn", {10}},
      {"Elixir-O, Windows-1250, CR LF", "a;b:c&d", {}},
      {"Import firmowy, UTF-8", polskieUtf8, {}},
      {"Import firmowy, UTF-8",
       polskie1250,
       {3, 4, 5, 6, 9, 10, 12, 16, 17, 19, 20, 21, 22, 23, 24, 25, 26, 27}},
      // A letter the bank has no rule for: both of its bytes.
      {"Import firmowy, UTF-8", "caf\xC3\xA9", {4, 5}},
      {"Import firmowy, CP852", polskie852, {}},
      // Ą and Ź of Windows-1250 are ą and Ć of CP852.
      {"Import firmowy, CP852",
       polskie1250,
       {3, 4, 5, 6, 9, 10, 12, 16, 17, 20, 21, 22, 23, 24, 25, 27}},
      {"Wypłaty gotówkowe, CP852", polskie852, {}},
  };
  for (const Przypadek& c : przypadki) {
    SCOPED_TRACE(std::string(c.profil) + ": " + c.linia);
    const TProfilWTescie w(Wbudowany(c.profil));
    EXPECT_EQ(Bledne(c.linia), c.bledne);
    // Both of the window's views of a line agree with the list.
    for (std::size_t pos = 1; pos <= c.linia.size(); ++pos)
      EXPECT_EQ(Typy::CzyBlednyWLinii(c.linia, pos),
                std::find(c.bledne.begin(), c.bledne.end(), pos) != c.bledne.end())
          << pos;
  }
}

TEST(Profil, columnsAreCharactersOfTheBanksEncoding) {
  const TProfilWTescie w(Wbudowany("Import firmowy, UTF-8"));
  const std::string linia = "Łódź\t\xC3\xA9!";
  Typy::TKolumnyZnakow kolumna(linia);
  // Ł ó d ź (seven bytes), TAB at byte 8 is the fifth character, both
  // bytes of é the sixth, "!" the seventh.
  EXPECT_EQ(kolumna(2), 1u);
  EXPECT_EQ(kolumna(8), 5u);
  EXPECT_EQ(kolumna(9), 6u);
  EXPECT_EQ(kolumna(10), 6u);
  EXPECT_EQ(kolumna(11), 7u);
  const Typy::TRecError r = Typy::ZbudujRekord(0, linia);
  EXPECT_EQ(r.BadPositions, "5,6,6");
}

TEST(Profil, elixirPartsAndTheirLengthAreTheBanks) {
  // What a record's name and title may hold: the profile's parts and
  // characters per part, and the findings say those numbers.
  const auto uwagi = [](const std::string& nazwa) {
    rachunki::TSprawdzanieLinii s;
    std::vector<std::string> opisy;
    for (const rachunki::TUwaga& u : s.Sprawdz(Rekord(nazwa)))
      opisy.push_back(kodowanie::cp1250::ToUtf8(rachunki::OpisBledu(u.blad)));
    return opisy;
  };
  const std::string trzy = "Jan|ul. Prosta 1|00-001 Warszawa";
  const std::string dlugie = "Przedsiebiorstwo Handlowo-Uslugowe Sp. z o.o.";
  EXPECT_EQ(uwagi(trzy), std::vector<std::string>{});
  EXPECT_EQ(uwagi(dlugie), std::vector<std::string>{"część dłuższa niż 35 znaków"});
  {
    TProfil p = profile::Domyslny();
    p.nazwa = "krotkie";
    p.czesci = 2;
    p.dlugoscCzesci = 50;
    const TProfilWTescie w(p);
    EXPECT_EQ(uwagi(trzy), std::vector<std::string>{"więcej niż 2 części rozdzielone znakiem |"});
    EXPECT_EQ(uwagi(dlugie), std::vector<std::string>{});
  }
  // In UTF-8 a letter is one character of the 35.
  const TProfilWTescie w(Wbudowany("Import firmowy, UTF-8"));
  // 26 characters, 37 bytes.
  EXPECT_EQ(uwagi("Łódź Świętokrzyska Żółć Ąą"), std::vector<std::string>{});
  EXPECT_EQ(uwagi(dlugie), std::vector<std::string>{"część dłuższa niż 35 znaków"});
}

// Names of every shape around the limits: up to seven parts of 0 to 70
// characters, so that the value is shorter and longer than 64 bytes and a
// part is one short of, at and one over the limit. Each profile's findings
// must be what counting the parts one by one gives.
TEST(Profil, generatedNamesAreToldAsCountingTheirPartsTells) {
  std::mt19937 los(7);
  const std::pair<std::uint32_t, std::uint32_t> limity[] = {{4, 35}, {3, 20}, {1, 10}, {2, 63}};
  for (const auto& [czesci, dlugosc] : limity) {
    TProfil p = profile::Domyslny();
    p.nazwa = "granice";
    p.czesci = czesci;
    p.dlugoscCzesci = dlugosc;
    const TProfilWTescie w(p);
    for (int k = 0; k < 3000; ++k) {
      std::string nazwa;
      std::vector<std::pair<std::size_t, std::size_t>> wzor;  // each part: where, how long
      const int ile = 1 + static_cast<int>(los() % 7);
      for (int c = 0; c < ile; ++c) {
        if (c > 0) nazwa += '|';
        const std::size_t d =
            los() % 3 == 0 ? dlugosc - 1 + los() % 3 : static_cast<std::size_t>(los() % 71);
        wzor.emplace_back(nazwa.size(), d);
        for (std::size_t i = 0; i < d; ++i) nazwa += static_cast<char>('a' + los() % 26);
      }
      const std::string linia = Rekord(nazwa);
      const std::size_t od = linia.find(nazwa) + 1;
      std::vector<std::pair<std::size_t, rachunki::Blad>> oczekiwane;
      for (std::size_t c = 0; c < wzor.size(); ++c) {
        if (c == czesci) oczekiwane.emplace_back(od, rachunki::Blad::ZaDuzoCzesci);
        if (wzor[c].second > dlugosc)
          oczekiwane.emplace_back(od + wzor[c].first, rachunki::Blad::CzescZaDluga);
      }
      std::stable_sort(oczekiwane.begin(), oczekiwane.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      rachunki::TSprawdzanieLinii s;
      std::vector<std::pair<std::size_t, rachunki::Blad>> znalezione;
      for (const rachunki::TUwaga& u : s.Sprawdz(linia)) znalezione.emplace_back(u.kolumna, u.blad);
      ASSERT_EQ(znalezione, oczekiwane) << czesci << " x " << dlugosc << ": " << nazwa;
    }
  }
}
