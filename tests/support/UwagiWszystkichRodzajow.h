#pragma once
// Every kind of finding in every field, on one line of 300 digits: the
// longest sentences a findings list can hold, for the checks that its
// columns show them whole.
#include <cstddef>
#include <string>
#include <vector>

#include "rachunki/Uwagi.h"
#include "typy/Typy.h"

namespace test_support {

inline std::vector<rachunki::TUwagaLinii> UwagiWszystkichRodzajow(Typy::TStan& stan) {
  stan.LinieOrg.push_back(std::string(300, '7'));
  std::vector<rachunki::TUwagaLinii> uwagi;
  for (int b = 0; b <= static_cast<int>(rachunki::Blad::Cudzyslow); ++b)
    for (int p = 0; p <= static_cast<int>(rachunki::Pole::Rekord); ++p)
      uwagi.push_back({1,
                       {static_cast<std::size_t>(1 + b + p), 26, static_cast<rachunki::Pole>(p),
                        static_cast<rachunki::Blad>(b)}});
  return uwagi;
}

}  // namespace test_support
