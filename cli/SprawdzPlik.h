#pragma once
// One file's check: its findings printed as the file is read, its report
// and corrected copy written at the same time and put in place at the end.
// Every file of a run goes through here; a new step for a file (reading it
// from another encoding, say) belongs in Sprawdz.
#include <memory>
#include <optional>
#include <string>

#include "Komunikaty.h"
#include "Opcje.h"
#include "Wyjscie.h"

class TSprawdzaniePlikow {
 public:
  TSprawdzaniePlikow(const TOpcje& opcje, TWyjscie& out);
  ~TSprawdzaniePlikow();

  Wynik Sprawdz(const std::string& plik) { return Sprawdz(plik, o_.przekoduj); }

  // What every file shares: the read buffer and the tables of the output.
  struct TWspolne;

 private:
  // With `przekoduj`, a faulty file, or a clean one whose letters are
  // another encoding's, is corrected automatically and the written copy
  // checked in its place.
  Wynik Sprawdz(const std::string& plik, bool przekoduj);
  Wynik Przekoduj(const std::string& plik, const std::string& sciezka, kodowanie::TKodowanie z);

  const TOpcje& o_;
  TWyjscie& out_;
  std::unique_ptr<TWspolne> wspolne_;
};
