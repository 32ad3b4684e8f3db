// What the program takes from a POSIX system besides files: the clock, the
// time separator of the user's locale, and error texts.
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <ctime>

#include "platform/PlatformLocale.h"

namespace platform {

TChwila CzasLokalny() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

char SeparatorCzasuSystemu() {
  // A locale of its own, so the program's global locale stays as it is.
  const locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return ':';  // the user's locale is not installed
  const char* format = nl_langinfo_l(T_FMT, loc);
  const char sep = SeparatorCzasu(format ? format : "");
  freelocale(loc);
  return sep;
}

const char* OpisBledu(int err) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c ? strerror_l(err, c) : std::strerror(err);
}

}  // namespace platform
