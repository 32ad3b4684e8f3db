#include "linie/SprawdzLinie.h"

namespace linie {

bool SprawdzLinie(Typy::TStan& stan, std::int32_t index, std::string_view linia) {
  bool faulty = linia.empty();
  if (!faulty && kodowanie::Regula().zalezny) {
    faulty = !Typy::BledneWLinii(linia).empty();
  } else if (!faulty) {
    const auto& bledny = kodowanie::Regula().bledny;
    for (unsigned char b : linia) {
      if (bledny[b]) {
        faulty = true;
        break;
      }
    }
  }
  if (faulty && !linia.empty()) {
    stan.LinieNew.OznaczBledneZnaki(index);
  }
  if (faulty) {
    try {
      stan.Bledy.DopiszLinie(index);
    } catch (...) {
      // Out of memory: the line must not stay marked without its record.
      stan.LinieNew.CofnijOznaczenie(index);
      throw;
    }
  }
  return !faulty;
}

}  // namespace linie
