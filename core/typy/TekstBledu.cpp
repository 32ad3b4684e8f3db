#include "typy/TekstBledu.h"

#include <new>

namespace Typy::bledy {

std::string Opis(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) return kBrakPamieci;
  return e.what();
}

std::string TekstBledu(std::string komunikat) {
  if (!komunikat.empty() && static_cast<unsigned char>(komunikat.back()) > '.')
    komunikat.push_back('.');
  return komunikat;
}

}  // namespace Typy::bledy
