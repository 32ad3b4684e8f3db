#pragma once
// The checker's way to the account and record checks: lines come in parts
// as the splitter cuts them from pieces of the file. A line lying whole in
// one piece is checked where it lies; only a line cut by a piece's end is
// gathered, and never more of it than a line worth checking, so memory
// stays the same whatever the file.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "linie/GatheredLine.h"
#include "rachunki/Uwagi.h"

namespace rachunki {

class TLinieStrumienia {
 public:
  // The next part of the open line; valid until the piece it lies in is
  // left (`KoniecKawalka`).
  void Czesc(const char* data, std::size_t n) { linia_.Add(data, n); }
  // The piece the parts lie in is about to be overwritten.
  void KoniecKawalka() { linia_.PieceEnds(); }
  // The line is complete: its findings, in column order.
  // With `podsumowanie`, a record is announced to it as it is split.
  const std::vector<TUwaga>& Koniec(TPodsumowanie* podsumowanie = nullptr) {
    sprawdzona_ = linia_.Length() <= kNajdluzszaLinia;
    const std::string_view linia = sprawdzona_ ? linia_.View() : std::string_view();
    const std::vector<TUwaga>& u = sprawdzona_ ? sprawdzanie_.Sprawdz(linia, podsumowanie) : brak_;
    ostatnia_ = linia;
    Porzuc();
    return u;
  }
  // The line `Koniec` last checked, while its piece is not left.
  std::string_view Ostatnia() const { return ostatnia_; }
  // Its fields when it is a record.
  const std::vector<rekord::TPoleRekordu>* Pola() const {
    return sprawdzona_ ? sprawdzanie_.Pola() : nullptr;
  }
  void Porzuc() { linia_.Clear(); }

 private:
  TSprawdzanieLinii sprawdzanie_;
  const std::vector<TUwaga> brak_{};
  std::string_view ostatnia_;
  bool sprawdzona_ = false;
  linie::GatheredLine linia_{kNajdluzszaLinia, true};
};

}  // namespace rachunki
