#include "Komunikaty.h"

#include <utility>

#include "kodowanie/Cp1250.h"
#include "typy/TekstBledu.h"

namespace cli {

void ZglosBlad(TWyjscie& out, const std::string& sciezka, std::string komunikat) {
  out.Oproznij();
  TWyjscie err(STDERR_FILENO);
  err << sciezka << ": " << kodowanie::cp1250::ToUtf8(Typy::bledy::TekstBledu(std::move(komunikat)))
      << '\n';
}

}  // namespace cli
