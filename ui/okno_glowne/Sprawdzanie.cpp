#include "okno_glowne/Sprawdzanie.h"

#include "sprawdzanie/SprawdzPlik.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"

namespace ui {

void SprawdzPlik(Typy::TStan& stan, TUserMessages& komunikaty, TWidokSprawdzania& widok,
                 const std::string& sciezka, const std::function<void(std::size_t)>& zamiastOceny) {
  komunikaty.Zajety(true);
  widok.Wyczysc();
  sprawdzanie::TStanOkna wynik(stan, widok.PokazujeRaport());
  sprawdzanie::SprawdzPlik(sciezka, &wynik);
  komunikaty.PlikSprawdzony(sciezka);
  const std::size_t ile = stan.Bledy.size();
  widok.PokazWynik(wynik);
  komunikaty.Zajety(false);
  widok.PokazOcene(ile);
  if (zamiastOceny)
    zamiastOceny(ile);
  else if (ile == 0)
    komunikaty.Informacja(Typy::teksty::PlikPoprawny.str());
  else
    komunikaty.Ostrzezenie(Typy::teksty::PlikZBledami.str());
  widok.PoOcenie();
}

}  // namespace ui
