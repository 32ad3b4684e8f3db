// A large file is checked in two parts side by side, the second part's
// findings told after the first's. Whatever lies where the parts meet, the
// sink hears what it hears from the file checked in one go, and the checker
// prints the same, byte for byte; where the second part cannot stand (a
// record repeated across the parts, another payer, more findings than its
// log holds) the file is still checked right.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ModelNrb.h"
#include "TempDir.h"
#include "Uruchom.h"
#include "linie/CzytajKawalkami.h"
#include "platform/InOutError.h"
#include "rachunki/Podsumowanie.h"
#include "sprawdzanie/DrugaCzesc.h"
#include "sprawdzanie/SprawdzPlik.h"

using namespace cli_test;
using test_support::ModelValid;
using test_support::RekordElixirO;
using test_support::TempDir;

namespace {

// Every call the sink gets, with what it is given, as text.
class TWszystko final : public sprawdzanie::TZnaleziska {
 public:
  linie::SprawdzanieStrumienia::Options Opcje() const override { return {}; }
  void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) override {
    Dodaj("bajt", line, column, b);
  }
  void EmptyLine(std::uint64_t line) override { Dodaj("pusta", line); }
  void EmptyLines(std::uint64_t first, std::uint64_t count) override {
    Dodaj("puste", first, count);
  }
  void FaultyLine(std::uint64_t line, std::string_view bytes) override {
    Dodaj("linia", line, bytes.size());
  }
  void Corrected(const char*, std::size_t) override { Dodaj("poprawione"); }
  void Uwaga(std::uint64_t linia, const rachunki::TUwaga& u, std::string_view bajty) override {
    Dodaj("uwaga", linia, u.kolumna, u.dlugosc, static_cast<int>(u.pole), static_cast<int>(u.blad));
    zapis.back() += std::string(u.Wartosc(bajty));
  }
  void Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o,
                   std::string_view bajty) override {
    Dodaj("ostrzezenie", linia, o.kolumna, o.innaLinia, static_cast<int>(o.rodzaj));
    zapis.back() += std::string(o.Wartosc(bajty));
  }

  std::vector<std::string> zapis;

 private:
  template <class... T>
  void Dodaj(const char* co, T... liczby) {
    std::string s = co;
    ((s += " " + std::to_string(liczby)), ...);
    zapis.push_back(s + " ");
  }
};

void JedenWatek(bool jeden) {
  if (jeden)
    ::setenv("WERYFIKACJA_WATKI", "1", 1);
  else
    ::unsetenv("WERYFIKACJA_WATKI");
}

// A payroll of this many bytes or a little more: records of one payer,
// each paying another payee, on dates that repeat.
constexpr std::size_t kBajtow = std::size_t{9} << 20;

struct TLista {
  std::vector<std::string> linie;
  std::vector<std::string> konce;  // each line's end
  std::string Bajty() const {
    std::string b;
    for (std::size_t i = 0; i < linie.size(); ++i) b += linie[i] + konce[i];
    return b;
  }
  // The line that starts this many bytes into the file.
  std::size_t LiniaOd(std::size_t bajt) const {
    std::size_t p = 0;
    for (std::size_t i = 0; i < linie.size(); ++i) {
      p += linie[i].size() + konce[i].size();
      if (p > bajt) return i + 1;
    }
    return linie.size();
  }
};

TLista Lista(unsigned seed) {
  std::mt19937 rng(seed);
  const std::string platnik = ModelValid(rng, "10500015");
  TLista l;
  for (std::size_t bajtow = 0; bajtow < kBajtow;) {
    const std::size_t i = l.linie.size();
    l.linie.push_back(RekordElixirO(
        "110", "202403" + std::to_string(10 + i % 18), std::to_string(1000 + i), platnik,
        ModelValid(rng, i % 2 ? "27200007" : "24901028"), "Wynagrodzenie " + std::to_string(i)));
    l.konce.push_back("\r\n");
    bajtow += l.linie.back().size() + 2;
  }
  return l;
}

struct TPrzypadek {
  const char* nazwa;
  std::function<void(TLista&)> zmien;
  bool dwieCzesci;  // whether the second part's findings stand
};

// Lines well inside the first part and well inside the second: the second
// part starts at the first line past the piece in the file's middle.
constexpr std::size_t kWPierwszej = 1000;
std::size_t WDrugiej(const TLista& l) {
  return l.LiniaOd(kBajtow / 2 / linie::kKawalekMapy * linie::kKawalekMapy) + 2000;
}

std::vector<TPrzypadek> Przypadki() {
  auto cyfra = [](std::string& linia) {
    // A digit of the payee's account changed: its check digits fail.
    const std::size_t p = linia.find("\",\"") + 10;
    linia[p] = linia[p] == '9' ? '0' : static_cast<char>(linia[p] + 1);
  };
  return {
      {"a clean payroll", [](TLista&) {}, true},
      {"findings on both sides and where the parts meet",
       [&](TLista& l) {
         const std::size_t srodek = WDrugiej(l) - 2000;
         for (std::size_t i : {std::size_t{5}, kWPierwszej, srodek - 1, srodek, srodek + 1,
                               WDrugiej(l), l.linie.size() - 1}) {
           cyfra(l.linie[i]);
           l.linie[i - 1] += "\x96";  // a faulty byte
           l.konce[i - 2] = "\n";     // a line end without its CR
         }
         l.linie[srodek + 3].clear();  // empty lines
         l.linie[srodek + 4].clear();
         l.linie.back() += "\r";  // a stray CR, and no line end at the end
         l.konce.back().clear();
       },
       true},
      {"a repeat within the second part",
       [](TLista& l) { l.linie[WDrugiej(l) + 1] = l.linie[WDrugiej(l)]; }, true},
      {"another payer in the second part",
       [](TLista& l) {
         std::mt19937 rng(7);
         std::string& r = l.linie[WDrugiej(l)];
         const std::size_t p = r.find('"') + 1;
         r.replace(p, 26, ModelValid(rng, "10500015"));
       },
       true},
      {"end of text in the second part", [](TLista& l) { l.linie[WDrugiej(l)] += "\x1A"; }, true},
      {"a repeat across the parts", [](TLista& l) { l.linie[WDrugiej(l)] = l.linie[kWPierwszej]; },
       false},
      {"the second part paid from another account",
       [](TLista& l) {
         std::mt19937 rng(8);
         const std::string inny = ModelValid(rng, "10500015");
         for (std::size_t i = WDrugiej(l) - 4000; i < l.linie.size(); ++i)
           l.linie[i].replace(l.linie[i].find('"') + 1, 26, inny);
       },
       false},
      {"end of text in the first part", [](TLista& l) { l.linie[kWPierwszej] += "\x1A"; }, false},
      {"more dates than the sums hold",
       [](TLista& l) {
         for (std::size_t i = 0; i < l.linie.size(); ++i)
           l.linie[i].replace(4, 8, std::to_string(10000000 + i * 37 % 999));
       },
       false},
      {"a line through the whole piece in the middle",
       [](TLista& l) {
         // 15 MiB in all: the second part's piece, from 6 MiB on, lies
         // within the line that starts at 4 MiB.
         l.linie[l.LiniaOd(std::size_t{4} << 20)] += std::string(std::size_t{6} << 20, 'x');
       },
       false},
      {"more findings than the second part's log holds",
       [](TLista& l) {
         // A faulty byte in every line: the log holds an eighth of the
         // part's bytes, and each such line takes more than that.
         for (std::size_t i = WDrugiej(l) - 2000; i < l.linie.size(); ++i)
           l.linie[i].back() = '\x96';
       },
       false},
  };
}

TEST(DwieCzesci, aLargeFileCheckedInTwoPartsIsToldAsInOneGo) {
  TempDir dir;
  const TLista lista = Lista(3);
  for (const TPrzypadek& p : Przypadki()) {
    SCOPED_TRACE(p.nazwa);
    TLista l = lista;
    p.zmien(l);
    const std::string plik = dir.Write("lista.txt", l.Bajty());

    TWszystko jeden, dwa;
    JedenWatek(true);
    const sprawdzanie::TWynik w1 = sprawdzanie::SprawdzPlik(plik, &jeden);
    const TWynik r1 = Uruchom(dir.path(), {"--podsumowanie", "lista.txt"});
    JedenWatek(false);
    const sprawdzanie::TWynik w2 = sprawdzanie::SprawdzPlik(plik, &dwa);
    const TWynik r2 = Uruchom(dir.path(), {"--podsumowanie", "lista.txt"});

    EXPECT_FALSE(w1.dwieCzesci);
    EXPECT_EQ(w2.dwieCzesci, p.dwieCzesci);
    ASSERT_EQ(dwa.zapis.size(), jeden.zapis.size());
    for (std::size_t i = 0; i < jeden.zapis.size(); ++i)
      ASSERT_EQ(dwa.zapis[i], jeden.zapis[i]) << "call " << i;
    EXPECT_EQ(w2.blednychLinii, w1.blednychLinii);
    EXPECT_EQ(w2.uwag, w1.uwag);
    EXPECT_EQ(w2.ostrzezen, w1.ostrzezen);
    EXPECT_EQ(rachunki::LiniePodsumowania(w2.sumy), rachunki::LiniePodsumowania(w1.sumy));
    EXPECT_EQ(w2.diagnoza, w1.diagnoza);
    EXPECT_EQ(r2.out, r1.out);
    EXPECT_EQ(r2.err, r1.err);
    EXPECT_EQ(r2.kod, r1.kod);
  }
}

// A file that shrinks or grows while its two parts are read is a file that
// changed, told as such whichever part meets it, and never a program
// ended by the system.
TEST(DwieCzesci, aFileThatChangesWhileItsPartsAreReadIsToldSo) {
  TempDir dir;
  TLista l = Lista(4);
  l.linie[kWPierwszej] += "\x96";  // the first finding, early in the first part
  const std::string bajty = l.Bajty();
  for (const bool jeden : {true, false}) {
    for (const off_t nowy :
         {off_t{0}, static_cast<off_t>(bajty.size() / 2), static_cast<off_t>(bajty.size() - 100),
          static_cast<off_t>(bajty.size() + 100)}) {
      SCOPED_TRACE(std::to_string(jeden) + " " + std::to_string(nowy));
      const std::string plik = dir.Write("lista.txt", bajty);
      class TZmienia final : public sprawdzanie::TZnaleziska {
       public:
        TZmienia(std::string p, off_t n) : plik_(std::move(p)), nowy_(n) {}
        linie::SprawdzanieStrumienia::Options Opcje() const override { return {}; }
        void FaultyByte(std::uint64_t, std::uint64_t, unsigned char) override {
          if (!zmieniony_) {
            EXPECT_EQ(::truncate(plik_.c_str(), nowy_), 0);
          }
          zmieniony_ = true;
        }
        void EmptyLine(std::uint64_t) override {}
        void FaultyLine(std::uint64_t, std::string_view) override {}
        void Corrected(const char*, std::size_t) override {}
        void Uwaga(std::uint64_t, const rachunki::TUwaga&, std::string_view) override {}
        void Ostrzezenie(std::uint64_t, const rachunki::TOstrzezenie&, std::string_view) override {}

       private:
        std::string plik_;
        off_t nowy_;
        bool zmieniony_ = false;
      } zmienia(plik, nowy);
      JedenWatek(jeden);
      try {
        sprawdzanie::SprawdzPlik(plik, &zmienia);
        ADD_FAILURE() << "a changed file was checked";
      } catch (const platform::EInOutError& e) {
        EXPECT_EQ(e.Code(), platform::io_codes::kFileChanged) << e.what();
      }
      JedenWatek(false);
    }
  }
}

}  // namespace
