#pragma once
// The command-line checker's sink for the line splitter: the character
// check of every line, and the account and field checks of each line that
// holds a digit. Runs of clean lines without a digit stay on the character
// check's fast path, which only counts them; a line with a digit comes
// part by part, as the window's lines are checked whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "linie/SprawdzanieStrumienia.h"
#include "rachunki/LinieStrumienia.h"
#include "rachunki/Podsumowanie.h"
#include "scan/LineScanner.h"

namespace rachunki {

// `zglos(line, finding, lineBytes)` is called with each finding (a TUwaga),
// after the character findings of its line, then with each warning of a
// record (a TOstrzezenie). The records are summed up as they pass.
template <class Zglos>
class TZnakiIRachunki {
 public:
  // `sumy`: TPodsumowanie's sums by date and by bank.
  TZnakiIRachunki(linie::SprawdzanieStrumienia& znaki, bool rachunki, Zglos zglos, bool sumy = true)
      : znaki_(znaki), rachunki_(rachunki), zglos_(zglos), podsumowanie_(sumy) {}

  void Part(const char* d, std::size_t n, bool faulty) {
    znaki_.Part(d, n, faulty);
    dlugosc_ += n;
    if (rachunki_) linie_.Czesc(d, n);
  }
  void BareLf() { lf_ = true; }
  void End() {
    znaki_.End();
    if (rachunki_) {
      for (const TUwaga& u : linie_.Koniec(&podsumowanie_)) {
        ++uwagi_;
        zglos_(znaki_.Lines(), u, linie_.Ostatnia());
      }
    }
    // The line end, after the line's findings and before its warnings, is
    // checked with or without the account checks: it is not about a field.
    if (lf_) {
      ++uwagi_;
      zglos_(znaki_.Lines(), UwagaKoncaLinii(dlugosc_), std::string_view());
    }
    lf_ = false;
    dlugosc_ = 0;
    if (!rachunki_) return;
    if (const auto* pola = linie_.Pola())
      for (const TOstrzezenie& o : podsumowanie_.Rekord(znaki_.Lines(), linie_.Ostatnia(), *pola))
        zglos_(znaki_.Lines(), o, linie_.Ostatnia());
  }
  void Drop() {
    znaki_.Drop();
    linie_.Porzuc();
    lf_ = false;
    dlugosc_ = 0;
  }
  unsigned RunStops() const {
    return znaki_.RunStops() | (rachunki_ ? unsigned{scan::kStopAtDigit} : 0u);
  }
  void CleanLines(const char* d, std::size_t n, std::uint64_t lines) {
    znaki_.CleanLines(d, n, lines);
  }
  // Empty lines hold no account number or field.
  void EmptyLines(const char* d, std::size_t n, std::uint64_t lines, bool bareLf) {
    znaki_.EmptyLines(d, n, lines, bareLf);
  }
  // The piece the lines lie in is about to be read over.
  void KoniecKawalka() { linie_.KoniecKawalka(); }
  // `przeczytane` bytes of the file's `rozmiar` are read: once the first
  // records have passed, the duplicate index is sized by them for the
  // whole file.
  void Przeczytano(std::uint64_t przeczytane, std::uint64_t rozmiar) {
    if (oszacowane_ || !rachunki_ || przeczytane == 0) return;
    const std::uint64_t rekordow = podsumowanie_.Rekordow();
    if (rekordow < kRekordowDoOszacowania) return;
    oszacowane_ = true;
    if (rozmiar > przeczytane)
      podsumowanie_.Oczekuj(
          static_cast<std::uint64_t>(static_cast<double>(rekordow) * static_cast<double>(rozmiar) /
                                     static_cast<double>(przeczytane)));
  }
  std::uint64_t Uwagi() const { return uwagi_; }
  std::uint64_t Ostrzezenia() const { return podsumowanie_.Ostrzezen(); }
  const TSumy& Sumy() const { return podsumowanie_.Sumy(); }
  const TPodsumowanie& Podsumowanie() const { return podsumowanie_; }

 private:
  linie::SprawdzanieStrumienia& znaki_;
  const bool rachunki_;
  Zglos zglos_;
  TLinieStrumienia linie_;
  TPodsumowanie podsumowanie_;
  static constexpr std::uint64_t kRekordowDoOszacowania = 256;
  std::uint64_t uwagi_ = 0;
  bool oszacowane_ = false;
  bool lf_ = false;
  std::uint64_t dlugosc_ = 0;
};

}  // namespace rachunki
