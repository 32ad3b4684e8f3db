#pragma once
// The list of sort codes the programs are built with, as the build
// generates it (scripts/wykaz-bankow.py from rachunki/dane/): codes sorted,
// each with the number of its bank's name.
#include <cstddef>
#include <cstdint>

namespace rachunki::wykaz_dane {
extern const char kData[];  // RRRR-MM-DD
extern const std::size_t kIleKodow;
extern const std::uint32_t kKody[];
extern const std::uint16_t kBanki[];
extern const std::size_t kIleNazw;
extern const char kNazwy[];  // each name ends with a NUL
}  // namespace rachunki::wykaz_dane
