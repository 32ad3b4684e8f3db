#include "rachunki/UwagiStanu.h"

#include "stan/Typy.h"

namespace rachunki {

std::vector<TUwagaLinii> SprawdzStan(const Typy::TStan& stan) {
  std::vector<TUwagaLinii> wynik;
  TSprawdzanieLinii sprawdzanie;
  for (std::size_t i = 0; i < stan.LinieOrg.size(); ++i)
    for (const TUwaga& u : sprawdzanie.Sprawdz(stan.LinieOrg[i])) wynik.push_back({i + 1, u});
  return wynik;
}

}  // namespace rachunki
