#pragma once
// What the programs say about a faulty file that the automatic correction
// can repair, and the texts of the correction itself, in Windows-1250.
#include <optional>
#include <string>

#include "diagnoza/PoprawKodowanie.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "kodowanie/Kodowanie.h"
#include "typy/Typy.h"

namespace diagnoza {

struct TPropozycja {
  kodowanie::TKodowanie z;  // the encoding the correction decodes from
  std::string zdanie;       // what the window says in the error list's strip
  // A second reading as likely: the user chooses before anything is written.
  std::optional<kodowanie::TKodowanie> albo;
};

// After a check: what the correction offers, or nothing for a file that
// reads best as Windows-1250 (unless the correction replaces some of its
// faults), for one whose encoding is not sure, and for a file that is not
// text. A clean file is offered a correction when its letters read better
// in another encoding.
std::optional<TPropozycja> ZaproponujPoprawke(const Typy::TStan& stan);
// The same from the diagnosis the check already made of the state.
std::optional<TPropozycja> ZaproponujPoprawke(const Typy::TStan& stan,
                                              const std::optional<TDiagnoza>& d);

// "Plik wygląda na zapisany w kodowaniu UTF-8.", "Plik łączy kodowania
// CP852 i UTF-8.", "Kodowanie pliku: CP852 albo
// Windows-1250." and the like.
std::string ZdanieODiagnozie(kodowanie::TKodowanie z,
                             std::optional<kodowanie::TKodowanie> albo = std::nullopt);

// The question before the corrected file is written: what is converted
// from what, and how many characters change. For an ambiguous file it
// first says which two readings are close (`albo` the other one).
std::string TekstPotwierdzenia(kodowanie::TKodowanie z, const TWynikPoprawy& w,
                               std::optional<kodowanie::TKodowanie> albo = std::nullopt);

// What follows the usual message of the saved corrected file: the
// characters written as "?", the bytes kept undecoded, the faulty lines left.
std::string TekstPoZapisie(const TWynikPoprawy& w, std::size_t pozostaleBledneLinie);

}  // namespace diagnoza
