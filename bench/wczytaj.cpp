// The reader in-process, without the command-line checker's output.
//
//   bench_wczytaj FILE [RUNS]   reads FILE with the core's reader RUNS times
//                               and prints the fastest run, the line and
//                               faulty-line counts and which scan ran;
//   bench_wczytaj --scan FILE   times each version of the line scan over
//                               FILE in memory, line by line as the reader
//                               calls it: "VERSION SECONDS" per line of
//                               output, fastest of five.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "linie/LineScanner.h"
#include "linie/WczytajPlik.h"

namespace {

using Clock = std::chrono::steady_clock;

int Scan(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = begin + text.size();
  struct Version {
    const char* name;
    scan::ScanFn fn;
  } versions[] = {{"scalar", scan::ToLineBreakScalar},
                  {"sse2", scan::Sse2Version()},
                  {"ssse3", scan::Ssse3Version()},
                  {"avx2", scan::Avx2Version()}};
  for (const Version& v : versions) {
    if (!v.fn) continue;
    double best = 1e9;
    std::size_t breaks = 0;
    for (int r = 0; r < 5; ++r) {
      breaks = 0;
      bool faulty = false;
      const auto t0 = Clock::now();
      for (const unsigned char* p = begin; p < end; ++breaks) p = v.fn(p, end, faulty) + 1;
      const double s = std::chrono::duration<double>(Clock::now() - t0).count();
      if (s < best) best = s;
    }
    std::printf("%s %.6f %zu\n", v.name, best, breaks);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--scan") == 0) return Scan(argv[2]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_wczytaj FILE [RUNS] | --scan FILE\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 1;
  double best = 1e9;
  std::size_t lines = 0, faulty = 0;
  for (int r = 0; r < runs; ++r) {
    Typy::TStan stan;
    stan.NazwaPliku = argv[1];
    const auto t0 = Clock::now();
    Typy::WczytajPlik(stan);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    if (s < best) best = s;
    lines = stan.LinieOrg.size();
    faulty = stan.Bledy.size();
  }
  std::printf("%.4f s  %zu lines  %zu faulty  scan: %s\n", best, lines, faulty,
              scan::ActiveVersion());
  return 0;
}
