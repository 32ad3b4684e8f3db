// What Explorer and Windows read from our programs' files: the icon, the
// version information and the manifest that declares DPI awareness, long
// paths and the supported systems.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Procesy.h"

namespace {

using testing_win::Utf8;
using testing_win::Wide;

std::vector<std::string> Programy() {
  std::vector<std::string> p{WERYFIKUJ_PLIK};
#ifdef PROGRAM_OKIENKOWY
  p.push_back(PROGRAM_OKIENKOWY);
#endif
  return p;
}

std::string Wartosc(const std::vector<char>& info, const std::wstring& nazwa) {
  void* dane = nullptr;
  UINT dlugosc = 0;
  const std::wstring klucz = L"\\StringFileInfo\\041504B0\\" + nazwa;
  if (!::VerQueryValueW(info.data(), klucz.c_str(), &dane, &dlugosc) || dlugosc == 0) return {};
  return Utf8(std::wstring(static_cast<const wchar_t*>(dane), dlugosc - 1));
}

TEST(ZasobyWin32, everyProgramCarriesIconVersionAndManifest) {
  for (const std::string& program : Programy()) {
    SCOPED_TRACE(program);
    const std::wstring plik = Wide(program);

    const DWORD rozmiar = ::GetFileVersionInfoSizeW(plik.c_str(), nullptr);
    ASSERT_GT(rozmiar, 0u);
    std::vector<char> info(rozmiar);
    ASSERT_TRUE(::GetFileVersionInfoW(plik.c_str(), 0, rozmiar, info.data()));
    EXPECT_EQ(Wartosc(info, L"ProductVersion"), WERSJA);
    EXPECT_EQ(Wartosc(info, L"FileVersion"), WERSJA);
    EXPECT_EQ(Wartosc(info, L"ProductName"), "Tarmeko_weryfikacja_pliku");
    // Polish letters survive the resource compiler.
    EXPECT_NE(Wartosc(info, L"FileDescription").find("pliku z przelewami"), std::string::npos);
    VS_FIXEDFILEINFO* stale = nullptr;
    UINT n = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&stale), &n));
    EXPECT_EQ(stale->dwProductVersionMS, static_cast<DWORD>(WERSJA_GLOWNA << 16 | WERSJA_POBOCZNA));

    HMODULE m = ::LoadLibraryExW(plik.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(m, nullptr);
    HRSRC r = ::FindResourceW(m, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // the manifest
    ASSERT_NE(r, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(m, r))),
                               ::SizeofResource(m, r));
    for (const char* s : {"PerMonitorV2", "<longPathAware", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
      EXPECT_NE(manifest.find(s), std::string::npos) << s;
    // One icon group, with the sizes Explorer picks from up to 256 pixels.
    r = ::FindResourceW(m, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_NE(r, nullptr);
    const auto* grupa = static_cast<const WORD*>(::LockResource(::LoadResource(m, r)));
    EXPECT_GE(grupa[2], 6);
    ::FreeLibrary(m);
  }
}

}  // namespace
