// The checker's arguments and output on Windows. Arguments are taken as
// UTF-16 from the command line itself, so Polish file names arrive whole
// whatever the ANSI code page. Output that goes to a console is handed to
// it as UTF-16, which every console shows right; output to a file or a pipe
// is the same UTF-8 bytes as on Linux, with no CR added.
#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <string>

#include "Konsola.h"

namespace cli::konsola {
namespace {

std::string Utf8(const wchar_t* w) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, w, -1, out.data(), n, nullptr, nullptr);
  out.pop_back();  // the terminating NUL
  return out;
}

// How many bytes at the end of [p, p+n) begin a UTF-8 sequence that the
// next write completes.
std::size_t NiedokonczonyZnak(const char* p, std::size_t n) {
  for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
    const auto c = static_cast<unsigned char>(p[n - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

int ZKoduSystemu(DWORD err) {
  return err == ERROR_BROKEN_PIPE || err == ERROR_NO_DATA ? EPIPE : EIO;
}

int PiszDoKonsoli(HANDLE h, std::string& reszta, const char* p, std::size_t n) {
  reszta.append(p, n);
  const std::size_t gotowe = reszta.size() - NiedokonczonyZnak(reszta.data(), reszta.size());
  if (gotowe == 0) return 0;
  const int dlugosc = static_cast<int>(gotowe);
  const int znaki = ::MultiByteToWideChar(CP_UTF8, 0, reszta.data(), dlugosc, nullptr, 0);
  std::wstring tekst(static_cast<std::size_t>(znaki), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, reszta.data(), dlugosc, tekst.data(), znaki);
  reszta.erase(0, gotowe);
  const wchar_t* w = tekst.data();
  std::size_t zostalo = tekst.size();
  while (zostalo > 0) {
    DWORD zapisane = 0;
    const DWORD porcja = static_cast<DWORD>(zostalo < 8192 ? zostalo : 8192);
    if (!::WriteConsoleW(h, w, porcja, &zapisane, nullptr)) return ZKoduSystemu(::GetLastError());
    w += zapisane;
    zostalo -= zapisane;
  }
  return 0;
}

}  // namespace

std::vector<std::string> Argumenty(int, char**) {
  std::vector<std::string> args;
  int n = 0;
  wchar_t** w = ::CommandLineToArgvW(::GetCommandLineW(), &n);
  if (!w) return args;
  for (int i = 1; i < n; ++i) args.push_back(Utf8(w[i]));
  ::LocalFree(w);
  return args;
}

int Pisz(int strumien, const char* p, std::size_t n) {
  static std::string reszty[3];
  const HANDLE h = ::GetStdHandle(strumien == kBledy ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return 0;  // no stream: nothing to write to
  DWORD tryb = 0;
  if (::GetConsoleMode(h, &tryb)) return PiszDoKonsoli(h, reszty[strumien == kBledy ? 2 : 1], p, n);
  while (n > 0) {
    DWORD zapisane = 0;
    const DWORD porcja = static_cast<DWORD>(n < (1u << 30) ? n : (1u << 30));
    if (!::WriteFile(h, p, porcja, &zapisane, nullptr)) return ZKoduSystemu(::GetLastError());
    p += zapisane;
    n -= zapisane;
  }
  return 0;
}

}  // namespace cli::konsola
