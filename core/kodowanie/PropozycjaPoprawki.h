#pragma once
// What the programs say about a faulty file that the automatic correction
// can repair, and the texts of the correction itself, in Windows-1250.
#include <optional>
#include <string>

#include "kodowanie/Kodowanie.h"
#include "kodowanie/PoprawKodowanie.h"
#include "stan/Typy.h"

namespace kodowanie {

struct TPropozycja {
  TKodowanie z;        // the encoding the correction decodes from
  std::string zdanie;  // what the window says in the error list's strip
};

// After a check: what the correction offers, or nothing for a clean file,
// for one whose encoding is not sure, and for a Windows-1250 file whose
// faults the correction leaves as they are (control bytes, "€").
std::optional<TPropozycja> ZaproponujPoprawke(const Typy::TStan& stan);

// "Plik wygląda na zapisany w kodowaniu UTF-8." and the like.
std::string ZdanieODiagnozie(TKodowanie z);

// The question before the corrected file is written: what is converted
// from what, and how many characters change.
std::string TekstPotwierdzenia(TKodowanie z, const TWynikPoprawy& w);

// What follows the usual message of the saved corrected file: the
// characters written as "?", the bytes kept undecoded, the faulty lines left.
std::string TekstPoZapisie(const TWynikPoprawy& w, std::size_t pozostaleBledneLinie);

}  // namespace kodowanie
