#include "sprawdzanie/SprawdzPlik.h"

#include <memory>
#include <type_traits>

#include "linie/CzytajKawalkami.h"
#include "linie/LineSplitter.h"
#include "linie/WczytajPlik.h"
#include "platform/PlatformFile.h"
#include "profile/RegulaZnakow.h"
#include "rachunki/ZnakiIRachunki.h"
#include "raport/UtworzLOG.h"

namespace sprawdzanie {

void TZnaleziska::FaultyText(std::uint64_t line, std::string_view part) {
  if (rozpoznawanie_) rozpoznawanie_->CzescBlednej(line, part);
}

// The checker's way: the file read once in pieces, each line checked as it
// passes and nothing kept; the clean lines the diagnosis still wants are
// read again after.
class TStrumien {
 public:
  static TWynik Sprawdz(platform::InputFile& plik, const std::string& sciezka, TZnaleziska& z,
                        bool rachunkiTez) {
    diagnoza::TRozpoznawanie rozpoznawanie;
    z.rozpoznawanie_ = &rozpoznawanie;
    struct TOdlacz {
      TZnaleziska& z;
      ~TOdlacz() { z.rozpoznawanie_ = nullptr; }
    } odlacz{z};

    z.Otwarty();
    linie::SprawdzanieStrumienia znaki(z, z.Opcje());
    // A finding at a time: the sink's call is not in the per-line loops.
    auto zglos = [&z](std::uint64_t nr, const auto& u, std::string_view linia) {
      if constexpr (std::is_same_v<std::decay_t<decltype(u)>, rachunki::TUwaga>)
        z.Uwaga(nr, u, linia);
      else
        z.Ostrzezenie(nr, u, linia);
    };
    rachunki::TZnakiIRachunki linie(znaki, rachunkiTez, zglos);
    linie::BasicLineSplitter<decltype(linie)> splitter(linie);
    // A file that changes while it is read is not checked: neither the
    // verdict nor a copy made of it can be trusted.
    try {
      const std::uint64_t rozmiar = plik.SizeHint();
      std::uint64_t przeczytane = 0;
      linie::CzytajKawalkami(plik, [&](const char* dane, std::size_t n) {
        if (n == 0) {
          splitter.Finish();
          return true;
        }
        const bool dalej = splitter.Feed(dane, n);
        linie.KoniecKawalka();
        linie.Przeczytano(przeczytane += n, rozmiar);
        return dalej;
      });
    } catch (...) {
      splitter.Abandon();
      throw;
    }

    TWynik w;
    w.blednychLinii = znaki.FaultyLines();
    w.uwag = linie.Uwagi();
    w.ostrzezen = linie.Ostrzezenia();
    w.sumy = linie.Sumy();
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
  return TStrumien::Sprawdz(*plik, sciezka, *std::get<TZnaleziska*>(odbiorca), zasady.rachunki);
}

rachunki::TRachunkiStanu SprawdzRachunki(const Typy::TStan& stan, const TZasady& zasady) {
  UzyjZasad(zasady);
  return rachunki::SprawdzIPodsumujStan(stan);
}

}  // namespace sprawdzanie
