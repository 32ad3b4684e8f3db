#include "Komunikaty.h"

#include <utility>

#include "Cp1250.h"
#include "TekstBledu.h"

void ZglosBlad(TWyjscie& out, const std::string& sciezka, std::string komunikat) {
  out.Oproznij();
  TWyjscie err(STDERR_FILENO);
  err << sciezka << ": " << cp1250::ToUtf8(bledy::TekstBledu(std::move(komunikat))) << '\n';
}
