// The checker as a Windows console program: Polish file names on its
// command line, output byte for byte the Linux program's when it goes to a
// file, and the sharing error of a file another program is writing.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../core/TestSupport.h"
#include "Procesy.h"

namespace {

using testing_core::TempDir;
using testing_win::TTrzymany;
using testing_win::Uruchom;
using testing_win::Wide;

const std::wstring kProgram = Wide(WERYFIKUJ_PLIK);

// "błędny.txt" and "czysty ż.txt", as the user types them.
const std::string kBledny =
    "b\xC5\x82\xC4\x99"
    "dny.txt";
const std::string kCzysty = "czysty \xC5\xBC.txt";

class WeryfikujPlikWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    Zapisz(kBledny,
           "Jan\tKowalski\r\nWyp\xB3"
           "ata \x96 x\r\n\r\n");
    Zapisz(kCzysty, "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1\r\nok");
  }

  void Zapisz(const std::string& nazwa, const std::string& tresc) {
    HANDLE h = ::CreateFileW(Wide(dir_.File(nazwa)).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ::WriteFile(h, tresc.data(), static_cast<DWORD>(tresc.size()), &n, nullptr);
    ::CloseHandle(h);
  }

  testing_win::TWynik Run(const std::vector<std::string>& args) {
    std::vector<std::wstring> w;
    for (const auto& a : args) w.push_back(Wide(a));
    return Uruchom(kProgram, w, Wide(dir_.path()));
  }

  TempDir dir_;
};

TEST_F(WeryfikujPlikWin32, polishNamesOnTheCommandLineAndTheLinuxBytesOut) {
  auto w = Run({kBledny, kCzysty});
  EXPECT_EQ(w.out, kBledny + ":1:4: Błędny znak: \"␉\" (0x09)\n" +      //
                       kBledny + ":2:9: Błędny znak: \"–\" (0x96)\n" +  //
                       kBledny + ":3: Ciąg nie może być pusty\n" +      //
                       kBledny + ": Ilość błędnych linii w zbiorze: 3\n" + kCzysty +
                       ": Format kodowania wczytanej listy płac jest poprawny.\n");
  EXPECT_EQ(w.err, "");
  EXPECT_EQ(w.kod, 1);

  w = Run({"--fix", "--quiet", kBledny});
  EXPECT_EQ(w.out, "");
  EXPECT_EQ(w.kod, 1);
  EXPECT_EQ(testing_win::Zabierz(Wide(dir_.File("b\xC5\x82\xC4\x99"
                                                "dny_nowy.txt"))),
            "Jan?Kowalski\r\nWyp\xB3"
            "ata ? x\r\n\r\n");
}

TEST_F(WeryfikujPlikWin32, aFileAnotherProgramWritesIsReportedAndTheRestChecked) {
  TTrzymany edytor("pisz", dir_.File(kBledny));
  const auto w = Run({kBledny, kCzysty, "brak.txt"});
  EXPECT_EQ(w.out, kCzysty + ": Format kodowania wczytanej listy płac jest poprawny.\n");
  EXPECT_EQ(w.err, kBledny + ": I/O error 32.\nbrak.txt: File not found.\n");
  EXPECT_EQ(w.kod, 2);
}

}  // namespace
