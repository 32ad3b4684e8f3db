// The Windows file layer through real system calls: the sharing rules
// against a second process, read-only files, Polish names and paths beyond
// the classic 260-character limit. The reader and the writer are driven as
// the programs drive them.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "../core/TestSupport.h"
#include "Procesy.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"
#include "raport/ZapiszPoprawiony.h"

namespace {

using testing_core::Sprawdz;
using testing_core::TempDir;
using testing_win::TTrzymany;
using testing_win::Wide;

const std::string kTresc =
    "Jan Kowalski\r\nWyp\xB3"
    "ata \x96 x\r\n";
const std::string kPoprawiona =
    "Jan Kowalski\r\nWyp\xB3"
    "ata ? x\r\n";

// The code and message of the input/output error the call raises, or
// {0, ""} when it raises none.
std::pair<int, std::string> Blad(const std::function<void()>& f) {
  try {
    f();
  } catch (const platform::EInOutError& e) {
    return {e.Code(), e.what()};
  }
  return {0, ""};
}

std::string Czytaj(const std::string& path) {
  std::string bytes;
  HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  char buf[4096];
  DWORD n = 0;
  while (::ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) bytes.append(buf, n);
  ::CloseHandle(h);
  return bytes;
}

std::size_t IlePlikow(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(Wide(folder))) ++n;
  return n;
}

// Checks the file and saves its corrected copy, as the save button does.
std::string SprawdzIZapisz(const std::string& path) {
  Typy::TStan s;
  Sprawdz(s, path);
  return raport::ZapiszPoprawionyPlik(s);
}

TEST(PlikWin32, readingSharesTheFileWithReadersOnly) {
  TempDir dir;
  const std::string plik = dir.Write("lista.txt", kTresc);
  const std::string poprzedni = dir.Write("poprzedni.txt", "poprzedni");
  const struct {
    const char* sposob;
    int kod;
  } przypadki[] = {
      {"pisz", 32},       // another program has it open for writing
      {"wylacznie", 32},  // another program lets nobody else in
      {"czytaj", 0},      // another program only reads it, as we do
  };
  for (const auto& p : przypadki) {
    SCOPED_TRACE(p.sposob);
    TTrzymany inny(p.sposob, plik);
    Typy::TStan s;
    Sprawdz(s, poprzedni);
    const auto [kod, tekst] = Blad([&] { Sprawdz(s, plik); });
    EXPECT_EQ(kod, p.kod);
    if (p.kod == 32) {
      EXPECT_EQ(tekst, "I/O error 32");
      ASSERT_EQ(s.LinieOrg.size(), 1u);  // the previous file's lines stay
      EXPECT_EQ(s.LinieOrg[0], "poprzedni");
    } else {
      EXPECT_EQ(s.LinieOrg.size(), 2u);
    }
  }
}

TEST(PlikWin32, savingNeverTouchesATargetAnotherProgramHolds) {
  TempDir dir;
  const std::string plik = dir.Write("lista.txt", kTresc);
  const std::string cel = dir.Write("lista_nowy.txt", "stary");
  for (const char* sposob : {"pisz", "czytaj", "wylacznie"}) {
    SCOPED_TRACE(sposob);
    TTrzymany inny(sposob, cel);
    const auto [kod, tekst] = Blad([&] { SprawdzIZapisz(plik); });
    EXPECT_EQ(kod, 32);
    EXPECT_EQ(tekst, "I/O error 32");
  }
  EXPECT_EQ(Czytaj(cel), "stary");
  EXPECT_EQ(IlePlikow(dir.path()), 2u) << "a temporary file was left behind";

  // Once the other program has let go, the save goes through.
  EXPECT_EQ(Blad([&] { SprawdzIZapisz(plik); }).first, 0);
  EXPECT_EQ(Czytaj(cel), kPoprawiona);
  EXPECT_EQ(IlePlikow(dir.path()), 2u);
}

TEST(PlikWin32, readOnlyFilesAreReadButNeverReplaced) {
  TempDir dir;
  const std::string plik = dir.Write("lista.txt", kTresc);
  const std::string cel = dir.Write("lista_nowy.txt", "stary");
  ASSERT_TRUE(::SetFileAttributesW(Wide(plik).c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(::SetFileAttributesW(Wide(cel).c_str(), FILE_ATTRIBUTE_READONLY));

  Typy::TStan s;
  Sprawdz(s, plik);
  EXPECT_EQ(s.LinieOrg.size(), 2u);
  const auto [kod, tekst] = Blad([&] { raport::ZapiszPoprawionyPlik(s); });
  EXPECT_EQ(kod, 5);
  EXPECT_EQ(tekst, "File access denied");
  EXPECT_EQ(Czytaj(cel), "stary");
  EXPECT_EQ(IlePlikow(dir.path()), 2u);

  ::SetFileAttributesW(Wide(plik).c_str(), FILE_ATTRIBUTE_NORMAL);
  ::SetFileAttributesW(Wide(cel).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(PlikWin32, polishNamesAndLongPathsWork) {
  TempDir dir;
  // Deeper than the classic limit of 260 characters, made the way a user's
  // nested folders would be.
  std::wstring gleboki = Wide(dir.path());
  std::replace(gleboki.begin(), gleboki.end(), L'/', L'\\');
  for (int i = 0; i < 6; ++i) {
    gleboki += L"\\folder z przelewami na kolejny miesi\u0105c numer " + std::to_wstring(i);
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + gleboki).c_str(), nullptr));
  }
  const std::string gleboki8 = testing_win::Utf8(gleboki);
  ASSERT_GT(gleboki8.size(), 300u);

  std::string plytki = dir.path();
  std::replace(plytki.begin(), plytki.end(), '/', '\\');
  for (const std::string& folder : {plytki, gleboki8}) {
    const std::string plik = folder +
                             "\\\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87 p\xC5\x82"
                             "ac.txt";
    SCOPED_TRACE(plik.size());
    HANDLE h = ::CreateFileW((L"\\\\?\\" + Wide(plik)).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ::WriteFile(h, kTresc.data(), static_cast<DWORD>(kTresc.size()), &n, nullptr);
    ::CloseHandle(h);

    EXPECT_EQ(platform::Inspect(plik), platform::PathKind::Regular);
    const std::string zapisany = SprawdzIZapisz(plik);
    EXPECT_EQ(zapisany, folder +
                            "\\\xC5\xBB\xC3\xB3\xC5\x82\xC4\x87 p\xC5\x82"
                            "ac_nowy.txt");
    EXPECT_EQ(Czytaj("\\\\?\\" + zapisany), kPoprawiona);
  }
}

TEST(PlikWin32, namesThatNameNoFile) {
  TempDir dir;
  const std::string plik = dir.Write("lista.txt", kTresc);
  std::filesystem::create_directory(dir.File("folder.txt"));
  const struct {
    std::string sciezka;
    int kod;
    const char* tekst;
  } przypadki[] = {
      {dir.File("brak.txt"), 2, "File not found"},
      {dir.File("brak\\lista.txt"), 2, "File not found"},
      {dir.File("folder.txt"), 5, "File access denied"},
      {dir.File("lista?.txt"), 3, "Invalid filename"},
  };
  for (const auto& p : przypadki) {
    SCOPED_TRACE(p.sciezka);
    Typy::TStan s;
    const auto [kod, tekst] = Blad([&] { Sprawdz(s, p.sciezka); });
    EXPECT_EQ(kod, p.kod);
    EXPECT_EQ(tekst, p.tekst);
  }

  // The source itself, spelled another way, is never the target of a save.
  Typy::TStan s;
  Sprawdz(s, plik);
  EXPECT_THROW(platform::AtomicOutputFile(dir.File("LISTA.TXT"), s.NazwaPliku),
               platform::EProtectedTarget);
  EXPECT_EQ(Czytaj(plik), kTresc);
}

// scripts/test-windows.sh mounts a disk of 256 KiB and names it here.
TEST(PlikWin32, aFullDiskLosesNothing) {
  const char* dysk = std::getenv("WERYFIKACJA_PELNY_DYSK");
  if (!dysk || !*dysk) GTEST_SKIP() << "no small disk given (scripts/test-windows.sh mounts one)";
  const std::string folder = dysk;
  // 150 KiB of lines ending in LF: the copy, with CR LF, does not fit beside.
  std::string tresc;
  while (tresc.size() < 150 * 1024)
    tresc +=
        "Jan Kowalski;Wyp\xB3"
        "ata \x96 x\n";
  const std::string plik = TempDir::WriteTo(folder + "\\lista.txt", tresc);
  const std::string cel = TempDir::WriteTo(folder + "\\lista_nowy.txt", "stary");

  const auto [kod, tekst] = Blad([&] { SprawdzIZapisz(plik); });
  EXPECT_EQ(kod, 112);
  EXPECT_EQ(tekst, "I/O error 112");
  EXPECT_EQ(Czytaj(cel), "stary");
  EXPECT_EQ(Czytaj(plik), tresc);
  EXPECT_EQ(IlePlikow(folder), 2u) << "a temporary file was left behind";
  ::DeleteFileW(Wide(plik).c_str());
  ::DeleteFileW(Wide(cel).c_str());
}

}  // namespace
