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

void TZapisZnalezisk::FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) {
  if (!Zacznij(Rodzaj::FaultyByte, 0)) return;
  Dopisz(line);
  Dopisz(column);
  Dopisz(b);
}

void TZapisZnalezisk::FaultyText(std::uint64_t line, std::string_view part) {
  if (!Zacznij(Rodzaj::FaultyText, part.size())) return;
  Dopisz(line);
  DopiszBajty(part);
}

void TZapisZnalezisk::EmptyLine(std::uint64_t line) {
  if (!Zacznij(Rodzaj::EmptyLine, 0)) return;
  Dopisz(line);
}

void TZapisZnalezisk::EmptyLines(std::uint64_t first, std::uint64_t count) {
  if (!Zacznij(Rodzaj::EmptyLines, 0)) return;
  Dopisz(first);
  Dopisz(count);
}

void TZapisZnalezisk::FaultyLine(std::uint64_t line, std::string_view bytes) {
  if (!Zacznij(Rodzaj::FaultyLine, bytes.size())) return;
  Dopisz(line);
  DopiszBajty(bytes);
}

void TZapisZnalezisk::Uwaga(std::uint64_t linia, const rachunki::TUwaga& u,
                            std::string_view bajty) {
  if (!Zacznij(Rodzaj::Uwaga, bajty.size())) return;
  Dopisz(linia);
  Dopisz(u);
  DopiszBajty(bajty);
}

void TZapisZnalezisk::Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o,
                                  std::string_view bajty) {
  if (!Zacznij(Rodzaj::Ostrzezenie, bajty.size())) return;
  Dopisz(linia);
  Dopisz(o);
  DopiszBajty(bajty);
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
