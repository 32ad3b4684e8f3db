#include "rachunki/PodsumowanieStanu.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <system_error>
#include <thread>

#include "typy/Typy.h"

namespace rachunki {

namespace {

// The findings of lines [od, doo), each line's own and then its line end,
// in line order; with `podsumowanie`, each record summed up as it passes.
void SprawdzLinie(const Typy::TStan& stan, std::size_t od, std::size_t doo,
                  std::vector<TUwagaLinii>& uwagi, TPodsumowanie* podsumowanie,
                  std::vector<TOstrzezenieLinii>* ostrzezenia) {
  TSprawdzanieLinii sprawdzanie;
  auto lf =
      std::lower_bound(stan.LinieZLf.begin(), stan.LinieZLf.end(), static_cast<std::int32_t>(od));
  for (std::size_t i = od; i < doo; ++i) {
    const std::string_view linia = stan.LinieOrg[i];
    for (const TUwaga& u : sprawdzanie.Sprawdz(linia, podsumowanie)) uwagi.push_back({i + 1, u});
    // A line ended by LF alone where the bank wants CR LF, after the line's
    // own findings, as the checker tells it.
    if (lf != stan.LinieZLf.end() && *lf == static_cast<std::int32_t>(i)) {
      uwagi.push_back({i + 1, UwagaKoncaLinii(linia.size())});
      ++lf;
    }
    if (podsumowanie)
      if (const auto* pola = sprawdzanie.Pola())
        for (const TOstrzezenie& o : podsumowanie->Rekord(i + 1, linia, *pola))
          ostrzezenia->push_back({i + 1, o});
  }
}

// The records of lines [od, doo) summed up, without their findings: each
// split again, as the line check splits what it checks.
void PodsumujLinie(const Typy::TStan& stan, std::size_t od, std::size_t doo,
                   TPodsumowanie& podsumowanie, std::vector<TOstrzezenieLinii>& ostrzezenia) {
  std::vector<rekord::TPoleRekordu> pola;
  for (std::size_t i = od; i < doo; ++i) {
    const std::string_view linia = stan.LinieOrg[i];
    if (linia.size() > kNajdluzszaLinia ||
        rekord::PodzielRekord(linia, pola) != rekord::Rekord::Tak)
      continue;
    for (const TOstrzezenie& o : podsumowanie.Rekord(i + 1, linia, pola))
      ostrzezenia.push_back({i + 1, o});
  }
}

}  // namespace

TRachunkiStanu SprawdzIPodsumujStan(const Typy::TStan& stan, std::size_t naDwaOd) {
  TRachunkiStanu wynik;
  TPodsumowanie podsumowanie;
  const std::size_t n = stan.LinieOrg.size();
  std::size_t polowa = n;
  std::vector<TUwagaLinii> uwagiDrugiej;
  std::exception_ptr bladDrugiej;
  std::thread druga;
  if (n >= naDwaOd && n >= 2) {
    polowa = n / 2;
    try {
      druga = std::thread([&] {
        try {
          SprawdzLinie(stan, polowa, n, uwagiDrugiej, nullptr, nullptr);
        } catch (...) {
          bladDrugiej = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      polowa = n;  // no thread to spare: all on this one
    }
  }
  struct TCzekaj {
    std::thread& t;
    ~TCzekaj() {
      if (t.joinable()) t.join();
    }
  } czekaj{druga};
  SprawdzLinie(stan, 0, polowa, wynik.uwagi, &podsumowanie, &wynik.ostrzezenia);
  if (polowa < n) {
    PodsumujLinie(stan, polowa, n, podsumowanie, wynik.ostrzezenia);
    druga.join();
    if (bladDrugiej) std::rethrow_exception(bladDrugiej);
    wynik.uwagi.insert(wynik.uwagi.end(), uwagiDrugiej.begin(), uwagiDrugiej.end());
  }
  wynik.sumy = podsumowanie.Sumy();
  return wynik;
}

}  // namespace rachunki
