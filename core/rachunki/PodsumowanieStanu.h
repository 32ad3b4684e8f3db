#pragma once
// The window program's account and record check of a whole file it has
// read, in one pass over its state's lines: the findings (as SprawdzStan),
// the warnings and the sums, each as the checker makes them passing.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rachunki/Podsumowanie.h"
#include "rachunki/UwagiStanu.h"

namespace rachunki {

struct TOstrzezenieLinii {
  std::uint64_t linia = 0;  // 1-based
  TOstrzezenie ostrzezenie;
};

struct TRachunkiStanu {
  std::vector<TUwagaLinii> uwagi;
  std::vector<TOstrzezenieLinii> ostrzezenia;
  TSumy sumy;
};

// A state of at least `naDwaOd` lines is checked on two threads: the
// second half's lines on one of its own, while this one checks the first
// half and then sums up the second half's records, which must pass in file
// order. The result is the same either way.
inline constexpr std::size_t kNaDwaWatkiOd = 20000;
TRachunkiStanu SprawdzIPodsumujStan(const Typy::TStan& stan, std::size_t naDwaOd = kNaDwaWatkiOd);

}  // namespace rachunki
