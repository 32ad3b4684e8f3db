#pragma once
// What the program takes from the system besides files: the local clock,
// the time separator of the user's locale, and error texts. One source file
// per system (PlatformLocalePosix.cpp, PlatformLocaleWin32.cpp); what every
// system shares is in PlatformLocale.cpp.
#include <string_view>

namespace platform {

// A local date and time, as the clock gave it.
struct TChwila {
  int Rok = 0;
  int Miesiac = 0;
  int Dzien = 0;
  int Godzina = 0;
  int Minuta = 0;
  int Sekunda = 0;
};

// The workstation's local clock.
TChwila CzasLokalny();

// The time separator a time format uses: its first character that is not a
// digit, a letter or a blank, conversions such as %H skipped; ":" when none.
char SeparatorCzasu(std::string_view formatCzasu);

// The separator of the user's locale (LC_TIME, LC_ALL, LANG on POSIX, the
// regional settings on Windows), read without changing the program's own
// locale.
char SeparatorCzasuSystemu();

// The system's text for an errno value, in English whatever the user's
// language, as the rest of the program's system messages are.
const char* OpisBledu(int err);

}  // namespace platform
