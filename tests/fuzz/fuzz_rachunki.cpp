// The account and record checks over arbitrary bytes: the record's fields
// lie in order inside their line, every finding points into its line at a
// value of the kind it names, and the checker's streamed lines, cut into
// pieces of any size, find exactly what whole lines do.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzCheck.h"
#include "linie/LineSplitter.h"
#include "rachunki/ElixirO.h"
#include "rachunki/LinieStrumienia.h"
#include "rachunki/Nrb.h"
#include "rachunki/Podsumowanie.h"
#include "rachunki/Uwagi.h"

namespace {

using Znalezisko = std::tuple<std::uint64_t, std::size_t, std::size_t, int, int>;

struct Strumien {
  rachunki::TLinieStrumienia linie;
  std::vector<Znalezisko> znaleziska;
  std::uint64_t nr = 0;
  void Part(const char* d, std::size_t n, bool) { linie.Czesc(d, n); }
  void End() {
    ++nr;
    for (const rachunki::TUwaga& u : linie.Koniec())
      znaleziska.emplace_back(nr, u.kolumna, u.dlugosc, static_cast<int>(u.pole),
                              static_cast<int>(u.blad));
  }
  void Drop() { linie.Porzuc(); }
};

bool NumerKonta(rachunki::Blad b) {
  return b == rachunki::Blad::SumaKontrolna || b == rachunki::Blad::NumerBankuWRachunku ||
         b == rachunki::Blad::SumaINumerBanku;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);

  std::vector<Znalezisko> calosc;
  rachunki::TSprawdzanieLinii sprawdzanie;
  rachunki::TPodsumowanie podsumowanie;
  std::uint64_t rekordow = 0;
  std::vector<rekord::TPoleRekordu> pola;
  std::uint64_t nr = 0;
  for (const std::string& linia : fuzz::ModelLines(in)) {
    ++nr;
    const rekord::Rekord r = rekord::PodzielRekord(linia, pola);
    std::size_t koniec = 0;
    for (const rekord::TPoleRekordu& p : pola) {
      FUZZ_CHECK(p.poczatek >= koniec && p.poczatek + p.dlugosc <= linia.size());
      koniec = p.poczatek + p.dlugosc;
    }
    if (r == rekord::Rekord::Tak) FUZZ_CHECK(pola.size() >= rekord::kPolRekordu);

    std::size_t kolumna = 1;
    for (const rachunki::TUwaga& u : sprawdzanie.Sprawdz(linia)) {
      FUZZ_CHECK(u.kolumna >= kolumna && u.kolumna - 1 + u.dlugosc <= linia.size());
      kolumna = u.kolumna;
      if (NumerKonta(u.blad)) {
        std::string cyfry;
        for (char c : u.Wartosc(linia))
          if (c >= '0' && c <= '9') cyfry += c;
        FUZZ_CHECK(cyfry.size() == rachunki::kCyfrNrb);
        FUZZ_CHECK(rachunki::SprawdzNrb(cyfry) != rachunki::WynikNrb::Poprawny);
      }
      calosc.emplace_back(nr, u.kolumna, u.dlugosc, static_cast<int>(u.pole),
                          static_cast<int>(u.blad));
    }
    // A record's warnings stand inside it and name an earlier line; every
    // record is counted once, whatever its fields hold.
    if (const auto* p = sprawdzanie.Pola()) {
      ++rekordow;
      for (const rachunki::TOstrzezenie& o : podsumowanie.Rekord(nr, linia, *p)) {
        FUZZ_CHECK(o.kolumna >= 1 && o.kolumna - 1 + o.dlugosc <= linia.size());
        FUZZ_CHECK(o.innaLinia >= 1 && o.innaLinia < nr);
      }
    }
  }
  const rachunki::TSumy& sumy = podsumowanie.Sumy();
  FUZZ_CHECK(sumy.przelewy.ile + sumy.polecenia.ile == rekordow);

  // Pieces of one size the input chooses, each in a buffer overwritten
  // after it, as the checker's is.
  const std::size_t kawalek = size ? 1 + data[0] % 61 : 1;
  Strumien s;
  {
    linie::BasicLineSplitter<Strumien> sp(s);
    std::string piece;
    bool dalej = true;
    for (std::size_t off = 0; dalej && off < size; off += kawalek) {
      piece.assign(in.substr(off, kawalek));
      dalej = sp.Feed(piece.data(), piece.size());
      s.linie.KoniecKawalka();
      std::fill(piece.begin(), piece.end(), '#');
    }
    if (dalej) sp.Finish();
  }
  FUZZ_CHECK(s.znaleziska == calosc);
  return 0;
}
