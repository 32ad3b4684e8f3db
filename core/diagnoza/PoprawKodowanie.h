#pragma once
// Automatic correction: the source file decoded from its encoding and every
// character put in the form the bank takes (ZnakDlaBanku.h), written as the
// corrected file beside it.
//
// The line format of the reader applies: a line ends at LF or CR LF, a
// stray CR is dropped, 1A ends the text. A single-byte or UTF-8 source is
// cut by the reader's own line splitter before it is decoded (those bytes
// mean the same in each); UTF-16 is cut into lines only after decoding. Each line is written
// followed by CR LF, as every corrected file is. Bytes that are not valid in the encoding (a broken
// UTF-8 sequence, half of a UTF-16 surrogate pair) are kept as they are, so nothing is lost and the
// check after the correction shows them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "diagnoza/ZnakDlaBanku.h"
#include "kodowanie/Kodowanie.h"

namespace diagnoza {

struct TWynikPoprawy {
  std::uint64_t linie = 0;
  std::uint64_t polskie = 0;        // Polish letters, now in Windows-1250
  std::uint64_t zamienione = 0;     // typographic characters and letters made ASCII
  std::uint64_t usuniete = 0;       // invisible characters removed
  std::uint64_t zostawione = 0;     // faulty characters left for the user
  std::uint64_t brakujace = 0;      // characters Windows-1250 lacks, now "?"
  std::uint64_t nieodkodowane = 0;  // bytes kept as they were: invalid in the encoding
  bool bom = false;                 // a byte-order mark at the start was dropped

  // Characters that the correction changes: what the confirmation counts.
  std::uint64_t Zmienione() const { return zamienione + usuniete + brakujace; }
};

// Decodes a stream of the source's bytes and hands the corrected bytes to a
// sink piece by piece.
class TPrzekodowanie {
 public:
  using TUjscie = void (*)(void* kontekst, const char* p, std::size_t n);

  TPrzekodowanie(kodowanie::TKodowanie z, TUjscie ujscie, void* kontekst);
  ~TPrzekodowanie();
  TPrzekodowanie(const TPrzekodowanie&) = delete;
  TPrzekodowanie& operator=(const TPrzekodowanie&) = delete;

  void Dodaj(const char* p, std::size_t n);
  // The input ended: the last line is written and the sink flushed.
  void Zakoncz();
  TWynikPoprawy Wynik() const;

 private:
  class TLinie;
  void DodajJednobajtowo(const char* p, std::size_t n);
  void Linia(const unsigned char* p, std::size_t n);
  void LiniaUtf8(const unsigned char* p, std::size_t n);
  void LiniaZTablicy(const unsigned char* p, std::size_t n, const std::array<char16_t, 256>& t);
  void DodajUtf16(const unsigned char* p, std::size_t n);
  // Copies the printable ASCII at p to the output; returns where it ends.
  const unsigned char* KopiujZwykle(const unsigned char* p, const unsigned char* end);
  // Copies the printable run at p and moves p past it; true when the run
  // reached the end of the line.
  bool ZwykleDoKonca(const unsigned char*& p, const unsigned char* end);
  void Znak(char32_t c);
  // A character that is neither a line end nor the first of the text.
  void ZwyklyZnak(char32_t c) {
    const TZnakiDlaBanku::TWpis& w = znaki_.Znajdz(c);
    Pisz(w.tekst, w.dlugosc);
    if (c >= 0x80 || w.zmiana != TZmiana::Bez) ++liczniki_[static_cast<std::size_t>(w.zmiana)];
    liniaOtwarta_ = true;
  }
  void Surowy(unsigned char b);
  void KoniecLinii();
  void Pisz(const char* p, std::size_t n) {
    if (n > kBufor - pos_) {
      Oproznij();
      if (n > kBufor) {
        ujscie_(kontekst_, p, n);
        return;
      }
    }
    std::memcpy(bufor_.get() + pos_, p, n);
    pos_ += n;
  }
  void Oproznij();

  // Runs of ASCII are copied into this buffer, which goes to the sink whole.
  static constexpr std::size_t kBufor = std::size_t{1} << 20;

  kodowanie::TKodowanie z_;
  TUjscie ujscie_;
  void* kontekst_;
  TZnakiDlaBanku znaki_;
  TWynikPoprawy wynik_;
  std::array<std::uint64_t, 5> liczniki_{};  // by TZmiana
  std::unique_ptr<char[]> bufor_;
  std::size_t pos_ = 0;
  std::unique_ptr<TLinie> linie_;  // the source's lines, but for UTF-16
  std::string niedokonczona_;      // a UTF-16 unit cut by the end of a piece
  bool poczatek_ = true;           // nothing decoded yet: a byte-order mark may follow
  bool liniaOtwarta_ = false;
  bool koniecTekstu_ = false;
  char16_t wysokiSurogat_ = 0;
  unsigned char surogatBajty_[2]{};
};

// What the correction of a file would change, without writing anything.
// Raises EInOutError when the file cannot be read.
TWynikPoprawy PoliczPoprawke(const std::string& sciezka, kodowanie::TKodowanie z);

// Corrects the file at `sciezka`, decoded from `z`, into its corrected file
// (NazwaPlikuPoprawionego) through the safe writer; the source is never
// written. Returns the absolute path written. Raises EInOutError.
std::string ZapiszPoprawke(const std::string& sciezka, kodowanie::TKodowanie z,
                           TWynikPoprawy& wynik);

}  // namespace diagnoza
