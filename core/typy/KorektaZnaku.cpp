#include "typy/KorektaZnaku.h"

#include <limits>

namespace Typy {

std::optional<std::size_t> WybranaLinia(const TStan& stan) {
  // A selection left over from a file with more errors than the current one
  // selects nothing.
  if (stan.WybranyBlad < 0 || static_cast<std::size_t>(stan.WybranyBlad) >= stan.Bledy.size())
    return std::nullopt;
  const std::int32_t linia = stan.Bledy.LineIndex(static_cast<std::size_t>(stan.WybranyBlad));
  if (linia < 0 || static_cast<std::size_t>(linia) >= stan.LinieOrg.size()) return std::nullopt;
  return static_cast<std::size_t>(linia);
}

namespace {

// True when the 1-based position names a byte of line `linia`.
bool WLinii(const TStan& stan, std::size_t linia, std::int32_t pozycja) {
  return pozycja >= 1 && static_cast<std::size_t>(pozycja) <= stan.LinieOrg[linia].size();
}

}  // namespace

TWybranyZnak PokazWybranyZnak(TStan& stan, long long biezacyWiersz, long long offsetKursora) {
  const auto linia = WybranaLinia(stan);
  // An offset whose position cannot be held is no pick at all, not a wrap
  // to some other byte.
  if (!linia || biezacyWiersz <= 0 || offsetKursora < 0 ||
      offsetKursora >= std::numeric_limits<std::int32_t>::max())
    return {};

  stan.WybranaPozycja = static_cast<std::int32_t>(offsetKursora + 1);
  if (!WLinii(stan, *linia, stan.WybranaPozycja)) return {TPokazanie::Puste};

  const auto pozycja = static_cast<std::size_t>(stan.WybranaPozycja);
  return {TPokazanie::Znak, stan.LinieOrg[*linia][pozycja - 1],
          stan.LinieNew.Znak(*linia, pozycja)};
}

TWynikZmiany ZatwierdzZnak(TStan& stan, std::optional<char> nowyZnak) {
  const auto linia = WybranaLinia(stan);
  if (!linia || stan.WybranaPozycja <= 0) return TWynikZmiany::Nic;
  // A position kept from a longer line, or the place after the last byte.
  if (!WLinii(stan, *linia, stan.WybranaPozycja)) return TWynikZmiany::Nic;
  if (!nowyZnak) return TWynikZmiany::Nic;

  const auto pozycja = static_cast<std::size_t>(stan.WybranaPozycja);
  if (!CzyBlednyWLinii(stan.LinieOrg[*linia], pozycja)) return TWynikZmiany::NieWolno;

  stan.LinieNew.UstawZnak(*linia, pozycja, *nowyZnak);
  return TWynikZmiany::Zmieniono;
}

}  // namespace Typy
