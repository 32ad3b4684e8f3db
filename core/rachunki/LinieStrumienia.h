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

#include "rachunki/Uwagi.h"
#include "typy/ByteBuffer.h"

namespace rachunki {

class TLinieStrumienia {
 public:
  // The next part of the open line; valid until the piece it lies in is
  // left (`KoniecKawalka`).
  void Czesc(const char* data, std::size_t n) {
    dlugosc_ += n;
    if (dlugosc_ > kNajdluzszaLinia) return;
    if (!zebrana_ && pierwsza_.empty()) {
      pierwsza_ = std::string_view(data, n);
      return;
    }
    Zbierz();
    bufor_.append(data, n);
  }
  // The piece the parts lie in is about to be overwritten.
  void KoniecKawalka() {
    if (!pierwsza_.empty() && dlugosc_ <= kNajdluzszaLinia) Zbierz();
  }
  // The line is complete: its findings, in column order.
  // With `podsumowanie`, a record is announced to it as it is split.
  const std::vector<TUwaga>& Koniec(TPodsumowanie* podsumowanie = nullptr) {
    const std::string_view linia = zebrana_ ? std::string_view(bufor_.data(), bufor_.size())
                                   : dlugosc_ > kNajdluzszaLinia ? std::string_view()
                                                                 : pierwsza_;
    sprawdzona_ = dlugosc_ <= kNajdluzszaLinia;
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
  void Porzuc() {
    pierwsza_ = {};
    zebrana_ = false;
    dlugosc_ = 0;
  }

 private:
  void Zbierz() {
    if (zebrana_) return;
    bufor_.resize_down(0);
    bufor_.append(pierwsza_.data(), pierwsza_.size());
    pierwsza_ = {};
    zebrana_ = true;
  }

  TSprawdzanieLinii sprawdzanie_;
  const std::vector<TUwaga> brak_{};
  std::string_view pierwsza_;
  std::string_view ostatnia_;
  bool zebrana_ = false;
  bool sprawdzona_ = false;
  std::uint64_t dlugosc_ = 0;
  Typy::ByteBuffer bufor_;
};

}  // namespace rachunki
