#include <unistd.h>

#include <cerrno>

#include "Konsola.h"

namespace cli::konsola {

std::vector<std::string> Argumenty(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

int Pisz(int strumien, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(strumien, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return 0;
}

}  // namespace cli::konsola
