#pragma once
// The central bank's list of sort codes: which bank a sort code belongs to,
// and whether it belongs to any. A sort code whose own check digit fits can
// still be one no bank has; the list tells it, and names the bank behind an
// account, so a clerk sees whose account a payroll line pays into.
//
// The programs are built with a copy of the list (rachunki/dane/) and take
// a newer one from a file of the same layout without a new release. One
// list is in use per run (`WykazBankow`); both programs set it at start.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "scan/Cyfry.h"

namespace rachunki {

class TWykazBankow {
 public:
  struct TBank {
    std::uint32_t kod;  // the eight digits as a number
    std::string_view nazwa;
  };

  // The copy the programs are built with.
  static const TWykazBankow& Wbudowany();
  // `nazwy`: Windows-1250; `data`: as the finding tells it.
  TWykazBankow(std::vector<std::pair<std::uint32_t, std::string>> kody, std::string data);

  // The bank of a sort code (eight digits), in Windows-1250; empty when the
  // code is not on the list.
  std::string_view Nazwa(std::string_view kod8) const { return Nazwa(Kod(kod8.data())); }
  std::string_view Nazwa(std::uint32_t kod) const {
    const std::uint32_t i = Miejsce(kod);
    return i == kBrak ? std::string_view() : NazwaNr(nazwyMiejsc_[i]);
  }
  // Asked for every account of every line: one or two looks into a table
  // of 32 KiB, which stays in the cache.
  bool Zawiera(std::uint32_t kod) const { return Miejsce(kod) != kBrak; }
  // Whether every code on the list has a right check digit, as the central
  // bank's have and as a list read from a file must: an account whose code
  // is on such a list needs its sort code's check digit weighed no more.
  bool KodyPoprawne() const { return kodyPoprawne_; }
  // The day the list was published as, e.g. "02.07.2026".
  const std::string& Data() const { return data_; }
  std::size_t Rozmiar() const { return kody_.size(); }
  TBank Bank(std::size_t i) const { return {kody_[i], NazwaNr(banki_[i])}; }

  // Eight digits as a number; the caller knows they are digits.
  static std::uint32_t Kod(const char* c) { return scan::LiczbaZOsmiu(scan::Osiem(c)); }

 private:
  static constexpr std::uint32_t kBrak = ~std::uint32_t{0};
  // The code's place in the open-addressed table, or kBrak.
  std::uint32_t Miejsce(std::uint32_t kod) const {
    for (std::uint32_t i = (kod * 0x9E3779B1u) >> przesuniecie_;; i = (i + 1) & maska_) {
      if (miejsca_[i] == kod) return i;
      if (miejsca_[i] == kBrak) return kBrak;
    }
  }

  std::string_view NazwaNr(std::uint32_t nr) const {
    return std::string_view(nazwy_).substr(poczatki_[nr], poczatki_[nr + 1] - poczatki_[nr] - 1);
  }

  std::vector<std::uint32_t> kody_;   // sorted
  std::vector<std::uint32_t> banki_;  // for each code, its name's number
  std::string nazwy_;                 // each ends with a NUL
  std::vector<std::uint32_t> poczatki_;
  // The codes hashed into a table at least twice their number (a power of
  // two; kBrak where empty), and each place's name.
  std::vector<std::uint32_t> miejsca_;
  std::vector<std::uint16_t> nazwyMiejsc_;
  std::uint32_t maska_ = 0;
  bool kodyPoprawne_ = true;
  int przesuniecie_ = 32;
  std::string data_;
};

// Reads a list of the shipped layout (the JSON of rachunki/dane/:
// {"entries": [{"name": ..., "bank_codes": [...]}, ...]}, UTF-8), dated by
// its "date" key (RRRR-MM-DD) when it has one, else by the file's last
// change. Raises EInOutError with the user's words when the file cannot be
// read or is not such a list.
std::shared_ptr<const TWykazBankow> WczytajWykazBankow(const std::string& sciezka);

// The list in use: the built-in one until `UzyjWykazuBankow` gives another.
// Asked once a line, so it is a pointer read.
namespace detail {
extern const TWykazBankow* wykazWUzyciu;
}
inline const TWykazBankow& WykazBankow() {
  return detail::wykazWUzyciu ? *detail::wykazWUzyciu : TWykazBankow::Wbudowany();
}
void UzyjWykazuBankow(std::shared_ptr<const TWykazBankow> wykaz);

}  // namespace rachunki
