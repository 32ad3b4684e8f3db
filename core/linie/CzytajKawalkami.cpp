#include "linie/CzytajKawalkami.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/InOutError.h"
#include "typy/Teksty.h"

namespace linie {

namespace {

// How a large file is read: WERYFIKACJA_ODCZYT=read, mmap or populate holds
// a run to one way, so that bench/run can measure each on the machine it
// runs on; unset, the default below.
enum class TOdczyt { Read, Mapa, MapaWypelniona };
// Chosen from bench/run's measurements: see CzytajKawalkami.h.
constexpr TOdczyt kOdczytDomyslny = TOdczyt::MapaWypelniona;

TOdczyt SposobOdczytu() {
  static const TOdczyt sposob = [] {
    const char* e = std::getenv("WERYFIKACJA_ODCZYT");
    const std::string_view s = e ? e : "";
    if (s == "read") return TOdczyt::Read;
    if (s == "mmap") return TOdczyt::Mapa;
    if (s == "populate") return TOdczyt::MapaWypelniona;
    return kOdczytDomyslny;
  }();
  return sposob;
}

[[noreturn]] void ZmienilSie() {
  throw platform::EInOutError(platform::io_codes::kFileChanged, Typy::teksty::PlikZmienilSie.str());
}

// The file mapped piece by piece, as far as its size at the open. False,
// with nothing read, where it cannot be mapped.
bool CzytajZMapy(platform::InputFile& plik,
                 const std::function<bool(const char*, std::size_t)>& kawalek) {
  const TZakres zakres = CzytajZakresZMapy(plik, 0, plik.SizeHint(), kawalek);
  if (zakres == TZakres::NieZmapowany) return false;
  // Any change, one that grew the file too, is told here, before the last
  // line is ended: the end of the file reads nothing more from it.
  SprawdzNiezmieniony(plik);
  if (zakres == TZakres::Przeczytany) {
    static constexpr char kNic = 0;
    kawalek(&kNic, 0);
  }
  plik.Close();
  return true;
}

}  // namespace

bool CzytaZMapy(std::uint64_t rozmiar) {
  return platform::kMapsFiles && rozmiar >= kKawalekMapy && SposobOdczytu() != TOdczyt::Read;
}

void SprawdzNiezmieniony(const platform::InputFile& plik) {
  if (plik.ChangedSinceOpen()) ZmienilSie();
}

TZakres CzytajZakresZMapy(platform::InputFile& plik, std::uint64_t od, std::uint64_t doo,
                          const std::function<bool(const char*, std::size_t)>& kawalek,
                          bool naprzod) {
  const std::uint64_t rozmiar = plik.SizeHint();
  const TOdczyt sposob = SposobOdczytu();
  doo = std::min(doo, rozmiar);
  if (!CzytaZMapy(rozmiar) || od >= doo) return TZakres::NieZmapowany;
  // Pieces start where the whole file's would, so that each is mapped from
  // a page's start; the bytes of the first before `od` are passed over.
  for (std::uint64_t p = od / kKawalekMapy * kKawalekMapy; p < doo; p += kKawalekMapy) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kKawalekMapy, rozmiar - p));
    const std::uint64_t dalszy = naprzod && p + kKawalekMapy < doo ? rozmiar - p - n : 0;
    const char* const dane =
        plik.MapPiece(p, n, sposob == TOdczyt::MapaWypelniona,
                      static_cast<std::size_t>(std::min<std::uint64_t>(kKawalekMapy, dalszy)));
    if (dane == nullptr) return TZakres::NieZmapowany;  // only ever the first piece
    const std::size_t pominiete = static_cast<std::size_t>(std::max(od, p) - p);
    const std::size_t koniec = static_cast<std::size_t>(std::min<std::uint64_t>(doo - p, n));
    const bool dalej = kawalek(dane + pominiete, koniec - pominiete);
    // Bytes the file lost while they were read: it shrank, or its medium
    // failed.
    if (plik.PieceLost()) {
      SprawdzNiezmieniony(plik);
      throw platform::EInOutError::FromErrno(EIO);
    }
    if (!dalej) return TZakres::Przerwany;
  }
  return TZakres::Przeczytany;
}

void CzytajKawalkami(platform::InputFile& plik,
                     const std::function<bool(const char*, std::size_t)>& kawalek,
                     TKawalki kawalki) {
  if (CzytajZMapy(plik, kawalek)) return;
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
  if (zmieniony) ZmienilSie();
  SprawdzNiezmieniony(plik);
  plik.Close();
}

}  // namespace linie
