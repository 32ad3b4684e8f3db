// The account and record checks' cost beside the character check, both as
// the command-line checker runs them: the file in pieces through the line
// splitter, clean lines counted in runs, with and without the lines that
// hold a digit taken out of the runs and their account numbers and record
// fields checked.
//
//   bench_rachunki FILE RUNS   prints "WITHOUT WITH FINDINGS": the fastest
//                              of RUNS (alternating) in seconds, and how
//                              many findings the checks made.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "linie/LineSplitter.h"
#include "linie/SprawdzanieStrumienia.h"
#include "rachunki/ZnakiIRachunki.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Nic final : linie::StreamFindings {
  void FaultyByte(std::uint64_t, std::uint64_t, unsigned char) override {}
  void EmptyLine(std::uint64_t) override {}
  void FaultyLine(std::uint64_t, std::string_view) override {}
  void Corrected(const char*, std::size_t) override {}
};

constexpr std::size_t kKawalek = std::size_t{128} << 10;

// One check of the text as the checker makes it, with or without the
// account and field checks; returns the seconds it took.
double Przebieg(const std::string& tekst, bool rachunki, std::uint64_t& uwagi) {
  Nic nic;
  linie::SprawdzanieStrumienia znaki(nic, {});
  uwagi = 0;
  auto policz = [&uwagi](std::uint64_t, const auto&, std::string_view) { ++uwagi; };
  rachunki::TZnakiIRachunki linie(znaki, rachunki, policz);
  const auto t0 = Clock::now();
  linie::BasicLineSplitter<decltype(linie)> sp(linie);
  for (std::size_t off = 0; off < tekst.size(); off += kKawalek) {
    sp.Feed(tekst.data() + off, std::min(kKawalek, tekst.size() - off));
    linie.KoniecKawalka();
  }
  sp.Finish();
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_rachunki FILE RUNS\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string tekst((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const int runs = std::max(1, std::atoi(argv[2]));
  double bez = 1e9, z = 1e9;
  std::uint64_t uwagi = 0;
  for (int r = 0; r < runs; ++r) {
    std::uint64_t zadnych = 0;
    bez = std::min(bez, Przebieg(tekst, false, zadnych));
    z = std::min(z, Przebieg(tekst, true, uwagi));
  }
  std::printf("%.6f %.6f %llu\n", bez, z, static_cast<unsigned long long>(uwagi));
  return 0;
}
