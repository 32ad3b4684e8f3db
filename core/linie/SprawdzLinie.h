#pragma once
#include <cstdint>
#include <string_view>

#include "typy/Typy.h"

namespace linie {

// Validates line `index`, which the caller has already appended to the
// state's line lists: a faulty or empty line gets one record in Bledy and a
// "?" in its corrected copy at every faulty byte. True when the line is clean.
bool SprawdzLinie(Typy::TStan& stan, std::int32_t index, std::string_view linia);

}  // namespace linie
