#pragma once
// Diagnosis of the encoding a file is in: Windows-1250 (what the bank
// expects), UTF-8, UTF-16LE/BE, ISO-8859-2, CP852, or lines of a single-byte
// one mixed with UTF-8 lines. It reads the faulty lines and a sample of the
// clean lines holding a byte above 7F, since a clean file may still hold the
// wrong letters: a CP852 "ą" is the Windows-1250 "Ą", an ISO-8859-2 "š" the
// Windows-1250 "ą". It says nothing when it is not sure, nor for a file that
// is not text, and names both readings when two are close.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diagnoza/OcenaTekstu.h"
#include "kodowanie/Kodowanie.h"
#include "typy/Typy.h"

namespace diagnoza {

struct TDiagnoza {
  kodowanie::TKodowanie kodowanie;
  bool bom = false;  // the file begins with a byte-order mark
  // Another reading nearly as good: the file is ambiguous, and nothing is
  // corrected until the user says which.
  std::optional<kodowanie::TKodowanie> albo;
  bool operator==(const TDiagnoza&) const = default;
};

// The evidence of a file's lines under N candidates. What one line adds is
// bounded: it can put a reading at most a few letters' worth behind the
// line's best, and its words that no candidate reads plausibly (letters
// that form no word, codes, a name from another alphabet) together at most
// one letter's worth, left out of how plausible a reading is. A file where
// lines of such words alone outnumber the others is judged by its lines as
// they are.
template <std::size_t N>
struct TDowody {
  std::array<TOcena, N> suma{};  // each line bounded
  std::array<TRozne, N> rozne{};
  std::uint64_t czytelne = 0;      // lines with a word some candidate reads plausibly
  std::uint64_t dziwne = 0;        // and the others
  std::array<TOcena, N> surowa{};  // each line as it is
  std::array<TRozne, N> rozneSurowe{};
  void Dodaj(const TOcenaLinii& ocena);
  bool Ograniczone() const { return czytelne >= dziwne; }
  const TOcena* Sumy() const { return Ograniczone() ? suma.data() : surowa.data(); }
  const TRozne* Rozne() const { return Ograniczone() ? rozne.data() : rozneSurowe.data(); }
};

// Collects the evidence line by line, for a reader that keeps the lines
// (the window) and for one that does not (the command-line checker).
class TRozpoznawanie {
 public:
  // Whether the faulty line of this 0-based index is wanted; asked for every
  // faulty line (or part of one) in file order. Past the first 128 KB only
  // a thinning sample of them is read.
  bool Potrzebna(std::int64_t indeks);
  // A faulty line that was wanted. Past the first 128 KB, once the verdict
  // is beyond doubt, only a line that may be UTF-8 is scored (it may make
  // the file a joined one); the others are only counted.
  void LiniaBledna(std::int64_t indeks, std::string_view linia);
  // For a reader that hands faulty lines in parts, in file order (`linia`
  // 1-based): the parts of a line are read as one line. KoniecBlednych
  // reads the last one, before the clean lines or the verdict are asked for.
  void CzescBlednej(std::uint64_t linia, std::string_view czesc);
  void KoniecBlednych();
  // Whether clean lines could still change the diagnosis: false once it is
  // beyond doubt, for UTF-16 and binary files, and after a few megabytes
  // of clean lines (but for a UTF-8 file, where one clean Windows-1250 line
  // makes it a mixed file).
  bool PotrzebneLiniePoprawne(std::uint64_t przeczytaneBajty) const;
  // A clean line; only lines holding a byte above 7F tell anything.
  void LiniaPoprawna(std::string_view linia);
  // Whether the file may be UTF-16 (a byte-order mark, or a tenth of the
  // faulty lines' bytes zero). Its lines cannot tell: a CR byte inside a
  // character ("č" is U+010D, 0D 01) is dropped by the reader and shifts
  // what follows, so the start of the file as it is decides.
  bool MozeUtf16() const { return Utf16(); }
  void Utf16ZPoczatku(std::string_view poczatek);
  // The encoding, or nothing when nothing is sure.
  std::optional<TDiagnoza> Wynik() const;

 private:
  std::optional<TDiagnoza> WynikUtf16() const;
  bool Utf16() const;
  bool StrukturaUtf8() const;
  void Dodaj(const TOcenaLinii& ocena);
  void Rozstrzygnij();

  // Which faulty lines are read: every `krok_`-th, the step doubling each
  // time another 128 KB have been read.
  std::uint64_t liczbaLinii_ = 0;
  std::uint64_t krok_ = 1;
  std::uint64_t przeczytane_ = 0;
  std::uint64_t progPrzerzedzenia_ = std::uint64_t{128} << 10;
  // The faulty line being put together from its parts, when it is wanted.
  std::uint64_t biezaca_ = 0;
  bool biezacaPotrzebna_ = false;
  std::string czesci_;
  bool rozstrzygnieta_ = false;
  bool czekaNaMieszane_ = false;  // UTF-8 so far: a clean Windows-1250 line would make it mixed

  TDowody<kKandydatow> dowody_;
  std::uint64_t bajty_ = 0;
  std::uint64_t zera_ = 0;
  std::uint64_t bledne_ = 0;  // faulty lines read: none, and the file is clean
  bool bomUtf8_ = false;
  // The structure of UTF-8: lines holding a byte of no well-formed
  // sequence, and sequences that decode to Latin letters.
  std::uint64_t liniiNieUtf8_ = 0;
  std::uint64_t literUtf8_ = 0;
  // A mixed file: the lines that read as UTF-8 and by how much better than
  // as single-byte text; the other lines holding characters outside ASCII,
  // under each single-byte candidate.
  std::uint64_t linieUtf8_ = 0;
  std::int64_t przewagaUtf8_ = 0;
  std::uint64_t linieJednobajtowe_ = 0;
  TDowody<kUtf8> jednobajtowe_;
  // UTF-16: the start of the file in each byte order.
  int bom16_ = 0;  // 1 little-endian mark, 2 big-endian mark
  bool poczatekUtf16_ = false;
  TOcena utf16LE_{};
  TOcena utf16BE_{};
};

// The diagnosis of the file in a verification state, after its check; for
// a clean file as well.
std::optional<TDiagnoza> RozpoznajKodowanie(const Typy::TStan& stan);

// For a reader that keeps no lines: reads the file at `sciezka` again from
// its start and hands the diagnosis its clean lines holding a byte above
// 7F, as long as they are wanted (PotrzebneLiniePoprawne). Raises
// EInOutError when the file cannot be read.
void DoczytajLiniePoprawne(TRozpoznawanie& r, const std::string& sciezka);
// For a file that may be UTF-16: reads its first megabyte as it is.
// Raises EInOutError when the file cannot be read.
void DoczytajPoczatek(TRozpoznawanie& r, const std::string& sciezka);

}  // namespace diagnoza
