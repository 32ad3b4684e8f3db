#pragma once
// The comma-separated record of batch domestic transfers that Polish
// internet banking imports (Elixir-O), split into its fields: the order
// type of three digits first, at least 15 fields, names and the title in
// double quotes. The character rule of a bank profile reads it (a refused
// character counts only inside a field's text), and so do the record's
// checks.
#include <cstddef>
#include <string_view>
#include <vector>

namespace rekord {

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

// Whether byte i of a line is in a field's text of the record whose fields
// are `pola`: inside a quoted field, not the "|" between its lines.
bool WTekscie(std::string_view linia, const std::vector<TPoleRekordu>& pola, std::size_t i);

}  // namespace rekord
