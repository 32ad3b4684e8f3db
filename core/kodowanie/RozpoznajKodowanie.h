#pragma once
// Diagnosis of the encoding a faulty file is in: Windows-1250 (what the bank
// expects), UTF-8, UTF-16LE/BE, ISO-8859-2, CP852, or Windows-1250 and UTF-8
// lines mixed. It looks at the faulty lines (the clean ones hold nothing but
// ASCII and Windows-1250 Polish letters) and says nothing when it is not
// sure, nor for a file that is not text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "kodowanie/Kodowanie.h"
#include "kodowanie/OcenaTekstu.h"
#include "stan/Typy.h"

namespace kodowanie {

struct TDiagnoza {
  TKodowanie kodowanie;
  bool bom = false;  // the file begins with a byte-order mark
  bool operator==(const TDiagnoza&) const = default;
};

// Collects the evidence line by line, for a reader that keeps the lines
// (the window) and for one that does not (the command-line checker).
class TRozpoznawanie {
 public:
  // Whether the faulty line of this 0-based index is wanted; asked for every
  // faulty line in file order. Past the first megabyte only a thinning
  // sample of them is read.
  bool Potrzebna(std::int64_t indeks);
  // A faulty line that was wanted.
  void LiniaBledna(std::int64_t indeks, std::string_view linia);
  // True when the verdict on the faulty lines is UTF-8: only the clean lines
  // then tell a UTF-8 file from one joined to a Windows-1250 file.
  bool PotrzebneLiniePoprawne() const;
  // A clean line; only lines holding a byte above 7F tell anything.
  void LiniaPoprawna(std::string_view linia);
  // The encoding, or nothing when nothing is sure.
  std::optional<TDiagnoza> Wynik() const;

 private:
  std::optional<TDiagnoza> WynikUtf16() const;
  void PoliczWiersz(const TOcenaLinii& ocena);

  // Which faulty lines are read: every `krok_`-th, the step doubling each
  // time another megabyte has been read.
  std::uint64_t liczbaLinii_ = 0;
  std::uint64_t krok_ = 1;
  std::uint64_t przeczytane_ = 0;
  std::uint64_t progPrzerzedzenia_ = std::uint64_t{1} << 20;

  std::array<TOcena, kKandydatow> suma_{};
  std::uint64_t bajty_ = 0;
  std::uint64_t zera_ = 0;
  bool bomUtf8_ = false;
  // Lines that read as UTF-8, lines that read as Windows-1250, and the
  // points the UTF-8 ones score under each.
  std::uint64_t linieUtf8_ = 0;
  std::uint64_t linieWin_ = 0;
  std::int64_t utf8WLiniachUtf8_ = 0;
  std::int64_t winWLiniachUtf8_ = 0;
  TOcena linieWinJakoWin_{};
  // UTF-16: the first line decides the byte order (it starts where the file
  // starts); the others are scored at whichever alignment reads better.
  std::int64_t pierwszaLE_ = 0;
  std::int64_t pierwszaBE_ = 0;
  int bom16_ = 0;  // 1 little-endian mark, 2 big-endian mark
  TOcena utf16_{};
};

// The diagnosis of the file in a verification state, after its check.
std::optional<TDiagnoza> RozpoznajKodowanie(const Typy::TStan& stan);

// For a reader that keeps no lines: reads the file at `sciezka` again and
// hands the evidence its clean lines hold, as long as it is wanted
// (PotrzebneLiniePoprawne). Raises EInOutError when the file cannot be read.
void DoczytajLiniePoprawne(TRozpoznawanie& r, const std::string& sciezka);

}  // namespace kodowanie
