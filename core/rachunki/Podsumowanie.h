#pragma once
// What the person sending a payment list checks by hand before pressing
// "send": how many transfers, how much money in all, on which days and to
// which banks; and the slips that pay someone twice or from the wrong
// account. Records are the Elixir-O lines `PodzielRekord` takes; both
// programs hand each record here in file order, so they count the same.
//
// Memory: the sums by date and by bank are bounded (kNajwiecejDat,
// kNajwiecejBankow, the rest counted together); only the index that finds a
// record written twice grows with the file (IndeksRekordow.h).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kodowanie/Cp1250.h"
#include "rachunki/ElixirO.h"
#include "rachunki/IndeksRekordow.h"
#include "rachunki/Nrb.h"
#include "rachunki/Uwagi.h"

namespace rachunki {

// Sums of grosze never overflow: each amount has at most 18 digits and a
// file would need 2^64 of them.
__extension__ typedef unsigned __int128 TGrosze;

enum class Ostrzezenie : unsigned char {
  // The same payee account, amount and title as an earlier record.
  TenSamPrzelew,
  // The payer's account differs from the one of the file's first record.
  InnyRachunekZleceniodawcy,
};

// The user's words, in Windows-1250; the other line's number follows.
std::string_view OpisOstrzezenia(Ostrzezenie o);
// Before the count of a file's warnings.
inline constexpr kodowanie::cp1250::Literal kOstrzezenia{u8"Ostrzeżenia:"};

// A warning is not an error: the bank takes the record, yet it is most
// likely a slip. Where it stands as TUwaga says; `innaLinia` is the earlier
// record it was held against (1-based).
struct TOstrzezenie {
  std::size_t kolumna = 0;
  std::size_t dlugosc = 0;
  Pole pole = Pole::RachunekKontrahenta;
  Ostrzezenie rodzaj = Ostrzezenie::TenSamPrzelew;
  std::uint64_t innaLinia = 0;

  std::string_view Wartosc(std::string_view linia) const {
    return linia.substr(kolumna - 1, dlugosc);
  }
  // "ostrzeżenie: <what>, linia N", Windows-1250.
  std::string Opis() const;
  friend bool operator==(const TOstrzezenie&, const TOstrzezenie&) = default;
};

struct TSuma {
  std::uint64_t ile = 0;
  TGrosze grosze = 0;
  friend bool operator==(const TSuma&, const TSuma&) = default;
};

// Keys of the sums by date and by bank that stand for "everything else".
inline constexpr std::uint32_t kInne = 0xFFFFFFFFu;
// The key of records whose date or payee bank cannot be read.
inline constexpr std::uint32_t kNieznany = 0;
inline constexpr std::size_t kNajwiecejDat = 400;
inline constexpr std::size_t kNajwiecejBankow = 4096;

struct TSumy {
  TSuma przelewy;   // order types other than 210
  TSuma polecenia;  // direct debits (210): money coming in, never added to the transfers
  // Records whose amount is not a number of grosze: counted, not added.
  std::uint64_t bezKwoty = 0;
  // Transfers by execution date (RRRRMMDD as a number) and by the payee's
  // bank (its 8-digit sort code as a number).
  std::map<std::uint32_t, TSuma> daty;
  std::map<std::uint32_t, TSuma> banki;
};

class TPodsumowanie {
 public:
  // Without `sumyWgDatIBankow` only the count and total are kept, not the
  // sums by date and by payee bank: a check that shows none of them does
  // not work them out for every record.
  explicit TPodsumowanie(bool sumyWgDatIBankow = true);
  // One record, line `nr` (1-based), `pola` as `PodzielRekord` split it.
  // Its warnings, valid until the next call.
  const std::vector<TOstrzezenie>& Rekord(std::uint64_t nr, std::string_view linia,
                                          const std::vector<rekord::TPoleRekordu>& pola);
  // The record `Rekord` takes next, as soon as it is split: the look-up of
  // its key in the index, which may have to come from memory, is then under
  // way while the line's fields are checked. Optional.
  void Zapowiedz(std::string_view linia, const std::vector<rekord::TPoleRekordu>& pola);
  const TSumy& Sumy() const;
  std::uint64_t Ostrzezen() const { return ostrzezen_; }
  // Records in the index so far.
  std::uint64_t Rekordow() const { return indeks_.Kluczy(); }
  // About this many records are coming in all (TIndeksRekordow::Oczekuj).
  void Oczekuj(std::uint64_t rekordow) { indeks_.Oczekuj(rekordow); }

  // For a file checked in two parts side by side, the second part's
  // summary held against the first's. The payer's account of the first
  // record that had a right one, and its line; false when none had.
  bool PierwszyZleceniodawca(std::string_view& cyfry, std::uint64_t& linia) const;
  // Whether a record `inny` holds in its index is held in this one too.
  bool WspolnyRekord(const TPodsumowanie& inny) const;

 private:
  // Sums by a key, at most `najwiecej` keys, the rest under kInne: open
  // addressing in one block, as a record's date or bank is looked up in
  // every record.
  class TSumyWgKlucza {
   public:
    explicit TSumyWgKlucza(std::size_t najwiecej);
    TSumyWgKlucza(const TSumyWgKlucza&) = delete;
    TSumyWgKlucza& operator=(const TSumyWgKlucza&) = delete;
    // Most lists have one date: the last key's sum is kept at hand.
    void Dodaj(std::uint32_t klucz, std::uint64_t grosze, bool zKwota) {
      if (klucz != ostatni_ || ostatniaSuma_ == nullptr) {
        ostatniaSuma_ = &Suma(klucz);
        ostatni_ = klucz;
      }
      ++ostatniaSuma_->ile;
      if (zKwota) ostatniaSuma_->grosze += grosze;
    }
    std::map<std::uint32_t, TSuma> Mapa() const;

   private:
    // The keys apart from the sums, so that a look-up reads 4 bytes a slot;
    // kPusty marks a free slot, kInne is kept in a place of its own.
    static constexpr std::uint32_t kPusty = 0xFFFFFFFEu;
    TSuma& Suma(std::uint32_t klucz);
    std::vector<std::uint32_t> klucze_;
    std::vector<TSuma> sumy_;
    TSuma inne_;
    bool saInne_ = false;
    std::size_t kluczy_ = 0, najwiecej_;
    std::uint32_t ostatni_ = kPusty;
    TSuma* ostatniaSuma_ = nullptr;
  };

  const bool sumyWgDatIBankow_;
  TSumy sumy_;
  mutable TSumy wynik_;
  TSumyWgKlucza daty_{kNajwiecejDat}, banki_{kNajwiecejBankow};
  std::uint64_t ostrzezen_ = 0;
  std::vector<TOstrzezenie> ostrzezenia_;
  TIndeksRekordow indeks_;
  // What Zapowiedz found of the line whose bytes start at `zapowiedziana_`.
  const char* zapowiedziana_ = nullptr;
  std::size_t zapowiedzianaDlugosc_ = 0;
  bool zKontrahentem_ = false;
  char kontrahent_[kCyfrNrb]{};
  std::uint64_t klucz_ = 0;
  bool zKwota_ = false;  // the amount a number of grosze: `grosze_`
  std::uint64_t grosze_ = 0;
  // The payer's field as the last record wrote it, when it was the first
  // payer's account: a list repeats it in every record.
  std::string ostatniZleceniodawca_;
  char zleceniodawca_[kCyfrNrb]{};
  std::uint64_t liniaZleceniodawcy_ = 0;
};

// `b`'s sums added to `a`'s, as if `b`'s records had come after `a`'s.
// False, with `a` in part changed, where the sums alone cannot tell it:
// either ran out of places for its dates or banks, or both together would.
bool DolaczSumy(TSumy& a, const TSumy& b);

// "12 345,67": złoty grouped by thousands with spaces, a comma, grosze.
std::string Kwota(TGrosze grosze);

// The summary as lines, Windows-1250: "przelewów: N, razem: X zł", then
// one per date ("2024-03-28: przelewów: ..."), one per payee bank ("bank
// 10901014: ..."), and the direct debits and unreadable amounts when there
// are any. `nazwaBanku`, when given, names a sort code's bank; an empty
// name shows the code alone.
std::vector<std::string> LiniePodsumowania(
    const TSumy& s, const std::function<std::string(std::uint32_t)>& nazwaBanku = {});
// A sort code's bank by the list of banks in use (WykazBankow.h), or empty.
std::string NazwaBankuZWykazu(std::uint32_t kod);

}  // namespace rachunki
