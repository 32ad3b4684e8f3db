#include "Komunikaty.h"

#include <utility>

#include "kodowanie/Cp1250.h"
#include "typy/TekstBledu.h"

void ZglosBlad(TWyjscie& out, const std::string& sciezka, std::string komunikat) {
  out.Oproznij();
  TWyjscie err(STDERR_FILENO);
  err << sciezka << ": " << cp1250::ToUtf8(bledy::TekstBledu(std::move(komunikat))) << '\n';
}
