// The --convert flow: a faulty file (or a clean one in another encoding)
// corrected automatically from its encoding, the copy's losses told, and
// the copy checked in its place.
#include "SprawdzPlik.h"
#include "Wydruk.h"
#include "diagnoza/PoprawKodowanie.h"
#include "profile/RegulaZnakow.h"
#include "raport/ZapiszPoprawiony.h"
#include "typy/TekstBledu.h"

namespace cli {

Wynik TSprawdzaniePlikow::Przekoduj(const std::string& plik, const std::string& sciezka,
                                    std::uint64_t bledne,
                                    const std::optional<diagnoza::TDiagnoza>& diagnoza,
                                    Wynik sprawdzenie) {
  // The encoding the user names is taken for any file; otherwise a faulty
  // file is converted from its diagnosis and a clean one only when its
  // letters read better in another encoding. Between two close readings,
  // and for a faulty file whose encoding is not sure, nothing is guessed.
  if (o_.z) return Przekoduj(plik, sciezka, *o_.z);
  const bool pewna = diagnoza && !diagnoza->albo;
  if (pewna && InneKodowanie(diagnoza)) return Przekoduj(plik, sciezka, diagnoza->kodowanie);
  if (pewna && bledne > 0) return Przekoduj(plik, sciezka, profile::AktywnyProfil().kodowanie);
  if (bledne > 0 || InneKodowanie(diagnoza)) {
    if (!o_.cicho)
      out_ << plik << ": poprawionej kopii nie zapisano; kodowanie pliku podaj w --from\n";
  }
  return sprawdzenie;
}

Wynik TSprawdzaniePlikow::Przekoduj(const std::string& plik, const std::string& sciezka,
                                    kodowanie::TKodowanie z) {
  diagnoza::TWynikPoprawy w;
  std::string zapisany;
  try {
    zapisany = diagnoza::ZapiszPoprawke(sciezka, z, w);
  } catch (const std::exception& e) {
    ZglosBlad(out_, raport::NazwaPlikuPoprawionego(plik), Typy::bledy::Opis(e));
    return kAwaria;
  }
  if (!o_.cicho) {
    out_ << plik << ": zapisano " << zapisany << '\n';
    // What the bank could not be given as it was: never lost without a word.
    if (w.brakujace)
      out_ << plik << ": znaków, których " << kodowanie::Nazwa(profile::AktywnyProfil().kodowanie)
           << " nie ma, zapisanych jako \"?\": " << static_cast<unsigned long long>(w.brakujace)
           << '\n';
    if (w.nieodkodowane)
      out_ << plik << ": bajtów nieczytelnych w kodowaniu " << kodowanie::Nazwa(z)
           << ", pozostawionych bez zmian: " << static_cast<unsigned long long>(w.nieodkodowane)
           << '\n';
  }
  // The written copy is checked as any file, under the name the user would
  // give it; it is not corrected again.
  return Sprawdz(raport::NazwaPlikuPoprawionego(plik), false);
}

}  // namespace cli
