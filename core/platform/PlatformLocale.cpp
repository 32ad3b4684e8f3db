#include "platform/PlatformLocale.h"

#include <cstring>

namespace platform {

char SeparatorCzasu(std::string_view format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    const auto c = static_cast<unsigned char>(format[i]);
    if (c == '%') {
      // A conversion: flags, width and the E/O modifiers, then its letter.
      ++i;
      while (i < format.size() && std::strchr("_-0^#EO123456789", format[i]) && format[i] != '\0')
        ++i;
      if (i >= format.size()) break;
      // These stand for times written with a colon.
      if (format[i] == 'T' || format[i] == 'R' || format[i] == 'r') return ':';
      if (format[i] == '%') return '%';
      continue;
    }
    // Letters of other scripts arrive as UTF-8 bytes above 127.
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (alnum || c >= 0x80 || c == ' ' || c == '\t' || c == '\n') continue;
    return static_cast<char>(c);
  }
  return ':';
}

}  // namespace platform
