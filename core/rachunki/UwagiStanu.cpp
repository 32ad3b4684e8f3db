#include "rachunki/UwagiStanu.h"

#include "typy/Typy.h"

namespace rachunki {

std::vector<TUwagaLinii> SprawdzStan(const Typy::TStan& stan) {
  std::vector<TUwagaLinii> wynik;
  TSprawdzanieLinii sprawdzanie;
  auto lf = stan.LinieZLf.begin();
  for (std::size_t i = 0; i < stan.LinieOrg.size(); ++i) {
    for (const TUwaga& u : sprawdzanie.Sprawdz(stan.LinieOrg[i])) wynik.push_back({i + 1, u});
    // After the line's own findings, as the checker tells them.
    if (lf != stan.LinieZLf.end() && *lf == static_cast<std::int32_t>(i)) {
      wynik.push_back({i + 1, UwagaKoncaLinii(stan.LinieOrg[i].size())});
      ++lf;
    }
  }
  return wynik;
}

}  // namespace rachunki
