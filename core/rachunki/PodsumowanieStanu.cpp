#include "rachunki/PodsumowanieStanu.h"

#include "typy/Typy.h"

namespace rachunki {

TRachunkiStanu SprawdzIPodsumujStan(const Typy::TStan& stan) {
  TRachunkiStanu wynik;
  TSprawdzanieLinii sprawdzanie;
  TPodsumowanie podsumowanie;
  auto lf = stan.LinieZLf.begin();
  for (std::size_t i = 0; i < stan.LinieOrg.size(); ++i) {
    const std::string_view linia = stan.LinieOrg[i];
    for (const TUwaga& u : sprawdzanie.Sprawdz(linia, &podsumowanie))
      wynik.uwagi.push_back({i + 1, u});
    // A line ended by LF alone where the bank wants CR LF, after the line's
    // own findings, as the checker tells it.
    if (lf != stan.LinieZLf.end() && *lf == static_cast<std::int32_t>(i)) {
      wynik.uwagi.push_back({i + 1, UwagaKoncaLinii(linia.size())});
      ++lf;
    }
    if (const auto* pola = sprawdzanie.Pola())
      for (const TOstrzezenie& o : podsumowanie.Rekord(i + 1, linia, *pola))
        wynik.ostrzezenia.push_back({i + 1, o});
  }
  wynik.sumy = podsumowanie.Sumy();
  return wynik;
}

}  // namespace rachunki
