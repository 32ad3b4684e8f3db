// weryfikuj-plik: checks transfer files from scripts and machines without a
// display, with the same reader, rule, report and corrected-file writer as
// the window program, so the two never disagree.
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Cp1250.h"
#include "InOutError.h"
#include "PlatformFile.h"
#include "TekstBledu.h"
#include "Teksty.h"
#include "Typy.h"
#include "UtworzLOG.h"
#include "WczytajPlik.h"
#include "ZapiszPoprawiony.h"

namespace {

constexpr std::string_view kUzycie =
    "Użycie: weryfikuj-plik [--report PLIK_LOG] [--fix] [--quiet] PLIK...\n"
    "Sprawdza, czy pliki z przelewami zawierają znaki, których bankowość internetowa\n"
    "nie przyjmie, i wypisuje każdy błędny znak jako PLIK:LINIA:KOLUMNA.\n"
    "\n"
    "  --report PLIK_LOG  zapisz raport błędów (plik LOG) sprawdzanego pliku;\n"
    "                     tylko z jednym PLIKIEM\n"
    "  --fix              zapisz obok każdego pliku z błędami poprawioną kopię\n"
    "                     (nazwa_nowy.txt), z \"?\" w miejscu błędnych znaków\n"
    "  --quiet            wypisuj tylko błędy odczytu i zapisu\n"
    "  --help             pokaż ten opis\n"
    "  --version          pokaż wersję\n"
    "\n"
    "Kod wyjścia: 0 gdy wszystkie pliki są poprawne, 1 gdy któryś zawiera błędne\n"
    "linie, 2 gdy któregoś nie udało się odczytać lub zapisać albo argumenty są złe.\n";

enum Wynik { kPoprawny = 0, kBledy = 1, kAwaria = 2 };

// One buffered writer per stream: the output of a big file runs to tens of
// thousands of lines.
class TWyjscie {
 public:
  explicit TWyjscie(int fd) : fd_(fd) { bufor_.reserve(kRozmiar); }
  ~TWyjscie() { Oproznij(); }

  TWyjscie& operator<<(std::string_view s) {
    if (bufor_.size() + s.size() > kRozmiar) Oproznij();
    if (s.size() >= kRozmiar)
      Pisz(s.data(), s.size());
    else
      bufor_.append(s);
    return *this;
  }
  TWyjscie& operator<<(char c) { return *this << std::string_view(&c, 1); }
  TWyjscie& operator<<(unsigned long long n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    return *this << std::string_view(buf, static_cast<std::size_t>(r.ptr - buf));
  }

  void Oproznij() {
    Pisz(bufor_.data(), bufor_.size());
    bufor_.clear();
  }
  // The first error of a write, 0 when every write went through.
  int Blad() const { return blad_; }

 private:
  static constexpr std::size_t kRozmiar = 1 << 16;

  void Pisz(const char* p, std::size_t n) {
    while (n > 0 && blad_ == 0) {
      const ssize_t w = ::write(fd_, p, n);
      if (w < 0) {
        if (errno != EINTR) blad_ = errno;
        continue;
      }
      p += w;
      n -= static_cast<std::size_t>(w);
    }
  }

  int fd_;
  int blad_ = 0;
  std::string bufor_;
};

struct TOpcje {
  std::optional<std::string> raport;
  bool popraw = false;
  bool cicho = false;
  std::vector<std::string> pliki;
};

// Every byte as it is shown: decoded from Windows-1250, control bytes as
// their pictures, followed by its value in hexadecimal.
struct TZnaki {
  std::string opis[256];
  TZnaki() {
    constexpr char hex[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      opis[b] = cp1250::ToUtf8(std::string_view(&c, 1), true);
      opis[b] += "\" (0x";
      opis[b] += hex[b >> 4];
      opis[b] += hex[b & 15];
      opis[b] += ")\n";
    }
  }
};

class TProgram {
 public:
  TProgram(const TOpcje& o) : o_(o) {}

  int Uruchom() {
    Wynik wynik = kPoprawny;
    for (const std::string& plik : o_.pliki) {
      const Wynik w = Sprawdz(plik);
      if (w > wynik) wynik = w;
    }
    out_.Oproznij();
    if (out_.Blad() != 0 && out_.Blad() != EPIPE) {
      Blad("weryfikuj-plik", std::string("standard output: ") + std::strerror(out_.Blad()));
      wynik = kAwaria;
    }
    return wynik;
  }

 private:
  Wynik Sprawdz(const std::string& plik) {
    // A fresh state per file, cleared as the check command clears it.
    auto stan = std::make_unique<Typy::TStan>();
    stan->Bledy.clear();
    stan->WybranyBlad = -1;
    // The absolute path, as the window's file dialog gives it, names the
    // file in the report and places the corrected copy.
    stan->NazwaPliku = platform::AbsolutePath(plik);
    try {
      Typy::WczytajPlik(*stan);
    } catch (const std::exception& e) {
      Blad(plik, bledy::Opis(e));
      return kAwaria;
    }

    const Typy::TBledy& bledy = stan->Bledy;
    if (!o_.cicho) {
      WypiszBledy(plik, *stan);
      out_ << plik << ": ";
      if (bledy.empty())
        out_ << utf8(teksty::PlikPoprawny) << '\n';
      else
        out_ << utf8(teksty::IloscBlednychLinii) << ' '
             << static_cast<unsigned long long>(bledy.size()) << '\n';
    }

    Wynik wynik = bledy.empty() ? kPoprawny : kBledy;
    if (o_.raport) {
      if (bledy.empty()) {
        if (!o_.cicho) out_ << plik << ": raportu nie zapisano, plik nie zawiera błędów\n";
      } else {
        try {
          raport::TRaportTekst tekst;
          raport::TBezKursora kursor;
          raport::UtworzLOG(*stan, tekst, kursor);
          // The report never replaces the file it describes.
          raport::ZapiszRaport(*o_.raport, tekst.Tekst(), stan->NazwaPliku);
        } catch (const std::exception& e) {
          Blad(*o_.raport, bledy::Opis(e));
          wynik = kAwaria;
        }
      }
    }
    if (o_.popraw && !bledy.empty()) {
      try {
        const std::string zapisany = ZapiszPoprawionyPlik(*stan);
        if (!o_.cicho) out_ << plik << ": zapisano " << zapisany << '\n';
      } catch (const std::exception& e) {
        Blad(NazwaPlikuPoprawionego(plik), bledy::Opis(e));
        wynik = kAwaria;
      }
    }
    return wynik;
  }

  // One line per faulty byte, one per empty line, in line order.
  void WypiszBledy(const std::string& plik, const Typy::TStan& stan) {
    const std::string pusty = utf8(teksty::CiagPusty);
    const std::string_view znak = ": Błędny znak: \"";
    for (std::size_t i = 0; i < stan.Bledy.size(); ++i) {
      const auto idx = static_cast<std::size_t>(stan.Bledy.LineIndex(i));
      const std::string_view linia = stan.LinieOrg[idx];
      const auto nr = static_cast<unsigned long long>(idx) + 1;
      if (linia.empty()) {
        out_ << plik << ':' << nr << ": " << pusty << '\n';
        continue;
      }
      Typy::ForEachFaultyByte(linia, [&](std::size_t pos, unsigned char b) {
        out_ << plik << ':' << nr << ':' << static_cast<unsigned long long>(pos) << znak
             << znaki_.opis[b];
      });
    }
  }

  // "PATH: MESSAGE." on standard error, after what standard output holds.
  void Blad(const std::string& sciezka, std::string komunikat) {
    out_.Oproznij();
    // Worded as the window's error box words it.
    TWyjscie err(STDERR_FILENO);
    err << sciezka << ": " << cp1250::ToUtf8(bledy::TekstBledu(std::move(komunikat))) << '\n';
  }

  static std::string utf8(std::string_view cp1250) { return cp1250::ToUtf8(cp1250); }

  const TOpcje& o_;
  TWyjscie out_{STDOUT_FILENO};
  TZnaki znaki_;
};

int BladUzycia(const std::string& co) {
  TWyjscie err(STDERR_FILENO);
  err << "weryfikuj-plik: " << co << "\n\n" << kUzycie;
  return kAwaria;
}

}  // namespace

int main(int argc, char** argv) {
  TOpcje o;
  bool koniecOpcji = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (koniecOpcji || a.size() < 2 || a[0] != '-') {
      o.pliki.emplace_back(a);
    } else if (a == "--") {
      koniecOpcji = true;
    } else if (a == "--help") {
      TWyjscie(STDOUT_FILENO) << kUzycie;
      return kPoprawny;
    } else if (a == "--version") {
      TWyjscie(STDOUT_FILENO) << "weryfikuj-plik " WERSJA "\n";
      return kPoprawny;
    } else if (a == "--fix") {
      o.popraw = true;
    } else if (a == "--quiet") {
      o.cicho = true;
    } else if (a == "--report" || a.starts_with("--report=")) {
      if (o.raport) return BladUzycia("--report podano więcej niż raz");
      if (a == "--report") {
        if (i + 1 >= argc) return BladUzycia("--report wymaga nazwy pliku");
        o.raport = argv[++i];
      } else {
        o.raport = std::string(a.substr(9));
      }
      if (o.raport->empty()) return BladUzycia("--report wymaga nazwy pliku");
    } else {
      return BladUzycia("nieznana opcja " + std::string(a));
    }
  }
  if (o.pliki.empty()) return BladUzycia("nie podano pliku do sprawdzenia");
  if (o.raport && o.pliki.size() != 1)
    return BladUzycia("--report można podać tylko z jednym plikiem");
  return TProgram(o).Uruchom();
}
