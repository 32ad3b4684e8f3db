#pragma once
// The comma-separated record of batch domestic transfers that Polish
// internet banking imports: a three-digit order type, the execution date,
// the amount in grosze, both banks' sort codes and accounts, names and the
// title in double quotes (lines of at most 35 characters joined by "|"),
// the classification. Only rules every bank's published description agrees
// on are checked: a rule that refuses a line the bank takes is worse than
// none.
#include <cstddef>
#include <string_view>
#include <vector>

namespace rachunki {

struct TUwaga;

// One field's value, inside its quotes when it has them.
struct TPoleRekordu {
  std::size_t poczatek = 0;
  std::size_t dlugosc = 0;
  bool wCudzyslowie = false;
};

enum class Rekord : unsigned char {
  Nie,  // not a line of the layout: only its account numbers are checked
  Tak,
  // A quote opened and never closed: the fields after it are not known.
  NiezamknietyCudzyslow,
};

// Fields are numbered from 0 here; the descriptions count from 1.
inline constexpr std::size_t kPolRekordu = 15;

// The fields every reader of a record names, by their place.
namespace pole {
enum : std::size_t {
  kRodzaj = 0,
  kData = 1,
  kKwota = 2,
  kBankZleceniodawcy = 3,
  kRachunekZleceniodawcy = 5,
  kRachunekKontrahenta = 6,
  kNazwaZleceniodawcy = 7,
  kNazwaKontrahenta = 8,
  kBankKontrahenta = 10,
  kTytul = 11,
  kKlasyfikacja = 14,
};
}  // namespace pole

// Splits a line into its fields when it is a record: the order type of
// three digits first, at least 15 fields, some of them quoted. An amount
// written with a comma, which splits it in two, is put back together as
// one field. With an unclosed quote, `pola` ends with the field it opens.
Rekord PodzielRekord(std::string_view linia, std::vector<TPoleRekordu>& pola);

namespace detail {
// The fields of a line that has the commas and a quote of a record, as
// `PodzielRekord` takes them before it joins an amount written with a
// comma: searched for field by field, and the same from bit masks of the
// whole line (at most 4096 bytes), which is what `PodzielRekord` uses.
Rekord PolaRekordu(std::string_view linia, std::vector<TPoleRekordu>& pola);
Rekord PolaRekorduMaskami(std::string_view linia, std::vector<TPoleRekordu>& pola);
}  // namespace detail

// Appends what is wrong with the record's fields, except its account
// numbers' check digits, which are checked wherever a number stands.
void SprawdzRekord(std::string_view linia, const std::vector<TPoleRekordu>& pola,
                   std::vector<TUwaga>& uwagi);

}  // namespace rachunki
