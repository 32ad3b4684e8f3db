#pragma once
// The account and record findings of a whole file the window program has
// read: every line of its state checked as the checker checks it passing.
#include <cstdint>
#include <vector>

#include "rachunki/Uwagi.h"

namespace Typy {
struct TStan;
}

namespace rachunki {

struct TUwagaLinii {
  std::uint64_t linia = 0;  // 1-based
  TUwaga uwaga;
};

std::vector<TUwagaLinii> SprawdzStan(const Typy::TStan& stan);

}  // namespace rachunki
