#pragma once
// The comma-separated record of batch domestic transfers that Polish
// internet banking imports: a three-digit order type, the execution date,
// the amount in grosze, both banks' sort codes and accounts, names and the
// title in double quotes (lines of at most 35 characters joined by "|"),
// the classification. Only rules every bank's published description agrees
// on are checked: a rule that refuses a line the bank takes is worse than
// none.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "rachunki/Nrb.h"
#include "rekord/PolaRekordu.h"

namespace profile {
struct TProfil;
}

namespace rachunki {

struct TUwaga;

// The check digits of an account field written as 26 digits, as the
// record's check found them: where its digits lie in the line (null for a
// field written otherwise) and what they came to. The search for numbers
// in the line meets the same digits and need not weigh them again.
struct TRachunkiRekordu {
  const char* cyfry[2] = {nullptr, nullptr};
  WynikNrb wynik[2] = {WynikNrb::Poprawny, WynikNrb::Poprawny};
  // What `cyfry26`, lying at this place in the line, came to, if known.
  const WynikNrb* Znany(const char* cyfry26) const {
    for (int i = 0; i < 2; ++i)
      if (cyfry[i] == cyfry26) return &wynik[i];
    return nullptr;
  }
};

// The payer's account of the record checked last, and what its check
// digits came to: a list is paid from one account, so they are weighed
// once, not once a record.
class TPamiecZleceniodawcy {
 public:
  WynikNrb Rachunek(std::string_view cyfry26) {
    if (!jest_ || std::memcmp(cyfry_, cyfry26.data(), kCyfrNrb) != 0) {
      std::memcpy(cyfry_, cyfry26.data(), kCyfrNrb);
      wynik_ = SprawdzNrb(cyfry26);
      jest_ = true;
    }
    return wynik_;
  }
  // The payer's name field as RekordBezUwag cleared it last, under the
  // same limits: a list repeats it in every record, and the same text
  // needs no second look.
  bool NazwaBezUwag(std::string_view v, const profile::TProfil& limity) const;
  void ZapamietajNazwe(std::string_view v, const profile::TProfil& limity);

 private:
  char cyfry_[kCyfrNrb]{};
  WynikNrb wynik_ = WynikNrb::Poprawny;
  bool jest_ = false;
  std::string nazwa_;
  // The limits and rule it was cleared under; `czesciNazwy_` 0: none yet.
  std::uint32_t czesciNazwy_ = 0, dlugoscNazwy_ = 0;
  bool utf8Nazwy_ = false;
};

// The account's 26 digits when the field `v` holds exactly one number of
// 26 digits in one of the ways it is written, else empty; `n` holds the
// digits of one written otherwise. The record's check and its summary read
// an account field so alike.
std::string_view CyfryRachunku(std::string_view v, TNumerWLinii& n);

// At most this many digits are an amount the sums can add.
inline constexpr std::size_t kCyfrKwoty = 18;
// Whether the amount field `p` of `linia` is grosze: digits only, at most
// kCyfrKwoty of them; then their value is in `grosze`. Read as one word
// when it can be. The record's check and its summary read the amount so
// alike.
inline bool Grosze(std::string_view linia, const rekord::TPoleRekordu& p, std::uint64_t& grosze) {
  const char* const v = linia.data() + p.poczatek;
  // Most amounts have at most eight digits and stand well into the line.
  if (p.poczatek >= 8 && p.dlugosc <= 8)
    return scan::KrotkaLiczba(v + p.dlugosc, p.dlugosc, grosze);
  if (p.dlugosc > kCyfrKwoty || !scan::SameCyfry({v, p.dlugosc})) return false;
  grosze = 0;
  for (std::size_t i = 0; i < p.dlugosc; ++i)
    grosze = grosze * 10 + static_cast<unsigned>(v[i] - '0');
  return true;
}

class TWykazBankow;

// Whether a record, as `PodzielRekord` split it, is of the kind most lines
// of a list are and holds nothing any check of it would tell: a transfer
// (110, 120) with a real date and an amount of grosze; both accounts 26
// digits in a row, right, on `wykaz`, their sort codes beside them; no tax
// micro-account, the classification 51 or none; names and title within the
// profile's limits; no other number in any field. Made sure of in one go,
// without the findings' bookkeeping. False says only that the record is to
// be checked field by field (SprawdzRekord, and the numbers in its fields);
// its payer's account is weighed through `pamiec`, as that check does.
bool RekordBezUwag(std::string_view linia, const std::vector<rekord::TPoleRekordu>& pola,
                   const TWykazBankow& wykaz, const profile::TProfil& limity,
                   TPamiecZleceniodawcy& pamiec);

// Appends what is wrong with the record's fields, except its account
// numbers' check digits, which are checked wherever a number stands; with
// `rachunki`, says what the account fields' check digits came to.
// With `pamiec`, the payer's account is weighed through it.
void SprawdzRekord(std::string_view linia, const std::vector<rekord::TPoleRekordu>& pola,
                   std::vector<TUwaga>& uwagi, TRachunkiRekordu* rachunki = nullptr,
                   TPamiecZleceniodawcy* pamiec = nullptr);

}  // namespace rachunki
