// What the program takes from Windows besides files: the clock, the time
// separator of the regional settings, and error texts.
#include <windows.h>

#include <cstring>

#include "platform/PlatformLocale.h"

namespace platform {

TChwila CzasLokalny() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

char SeparatorCzasuSystemu() {
  wchar_t sep[8] = {};
  if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, sep, 8) <= 0) return ':';
  // The report holds one byte there; a separator outside ASCII cannot be it.
  if (sep[0] <= L' ' || sep[0] > L'~') return ':';
  return static_cast<char>(sep[0]);
}

// The C runtime's texts are English on every Windows.
const char* OpisBledu(int err) {
  return std::strerror(err);
}

}  // namespace platform
