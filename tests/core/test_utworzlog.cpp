// The error report: its bytes, the order of its calls on the view and the
// cursor, how it ends when the view fails, and saving it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"
#include "kodowanie/Cp1250.h"
#include "linie/SprawdzLinie.h"
#include "raport/UtworzLOG.h"
#include "typy/Typy.h"

using namespace raport;
using platform::SeparatorCzasu;

namespace {

// The report's fixed texts written out byte by byte in Windows-1250, apart
// from the code that builds them.
const std::string kNaglowek =
    "Lista b\xB3\xEA"
    "d\xF3w w pliku ";
const std::string kZawiera =
    " zawiera b\xB3\xB9"
    "d: ";
const std::string kBledne =
    "Stwierdzono b\xB3\xEA"
    "dne znaki";
const std::string kPusty =
    "Ci\xB9g nie mo\xBF"
    "e by\xE6 pusty";
const std::string kZnak =
    "  B\xB3\xEA"
    "dny znak: \"";
const std::string kTresc =
    "Tre\x9C\xE6 b\xB3\xEA"
    "dnej linii:";
const std::string kPodkr(96, '_');
const std::string kKreski(96, '-');
const std::string kKoniec = "*****\r\nKoniec pliku LOG\r\n";

std::string L(const std::string& s) {
  return s + "\r\n";
}

void Wczytaj(Typy::TStan& stan, const std::vector<std::string>& linie) {
  for (const auto& l : linie) {
    stan.LinieOrg.push_back(l);
    linie::SprawdzLinie(stan, static_cast<std::int32_t>(stan.LinieOrg.size() - 1), l);
  }
}

TZegar Zegar(TChwila c) {
  return [c] { return c; };
}

const TChwila k5Marca{2024, 3, 5, 9, 7, 2};

// Records the lines written; with `odrzucajNul` it fails at a line holding
// a NUL byte, as a report file fails when it cannot be written.
struct TDziennik final : TWidokRaportu {
  std::string tekst;
  int linie = 0;
  bool odrzucajNul = false;

  void DodajLinie(std::string_view linia) override {
    if (odrzucajNul && linia.find('\0') != std::string_view::npos)
      throw std::runtime_error("write failed");
    ++linie;
    tekst.append(linia);
    tekst.append("\r\n");
  }
};

std::string Raport(const Typy::TStan& stan, TChwila c = k5Marca, char sep = ':') {
  TRaportTekst widok;
  UtworzLOG(stan, widok, Zegar(c), sep);
  return widok.Tekst();
}

}  // namespace

TEST(UtworzLOG, workedExampleByteForByte) {
  Typy::TStan stan;
  stan.NazwaPliku = "C:\\Dane\\przelewy_marzec.txt";
  const std::string linia3 =
      "Wyp\xB3"
      "ata \x96 marzec \xB7 premia";
  Wczytaj(stan, {"Jan Kowalski;100,00", "Anna Nowak;200,00", linia3,
                 "Piotr Zaj\xB9"
                 "c;1,00",
                 "", "koniec"});

  TDziennik d;
  UtworzLOG(stan, d, Zegar(k5Marca), ':');

  const std::string oczekiwany =
      L(kNaglowek + "C:\\Dane\\przelewy_marzec.txt") + L("2024-03-05, 09:07:02") + L(kPodkr) +
      L("") + L("Linia 3" + kZawiera + kBledne) + L(kZnak + "\x96\" w kolumnie 9") +
      L(kZnak + "\xB7\" w kolumnie 18") + L("") + L(kTresc) + L(linia3) + L(kKreski) + L("") +
      L("Linia 5" + kZawiera + kPusty) + L("") + L(kTresc) + L("") + L(kKreski) + L("") + kKoniec;
  EXPECT_EQ(d.tekst, oczekiwany);
  EXPECT_EQ(d.linie, 20);

  // Corrections made after the check never reach the report.
  stan.LinieNew.UstawZnak(2, 9, '-');
  EXPECT_EQ(Raport(stan), oczekiwany);
}

TEST(UtworzLOG, blocksForFirstEmptyAndManyDigitLines) {
  Typy::TStan stan;
  stan.NazwaPliku = "/dane/lista.txt";
  std::vector<std::string> linie(1234, "ok");
  linie[0] = "\xA4";      // the first line of the file
  linie[9] = "";          // an empty line
  linie[1233] = "a\x80";  // line 1234
  Wczytaj(stan, linie);
  const std::string r = Raport(stan);

  EXPECT_NE(r.find(L(kPodkr) + L("") + L("Linia 1" + kZawiera + kBledne) +
                   L(kZnak + "\xA4\" w kolumnie 1") + L("")),
            std::string::npos);
  // An empty line's block: six lines, the quoted line among them empty.
  EXPECT_NE(r.find(L(kKreski) + L("") + L("Linia 10" + kZawiera + kPusty) + L("") + L(kTresc) +
                   L("") + L(kKreski) + L("") + L("Linia 1234" + kZawiera + kBledne) +
                   L(kZnak + "\x80\" w kolumnie 2")),
            std::string::npos);
  EXPECT_EQ(r.find("Linia 0"), std::string::npos);
  EXPECT_TRUE(r.ends_with(L(kKreski) + L("") + kKoniec));
}

TEST(UtworzLOG, controlBytesStandInTheReportAsThemselves) {
  Typy::TStan stan;
  stan.NazwaPliku = "x.txt";
  const std::string linia("A\tB\0C", 5);
  Wczytaj(stan, {linia});

  const std::string r = Raport(stan);
  const std::string blok = L("Linia 1" + kZawiera + kBledne) + L(kZnak + "\t\" w kolumnie 2") +
                           L(kZnak + std::string(1, '\0') + "\" w kolumnie 4") + L("") + L(kTresc) +
                           L(linia) + L(kKreski) + L("") + kKoniec;
  ASSERT_TRUE(r.ends_with(blok));

  // A view that fails at a line ends the build there and the failure
  // reaches the caller; what it took before stays.
  TDziennik d;
  d.odrzucajNul = true;
  try {
    UtworzLOG(stan, d, Zegar(k5Marca), ':');
    FAIL() << "the view's failure was swallowed";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "write failed");
  }
  EXPECT_TRUE(d.tekst.ends_with(L(kZnak + "\t\" w kolumnie 2")));
}

TEST(UtworzLOG, nothingHappensWithoutFaultyLines) {
  Typy::TStan stan;
  stan.NazwaPliku = "czysty.txt";
  Wczytaj(stan, {"Jan", "Anna"});
  TDziennik d;
  d.tekst = "poprzedni raport";
  UtworzLOG(
      stan, d,
      []() -> TChwila {
        ADD_FAILURE() << "clock read";
        return {};
      },
      ':');
  EXPECT_EQ(d.linie, 0);
  EXPECT_EQ(d.tekst, "poprzedni raport");
}

TEST(UtworzLOG, timeLineAndSeparator) {
  EXPECT_EQ(FormatujChwile({2024, 3, 5, 14, 7, 2}, ':'), "2024-03-05, 14:07:02");
  EXPECT_EQ(FormatujChwile({2024, 3, 5, 14, 7, 2}, '.'), "2024-03-05, 14.07.02");
  EXPECT_EQ(FormatujChwile({987, 12, 31, 0, 0, 59}, ':'), "0987-12-31, 00:00:59");

  Typy::TStan stan;
  Wczytaj(stan, {""});
  EXPECT_NE(Raport(stan, {2024, 3, 5, 14, 7, 2}, '.').find("\r\n2024-03-05, 14.07.02\r\n"),
            std::string::npos);

  // The separator is the locale's own, conversions and letters skipped.
  EXPECT_EQ(SeparatorCzasu("%H:%M:%S"), ':');
  EXPECT_EQ(SeparatorCzasu("%H.%M.%S"), '.');
  EXPECT_EQ(SeparatorCzasu("%T"), ':');
  EXPECT_EQ(SeparatorCzasu("%r"), ':');
  EXPECT_EQ(SeparatorCzasu("%OI h %M"), ':');
  EXPECT_EQ(SeparatorCzasu("%I %p %M-%S"), '-');
  EXPECT_EQ(SeparatorCzasu(""), ':');
  EXPECT_EQ(SeparatorCzasu("%H\xEC\x8B\x9C %M"), ':');
}

TEST(UtworzLOG, pathIsWrittenInWindows1250) {
  Typy::TStan stan;
  stan.NazwaPliku = "/home/\xC5\x82ucja/\xC5\xBC\xC3\xB3\xC5\x82w \xE2\x98\x83 \xFF.txt";
  Wczytaj(stan, {"\x01"});
  EXPECT_TRUE(Raport(stan).starts_with(L(kNaglowek + "/home/\xB3ucja/\xBF\xF3\xB3w ? ?.txt")));

  EXPECT_EQ(kodowanie::cp1250::FromUtf8Lossy("\xE2\x80\x93\xC2\xA0z\xC5\xBA"), "\x96\xA0z\x9F");
  // Overlong forms, surrogates and cut sequences are not characters.
  EXPECT_EQ(kodowanie::cp1250::FromUtf8Lossy("\xC0\xAF|\xED\xA0\x80|\xC5"), "??|???|?");
}

namespace {

class ZapisRaportu : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = temp_.path(); }

  static std::string Czytaj(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  static void Zapisz(const std::string& p, const std::string& s) {
    std::ofstream(p, std::ios::binary) << s;
  }

  test_support::TempDir temp_;
  std::string dir_;
};

}  // namespace

TEST_F(ZapisRaportu, replacesTheWholeFileWithTheReportsBytes) {
  const std::string p = dir_ + "/raport.txt";
  Zapisz(p, std::string(10000, 'x'));
  const std::string bajty("Linia\0\r\n\xB3\r\n", 11);
  ZapiszRaport(p, bajty);
  EXPECT_EQ(Czytaj(p), bajty);
}

TEST_F(ZapisRaportu, failuresCarryTheWindowsMessages) {
  const std::string brak = dir_ + "/nie ma/raport.txt";
  try {
    ZapiszRaport(brak, "x\r\n");
    FAIL();
  } catch (const EZapisRaportu& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + brak + "\". No such file or directory");
  }

  // The checked file itself is never replaced by its report.
  const std::string zrodlo = dir_ + "/lista.txt";
  Zapisz(zrodlo, "dane");
  try {
    ZapiszRaport(zrodlo, "raport", zrodlo);
    FAIL();
  } catch (const EZapisRaportu& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + zrodlo + "\". The report would replace the checked file");
  }
  EXPECT_EQ(Czytaj(zrodlo), "dane");
}

// Runs in a child: a file size limit makes the write fail part-way, as a
// full disk would; the exit code tells which error came.
[[noreturn]] void ZapiszZLimitem(const std::string& p) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit lim{4096, 4096};
  setrlimit(RLIMIT_FSIZE, &lim);
  try {
    ZapiszRaport(p, std::string(1 << 16, 'r'));
  } catch (const EZapisRaportu& e) {
    std::exit(std::string(e.what()) == "Failed to Save Stream" ? 0 : 1);
  }
  std::exit(2);
}

TEST_F(ZapisRaportu, aWriteThatFailsKeepsTheOldFile) {
  const std::string p = dir_ + "/raport.txt";
  Zapisz(p, "stary raport");
  EXPECT_EXIT(ZapiszZLimitem(p), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(Czytaj(p), "stary raport");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}
