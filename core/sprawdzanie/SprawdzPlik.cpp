#include "sprawdzanie/SprawdzPlik.h"

#include <memory>

#include "linie/CzytajKawalkami.h"
#include "linie/LineSplitter.h"
#include "linie/WczytajPlik.h"
#include "platform/PlatformFile.h"
#include "profile/RegulaZnakow.h"
#include "rachunki/ZnakiIRachunki.h"
#include "raport/UtworzLOG.h"
#include "sprawdzanie/DrugaCzesc.h"
#include "sprawdzanie/Przebieg.h"

namespace sprawdzanie {

void TZnaleziska::FaultyText(std::uint64_t line, std::string_view part) {
  if (rozpoznawanie_) rozpoznawanie_->CzescBlednej(line, part);
}

// The checker's way: the file read once in pieces, each line checked as it
// passes and nothing kept; the clean lines the diagnosis still wants are
// read again after. A large file is read in two parts side by side
// (DrugaCzesc.h), which tell the sink what the file read in one go would.
class TStrumien {
 public:
  static TWynik Sprawdz(platform::InputFile& plik, const std::string& sciezka, TZnaleziska& z,
                        bool rachunkiTez, bool sumy) {
    diagnoza::TRozpoznawanie rozpoznawanie;
    z.rozpoznawanie_ = &rozpoznawanie;
    struct TOdlacz {
      TZnaleziska& z;
      ~TOdlacz() { z.rozpoznawanie_ = nullptr; }
    } odlacz{z};

    z.Otwarty();
    const linie::SprawdzanieStrumienia::Options opcje = z.Opcje();
    TPrzebieg<TZglos<TZnaleziska>> przebieg(z, opcje, rachunkiTez, TZglos<TZnaleziska>{&z}, sumy);
    std::unique_ptr<TDrugaCzesc> druga =
        TDrugaCzesc::Zacznij(plik, sciezka, opcje, rachunkiTez, sumy);
    TWynik w;
    bool sumyZDwoch = false;
    // A file that changes while it is read is not checked: neither the
    // verdict nor a copy made of it can be trusted.
    try {
      if (!druga || !WDwochCzesciach(plik, z, przebieg, *druga, w, sumyZDwoch)) {
        druga.reset();
        const std::uint64_t rozmiar = plik.SizeHint();
        linie::CzytajKawalkami(plik, [&](const char* dane, std::size_t n) {
          if (n == 0) {
            przebieg.Finish();
            return true;
          }
          return przebieg.Kawalek(dane, n, rozmiar);
        });
      }
    } catch (...) {
      druga.reset();
      przebieg.Abandon();
      throw;
    }

    w.blednychLinii += przebieg.Znaki().FaultyLines();
    w.uwag += przebieg.Konta().Uwagi();
    w.ostrzezen += przebieg.Konta().Ostrzezenia();
    if (!sumyZDwoch) w.sumy = przebieg.Konta().Sumy();
    // Clean files are diagnosed too: their letters may be another
    // encoding's (a CP852 "ą" is the Windows-1250 "Ą"). The clean lines are
    // read again from the start while they can change the diagnosis; a
    // failure of that read leaves the diagnosis of the faulty lines.
    rozpoznawanie.KoniecBlednych();
    try {
      if (rozpoznawanie.PotrzebneLiniePoprawne(0))
        diagnoza::DoczytajLiniePoprawne(rozpoznawanie, sciezka);
      diagnoza::DoczytajPoczatek(rozpoznawanie, sciezka);
    } catch (const std::exception&) {
    }
    w.diagnoza = rozpoznawanie.Wynik();
    return w;
  }

 private:
  // The file read in two parts: the first here into the sink, the second
  // by `druga`, then told to the sink, or read again here where it cannot
  // stand. False, with nothing read, where the file is not mapped; else
  // the file is read to its end (or to the end-of-text byte) and closed,
  // and `w` holds what the second part adds when it stood.
  template <class Zglos>
  static bool WDwochCzesciach(platform::InputFile& plik, TZnaleziska& z, TPrzebieg<Zglos>& przebieg,
                              TDrugaCzesc& druga, TWynik& w, bool& sumyZDwoch) {
    const std::uint64_t rozmiar = plik.SizeHint();
    auto kawalki = [&przebieg](std::uint64_t doKonca) {
      return [&przebieg, doKonca](const char* dane, std::size_t n) {
        return przebieg.Kawalek(dane, n, doKonca);
      };
    };
    const std::uint64_t poczatek = druga.Poczatek();
    // Both processors are busy with the two parts: no piece is mapped ahead.
    linie::TZakres zakres = linie::CzytajZakresZMapy(plik, 0, poczatek, kawalki(poczatek), false);
    if (zakres == linie::TZakres::NieZmapowany) return false;
    bool dalej = zakres == linie::TZakres::Przeczytany;
    // Up to the second part's first line, or to the end when it has none.
    std::uint64_t ciecie = dalej ? druga.Ciecie() : 0;
    if (ciecie == 0) ciecie = rozmiar;
    if (dalej && ciecie > poczatek)
      dalej = linie::CzytajZakresZMapy(plik, poczatek, ciecie, kawalki(ciecie), false) ==
              linie::TZakres::Przeczytany;
    if (dalej && ciecie < rozmiar) {
      std::uint64_t liniaZleceniodawcy = 0;
      if (druga.Czekaj() &&
          Zgodne(przebieg.Konta().Podsumowanie(), druga.Przebieg().Konta().Podsumowanie(), w.sumy,
                 liniaZleceniodawcy)) {
        const auto& d = druga.Przebieg();
        druga.Zapis().Odtworz(z, przebieg.Znaki().Lines(), liniaZleceniodawcy);
        w.blednychLinii = d.Znaki().FaultyLines();
        w.uwag = d.Konta().Uwagi();
        w.ostrzezen = d.Konta().Ostrzezenia();
        sumyZDwoch = true;
        w.dwieCzesci = true;
        dalej = !d.KoniecTekstu();
      } else {
        dalej = linie::CzytajZakresZMapy(plik, ciecie, rozmiar, kawalki(rozmiar)) ==
                linie::TZakres::Przeczytany;
      }
    }
    // As the check in one go: a change is told before the last line is
    // ended.
    linie::SprawdzNiezmieniony(plik);
    if (dalej) przebieg.Finish();
    plik.Close();
    return true;
  }
};

namespace {

// The window's way: every line kept in the state and checked as it is
// stored, then the whole state checked for accounts and diagnosed.
TWynik DoStanu(const std::string& sciezka, TStanOkna& s, bool rachunkiTez) {
  Typy::TStan& stan = s.stan;
  stan.NazwaPliku = sciezka;
  linie::WczytajPlik(stan);

  TWynik w;
  w.blednychLinii = stan.Bledy.size();
  if (s.raport && !stan.Bledy.empty()) {
    raport::TRaportTekst tekst;
    raport::UtworzLOG(stan, tekst);
    s.tekstRaportu = tekst.Zabierz();
  }
  // Every line, as the checker checks it passing.
  if (rachunkiTez) s.rachunki = rachunki::SprawdzIPodsumujStan(stan);
  w.uwag = s.rachunki.uwagi.size();
  w.ostrzezen = s.rachunki.ostrzezenia.size();
  w.sumy = s.rachunki.sumy;
  if (!stan.LinieOrg.empty()) {
    w.diagnoza = diagnoza::RozpoznajKodowanie(stan);
    s.propozycja = diagnoza::ZaproponujPoprawke(stan, w.diagnoza);
  }
  return w;
}

// The one place a check's profile and list of banks are put in use. A
// profile is compared by value: the window hands a copy of its choice, and
// an equal one needs no new tables.
void UzyjZasad(const TZasady& zasady) {
  if (zasady.profil && *zasady.profil != profile::AktywnyProfil())
    profile::UzyjProfilu(*zasady.profil);
  if (zasady.wykaz && zasady.wykaz.get() != &rachunki::WykazBankow())
    rachunki::UzyjWykazuBankow(zasady.wykaz);
}

}  // namespace

TWynik SprawdzPlik(const std::string& sciezka, TOdbiorca odbiorca, const TZasady& zasady) {
  UzyjZasad(zasady);
  if (TStanOkna* const* s = std::get_if<TStanOkna*>(&odbiorca))
    return DoStanu(sciezka, **s, zasady.rachunki);
  const std::unique_ptr<platform::InputFile> plik = linie::OtworzPlikZrodlowy(sciezka);
  return TStrumien::Sprawdz(*plik, sciezka, *std::get<TZnaleziska*>(odbiorca), zasady.rachunki,
                            zasady.sumy);
}

rachunki::TRachunkiStanu SprawdzRachunki(const Typy::TStan& stan, const TZasady& zasady) {
  UzyjZasad(zasady);
  return rachunki::SprawdzIPodsumujStan(stan);
}

}  // namespace sprawdzanie
