// weryfikuj-plik: checks transfer files from scripts and machines without a
// display, with the same line splitter, rule, report and corrected-file
// writer as the window program, so the two never disagree. It reads each
// file once, in pieces, and keeps nothing of it but the line at hand.
#include <cstring>
#include <string>

#include "Komunikaty.h"
#include "Opcje.h"
#include "SprawdzPlik.h"
#include "Wyjscie.h"
#include "rachunki/WykazBankow.h"
#include "sprawdzanie/SprawdzPlik.h"
#include "typy/TekstBledu.h"

int main(int argc, char** argv) {
  using namespace cli;  // main belongs to no namespace; everything it runs is the checker's
  const TArgumenty argumenty = CzytajArgumenty(argc, argv);
  if (argumenty.koniec) return *argumenty.koniec;
  // The profile and the list of banks are read before any file, so a bad
  // one is told before anything is checked; every check is then given them.
  std::optional<profile::TProfil> profil;
  if (const std::optional<int> koniec = WczytajProfil(argumenty.opcje, profil)) return *koniec;
  sprawdzanie::TZasady zasady{.profil = profil ? &*profil : nullptr,
                              .rachunki = !argumenty.opcje.tylkoZnaki,
                              .sumy = argumenty.opcje.podsumowanie};

  TWyjscie out(STDOUT_FILENO);
  if (const auto& wykaz = argumenty.opcje.wykazBankow) {
    try {
      zasady.wykaz = rachunki::WczytajWykazBankow(*wykaz);
    } catch (const std::exception& e) {
      ZglosBlad(out, *wykaz, Typy::bledy::Opis(e));
      return kAwaria;
    }
  }
  Wynik wynik = kPoprawny;
  {
    TSprawdzaniePlikow sprawdzanie(argumenty.opcje, zasady, out);
    for (const std::string& plik : argumenty.opcje.pliki) {
      const Wynik w = sprawdzanie.Sprawdz(plik);
      if (w > wynik) wynik = w;
    }
  }
  out.Oproznij();
  if (out.Blad() != 0 && out.Blad() != EPIPE) {
    ZglosBlad(out, "weryfikuj-plik", std::string("standard output: ") + std::strerror(out.Blad()));
    wynik = kAwaria;
  }
  return wynik;
}
