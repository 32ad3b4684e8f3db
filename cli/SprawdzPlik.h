#pragma once
// One file's check: its findings printed as the file is read, its report
// and corrected copy written at the same time and put in place at the end.
// Every file of a run goes through here; a new step for a file (reading it
// from another encoding, say) belongs in Sprawdz.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Komunikaty.h"
#include "Opcje.h"
#include "Wyjscie.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "kodowanie/Kodowanie.h"

namespace cli {

class TSprawdzaniePlikow {
 public:
  TSprawdzaniePlikow(const TOpcje& opcje, TWyjscie& out);

  Wynik Sprawdz(const std::string& plik) { return Sprawdz(plik, o_.przekoduj); }

 private:
  // With `przekoduj`, a faulty file, or a clean one whose letters are
  // another encoding's, is corrected automatically and the written copy
  // checked in its place.
  Wynik Sprawdz(const std::string& plik, bool przekoduj);
  // The --convert flow (Przekoduj.cpp), after a file's check came to
  // `sprawdzenie` with `bledne` faulty lines.
  Wynik Przekoduj(const std::string& plik, const std::string& sciezka, std::uint64_t bledne,
                  const std::optional<diagnoza::TDiagnoza>& diagnoza, Wynik sprawdzenie);
  Wynik Przekoduj(const std::string& plik, const std::string& sciezka, kodowanie::TKodowanie z);

  const TOpcje& o_;
  TWyjscie& out_;
  // Asked of the system once for every report of the run.
  const char separatorCzasu_;
};

}  // namespace cli
