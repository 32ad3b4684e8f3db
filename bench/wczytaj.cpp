// Reads a file with the core's reader a few times and prints the fastest
// run, the line count, the faulty-line count and which scan ran.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "LineScanner.h"
#include "WczytajPlik.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_wczytaj FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 1;
  double best = 1e9;
  std::size_t lines = 0, faulty = 0;
  for (int r = 0; r < runs; ++r) {
    Typy::TStan stan;
    stan.NazwaPliku = argv[1];
    const auto t0 = std::chrono::steady_clock::now();
    Typy::WczytajPlik(stan);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (s < best) best = s;
    lines = stan.LinieOrg.size();
    faulty = stan.Bledy.size();
  }
  std::printf("%.4f s  %zu lines  %zu faulty  scan: %s\n", best, lines, faulty, scan::ActiveVersion());
  return 0;
}
