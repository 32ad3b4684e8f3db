// The reader in-process, without the command-line checker's output.
//
//   bench_wczytaj FILE [RUNS]   reads FILE with the core's reader RUNS times
//                               and prints the fastest run, the line and
//                               faulty-line counts and which scan ran;
//   bench_wczytaj --scan FILE   times each version of the scans over FILE
//                               in memory, fastest of five: line by line as
//                               the window's reader calls it, and in runs of
//                               clean lines as the checker does (a line that
//                               ends a run is stepped over), and those runs
//                               again in 64 KiB pieces copied into a buffer
//                               as the checker reads (the scan timed alone);
//                               "VERSION LINE-SECONDS RUN-SECONDS
//                               PIECE-SECONDS LINES".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "linie/WczytajPlik.h"
#include "scan/LineScanner.h"

namespace {

using Clock = std::chrono::steady_clock;

// The file's bytes copied piece by piece into a buffer the size of the
// checker's, each piece then scanned in runs: seconds of scanning alone.
double Pieces(const scan::Version& v, const unsigned char* begin, const unsigned char* end) {
  static unsigned char buffer[std::size_t{64} << 10];
  std::uint64_t lines = 0;
  Clock::duration scanning{};
  for (const unsigned char* piece = begin; piece < end; piece += sizeof buffer) {
    const std::size_t n =
        std::min<std::size_t>(sizeof buffer, static_cast<std::size_t>(end - piece));
    std::memcpy(buffer, piece, n);
    const auto t0 = Clock::now();
    for (const unsigned char* p = buffer; p < buffer + n;) {
      const scan::CleanRun run = v.cleanLines(p, buffer + n, 0);
      lines += run.lines;
      p = run.end;
      while (p < buffer + n && *p++ != '\n') {
      }
    }
    scanning += Clock::now() - t0;
  }
  const double s = std::chrono::duration<double>(scanning).count();
  return lines == std::uint64_t(-1) ? 0 : s;  // keeps the count from being optimised away
}

int Scan(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = begin + text.size();
  for (const scan::Version& v : scan::Versions()) {
    double bestLines = 1e9, bestRuns = 1e9, bestPieces = 1e9;
    std::size_t breaks = 0;
    std::uint64_t lines = 0;
    for (int r = 0; r < 5; ++r) {
      breaks = 0;
      bool faulty = false;
      auto t0 = Clock::now();
      for (const unsigned char* p = begin; p < end; ++breaks) p = v.toLineBreak(p, end, faulty) + 1;
      bestLines = std::min(bestLines, std::chrono::duration<double>(Clock::now() - t0).count());
      lines = 0;
      t0 = Clock::now();
      for (const unsigned char* p = begin; p < end;) {
        const scan::CleanRun run = v.cleanLines(p, end, 0);
        lines += run.lines;
        p = run.end;
        while (p < end && *p++ != '\n') {
        }
      }
      bestRuns = std::min(bestRuns, std::chrono::duration<double>(Clock::now() - t0).count());
      bestPieces = std::min(bestPieces, Pieces(v, begin, end));
    }
    std::printf("%s %.6f %.6f %.6f %zu\n", v.name, bestLines, bestRuns, bestPieces, breaks);
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
    linie::WczytajPlik(stan);
    const double s = std::chrono::duration<double>(Clock::now() - t0).count();
    if (s < best) best = s;
    lines = stan.LinieOrg.size();
    faulty = stan.Bledy.size();
  }
  std::printf("%.4f s  %zu lines  %zu faulty  scan: %s\n", best, lines, faulty,
              scan::Active().name);
  return 0;
}
