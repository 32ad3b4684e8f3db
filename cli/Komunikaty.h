#pragma once
// How the checker ends and how it tells the user what failed.
#include <string>

#include "Wyjscie.h"

namespace cli {

enum Wynik { kPoprawny = 0, kBledy = 1, kAwaria = 2 };

// "PATH: MESSAGE." on standard error, after what `out` holds, worded as the
// window's error box words it; the message is Windows-1250 text.
void ZglosBlad(TWyjscie& out, const std::string& sciezka, std::string komunikat);

}  // namespace cli
