#include "sprawdzanie/ZapisZnalezisk.h"

#include <cstring>
#include <type_traits>

#include "sprawdzanie/SprawdzPlik.h"

namespace sprawdzanie {

template <class T>
void TZapisZnalezisk::Dopisz(const T& v) {
  static_assert(std::is_trivially_copyable_v<T>);
  log_.append(reinterpret_cast<const char*>(&v), sizeof v);
}

void TZapisZnalezisk::DopiszBajty(std::string_view b) {
  Dopisz(b.size());
  log_.append(b);
}

// Room for an entry of about `bajtow` bytes: false, and the log marked
// full, when there is none.
bool TZapisZnalezisk::Zacznij(Rodzaj r, std::size_t bajtow) {
  if (pelny_ || log_.size() + bajtow + 64 > najwiecej_) {
    pelny_ = true;
    return false;
  }
  Dopisz(r);
  return true;
}

// One entry: its kind, its line and the fixed-size values after it, then
// `bajty` when the entry holds bytes.
template <class... T>
void TZapisZnalezisk::Wpis(Rodzaj r, const std::string_view* bajty, const T&... wartosci) {
  if (!Zacznij(r, bajty ? bajty->size() : 0)) return;
  (Dopisz(wartosci), ...);
  if (bajty) DopiszBajty(*bajty);
}

void TZapisZnalezisk::FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) {
  Wpis(Rodzaj::FaultyByte, nullptr, line, column, b);
}

void TZapisZnalezisk::FaultyText(std::uint64_t line, std::string_view part) {
  Wpis(Rodzaj::FaultyText, &part, line);
}

void TZapisZnalezisk::EmptyLine(std::uint64_t line) {
  Wpis(Rodzaj::EmptyLine, nullptr, line);
}

void TZapisZnalezisk::EmptyLines(std::uint64_t first, std::uint64_t count) {
  Wpis(Rodzaj::EmptyLines, nullptr, first, count);
}

void TZapisZnalezisk::FaultyLine(std::uint64_t line, std::string_view bytes) {
  Wpis(Rodzaj::FaultyLine, &bytes, line);
}

void TZapisZnalezisk::Uwaga(std::uint64_t linia, const rachunki::TUwaga& u,
                            std::string_view bajty) {
  Wpis(Rodzaj::Uwaga, &bajty, linia, u);
}

void TZapisZnalezisk::Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o,
                                  std::string_view bajty) {
  Wpis(Rodzaj::Ostrzezenie, &bajty, linia, o);
}

void TZapisZnalezisk::Odtworz(TZnaleziska& z, std::uint64_t linii,
                              std::uint64_t liniaZleceniodawcy) const {
  // The sink as the check's code sees it: the diagnosis' text goes where
  // the splitter's would.
  linie::StreamFindings& s = z;
  std::size_t p = 0;
  auto czytaj = [&]<class T>(T& v) {
    std::memcpy(&v, log_.data() + p, sizeof v);
    p += sizeof v;
  };
  auto bajty = [&] {
    std::size_t n = 0;
    czytaj(n);
    const std::string_view b(log_.data() + p, n);
    p += n;
    return b;
  };
  while (p < log_.size()) {
    Rodzaj r{};
    czytaj(r);
    std::uint64_t linia = 0;
    czytaj(linia);
    linia += linii;
    switch (r) {
      case Rodzaj::FaultyByte: {
        std::uint64_t kolumna = 0;
        unsigned char b = 0;
        czytaj(kolumna);
        czytaj(b);
        s.FaultyByte(linia, kolumna, b);
        break;
      }
      case Rodzaj::FaultyText:
        s.FaultyText(linia, bajty());
        break;
      case Rodzaj::EmptyLine:
        s.EmptyLine(linia);
        break;
      case Rodzaj::EmptyLines: {
        std::uint64_t ile = 0;
        czytaj(ile);
        s.EmptyLines(linia, ile);
        break;
      }
      case Rodzaj::FaultyLine:
        s.FaultyLine(linia, bajty());
        break;
      case Rodzaj::Uwaga: {
        rachunki::TUwaga u;
        czytaj(u);
        z.Uwaga(linia, u, bajty());
        break;
      }
      case Rodzaj::Ostrzezenie: {
        rachunki::TOstrzezenie o;
        czytaj(o);
        o.innaLinia =
            o.rodzaj == rachunki::Ostrzezenie::InnyRachunekZleceniodawcy && liniaZleceniodawcy != 0
                ? liniaZleceniodawcy
                : o.innaLinia + linii;
        z.Ostrzezenie(linia, o, bajty());
        break;
      }
    }
  }
}

}  // namespace sprawdzanie
