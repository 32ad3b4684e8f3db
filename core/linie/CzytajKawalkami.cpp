#include "linie/CzytajKawalkami.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/InOutError.h"
#include "stan/Teksty.h"

namespace Typy {

void CzytajKawalkami(platform::InputFile& plik,
                     const std::function<bool(const char*, std::size_t)>& kawalek,
                     TKawalki kawalki) {
  const auto bufor = std::make_unique_for_overwrite<char[]>(kawalki.najwiekszy);
  std::uint64_t przeczytane = 0;
  bool zmieniony = false;
  for (;;) {
    const std::size_t ile = static_cast<std::size_t>(
        std::min<std::uint64_t>(kawalki.najwiekszy, kawalki.pierwszy + przeczytane));
    const std::size_t n = plik.Read(bufor.get(), ile);
    if (n == 0) {
      kawalek(bufor.get(), 0);
      break;
    }
    przeczytane += n;
    if (przeczytane > plik.SizeHint() && plik.ChangedSinceOpen()) {
      zmieniony = true;
      break;
    }
    if (!kawalek(bufor.get(), n)) break;
  }
  // What was read may mix two versions of the file: neither a verdict nor
  // anything made of it can be trusted.
  if (zmieniony || plik.ChangedSinceOpen())
    throw EInOutError(io_codes::kFileChanged, teksty::PlikZmienilSie.str());
  plik.Close();
}

}  // namespace Typy
