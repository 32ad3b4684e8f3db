#pragma once
// The window program's account and record check of a whole file it has
// read, in one pass over its state's lines: the findings (as SprawdzStan),
// the warnings and the sums, each as the checker makes them passing.
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

TRachunkiStanu SprawdzIPodsumujStan(const Typy::TStan& stan);

}  // namespace rachunki
