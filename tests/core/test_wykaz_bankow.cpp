// The central bank's list of sort codes: the built-in table against the
// file it is generated from and against the rule every sort code follows,
// its look-up against a plain search, and lists given as files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "ModelNrb.h"
#include "TempDir.h"
#include "kodowanie/Cp1250.h"
#include "platform/InOutError.h"
#include "rachunki/Nrb.h"
#include "rachunki/Uwagi.h"
#include "rachunki/WykazBankow.h"

using namespace rachunki;

namespace {

std::string Kod8(std::uint32_t k) {
  std::string s = std::to_string(k);
  return std::string(8 - s.size(), '0') + s;
}

std::map<std::uint32_t, std::string> Wpisy(const TWykazBankow& w) {
  std::map<std::uint32_t, std::string> m;
  for (std::size_t i = 0; i < w.Rozmiar(); ++i) m[w.Bank(i).kod] = std::string(w.Bank(i).nazwa);
  return m;
}

void Zapisz(const std::string& sciezka, const std::string& tresc) {
  std::ofstream(sciezka, std::ios::binary) << tresc;
}

}  // namespace

TEST(WykazBankow, BuiltInIsTheShippedFileAndEveryCodeChecksItself) {
  const TWykazBankow& w = TWykazBankow::Wbudowany();
  ASSERT_EQ(w.Rozmiar(), 3156u);
  EXPECT_EQ(w.Data(), "02.07.2026");
  const auto wczytany = WczytajWykazBankow(WYKAZ_BANKOW_JSON);
  EXPECT_EQ(Wpisy(w), Wpisy(*wczytany));
  for (std::size_t i = 0; i < w.Rozmiar(); ++i) {
    const std::string kod = Kod8(w.Bank(i).kod);
    EXPECT_TRUE(NumerBankuPoprawny(kod)) << kod;
    EXPECT_FALSE(w.Bank(i).nazwa.empty()) << kod;
    if (i > 0) {
      EXPECT_LT(w.Bank(i - 1).kod, w.Bank(i).kod);
    }
  }
  // Names as the list gives them, in Windows-1250.
  EXPECT_EQ(w.Nazwa("10500015"),
            kodowanie::cp1250::Literal{u8"ING Bank Śląski Spółka Akcyjna"}.view());
  EXPECT_EQ(w.Nazwa("10205226"),
            kodowanie::cp1250::Literal{u8"Powszechna Kasa Oszczędności Bank Polski Spółka Akcyjna"}
                .view());
  EXPECT_EQ(w.Nazwa("10100071"), "Narodowy Bank Polski");
}

TEST(WykazBankow, LookUpAgreesWithAPlainSearchOnEveryValidCode) {
  // Every code with a right check digit in the ranges the banks use, and
  // random ones anywhere: on the list exactly when a plain search finds it.
  const TWykazBankow& w = TWykazBankow::Wbudowany();
  const auto wpisy = Wpisy(w);
  std::mt19937 rng(97);
  std::vector<std::uint32_t> kody;
  for (std::uint32_t k = 10100000; k < 10300000; k += 10) kody.push_back(k);
  for (int i = 0; i < 200000; ++i) kody.push_back(rng() % 100000000);
  int znalezione = 0;
  for (std::uint32_t k : kody) {
    std::string kod = Kod8(k);
    for (char c = '0'; c <= '9'; ++c) {
      kod[7] = c;
      if (NumerBankuPoprawny(kod)) break;
    }
    const std::uint32_t n = TWykazBankow::Kod(kod.data());
    const auto it = wpisy.find(n);
    EXPECT_EQ(std::string(w.Nazwa(n)), it == wpisy.end() ? std::string() : it->second) << kod;
    znalezione += it != wpisy.end();
  }
  EXPECT_GT(znalezione, 200);
}

TEST(WykazBankow, AListFromAFileIsDatedAndAWrongOneRefused) {
  const test_support::TempDir temp;
  const std::string plik = temp.path() + "/wykaz.json";
  Zapisz(
      plik,
      "{\"date\": \"2027-01-31\", \"entries\": [{\"name\": \"Bank \\u015al\\u0105ski\", \"bic\": "
      "\"X\", \"primary\": true, \"bank_codes\": [\"10500015\", \"10500002\"]}, {\"name\": "
      "\"Inny\", \"bank_codes\": [\"12400001\"], \"n\": [1.5e3, null, false]}]}");
  const auto w = WczytajWykazBankow(plik);
  EXPECT_EQ(w->Rozmiar(), 3u);
  EXPECT_EQ(w->Data(), "31.01.2027");
  EXPECT_EQ(w->Nazwa("10500015"), kodowanie::cp1250::Literal{u8"Bank Śląski"}.view());
  EXPECT_EQ(w->Nazwa("12400001"), "Inny");
  EXPECT_TRUE(w->Nazwa("10200003").empty());

  // Without a date, the day the file last changed.
  Zapisz(plik, "{\"entries\": [{\"name\": \"A\", \"bank_codes\": [\"10500015\"]}]}");
  EXPECT_EQ(WczytajWykazBankow(plik)->Data().size(), 10u);

  for (const std::string& zly : {
           std::string(""),
           std::string("[]"),
           std::string("{\"entries\": []}"),
           std::string("{\"entries\": [{\"name\": \"A\", \"bank_codes\": [\"10500016\"]}]}"),
           std::string("{\"entries\": [{\"name\": \"A\", \"bank_codes\": [10500015]}]}"),
           std::string("{\"entries\": [{\"name\": \"A\", \"bank_codes\": [\"10500015\"]}]"),
           std::string("{\"entries\": [{\"bank_codes\": [\"10500015\"]}]}"),
           std::string(100000, '[') + std::string(100000, ']'),
           std::string("10500015\tING\n"),
       }) {
    Zapisz(plik, zly);
    EXPECT_THROW(WczytajWykazBankow(plik), platform::EInOutError) << zly.substr(0, 60);
  }
  EXPECT_THROW(WczytajWykazBankow(temp.path() + "/brak.json"), platform::EInOutError);
}

TEST(WykazBankow, TheListInUseIsTheOneGiven) {
  const test_support::TempDir temp;
  const std::string plik = temp.path() + "/wykaz.json";
  Zapisz(plik, "{\"entries\": [{\"name\": \"A\", \"bank_codes\": [\"10500015\"]}]}");
  EXPECT_EQ(&WykazBankow(), &TWykazBankow::Wbudowany());
  UzyjWykazuBankow(WczytajWykazBankow(plik));
  EXPECT_EQ(WykazBankow().Rozmiar(), 1u);
  UzyjWykazuBankow(nullptr);
  EXPECT_EQ(&WykazBankow(), &TWykazBankow::Wbudowany());
}

TEST(WykazBankow, OnlyAListOfRightCodesSparesWeighingAListedCode) {
  // Lists read from files hold right codes only, and so does the built-in
  // one: an account whose code is on such a list needs its code's check
  // digit weighed no more. A list made with a wrong code must not spare it.
  EXPECT_TRUE(TWykazBankow::Wbudowany().KodyPoprawne());
  std::mt19937 rng(5);
  const std::string linia = "Jan Kowalski " + test_support::ModelValid(rng, "10500016") + " 100,00";
  for (const std::uint32_t drugi : {10200003u, 10500016u}) {
    auto wykaz = std::make_shared<const TWykazBankow>(
        std::vector<std::pair<std::uint32_t, std::string>>{{10500015u, "A"}, {drugi, "B"}},
        "01.01.2027");
    EXPECT_EQ(wykaz->KodyPoprawne(), drugi != 10500016u);
    UzyjWykazuBankow(wykaz);
    TSprawdzanieLinii sprawdzanie;
    const auto& uwagi = sprawdzanie.Sprawdz(linia);
    ASSERT_EQ(uwagi.size(), 1u) << drugi;
    EXPECT_EQ(uwagi[0].blad, Blad::NumerBankuWRachunku) << drugi;
  }
  UzyjWykazuBankow(nullptr);
}
