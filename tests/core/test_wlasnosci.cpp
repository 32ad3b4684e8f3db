// Random files against the test's own model of the line format and the
// character rule. The seeds are fixed, so a failure names a case that can be
// run again; the bytes that shape lines (CR, LF, 1A), NUL and bytes above
// 127 are drawn far more often than in real files.
#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"

using namespace Typy;
using namespace linie;
using namespace testing_core;

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

struct Weights {  // per thousand draws
  int cr, lf, nul, eot, high, polish, control;
};

std::string RandomFile(std::uint64_t seed) {
  std::seed_seq seq{seed};
  std::mt19937_64 rng(seq);
  auto below = [&](std::uint64_t n) { return static_cast<std::size_t>(rng() % n); };

  const bool large = seed % 40 == 7;
  const std::size_t size = large           ? kMiB + 1 + below(2 * kMiB)
                           : below(4) == 0 ? below(8)
                                           : below(3000);
  Weights w{60, 60, 30, below(3) == 0 ? 0 : 2, 250, 60, 30};
  if (large) {
    w.eot = 0;
    if (below(3) == 0) w.cr = w.lf = 0;  // a few very long lines that cross pieces
  } else if (below(4) == 0) {
    w = {250, 150, 30, 5, 100, 20, 20};  // mostly line ends
  }

  std::string s(size, '\0');
  for (auto& c : s) {
    int r = static_cast<int>(below(1000));
    if ((r -= w.cr) < 0)
      c = '\r';
    else if ((r -= w.lf) < 0)
      c = '\n';
    else if ((r -= w.nul) < 0)
      c = '\0';
    else if ((r -= w.eot) < 0)
      c = '\x1A';
    else if ((r -= w.high) < 0)
      c = static_cast<char>(128 + below(128));
    else if ((r -= w.polish) < 0)
      c = kPolishLetters[below(kPolishLetters.size())];
    else if ((r -= w.control) < 0)
      c = static_cast<char>(1 + below(25));  // the controls below 1A; those above next
    else if ((r -= w.control / 4) < 0)
      c = static_cast<char>(27 + below(5));
    else
      c = static_cast<char>(32 + below(95));
    if (large && below(200000) == 0) c = '\n';
  }
  if (large) {
    // The pair CR LF, or a CR with something else after it, split across
    // the first two pieces of the reader; now and then the text ends in the
    // second piece.
    const char after[] = {'\n', 'x', '\r', '\x96'};
    s[kMiB - 1] = '\r';
    s[kMiB] = after[below(4)];
    if (below(4) == 0) s[kMiB + below(size - kMiB)] = '\x1A';
  }
  return s;
}

}  // namespace

TEST(Wlasnosci, randomFilesMatchTheModel) {
  TempDir dir;
  const std::string path = dir.File("losowy.txt");
  TStan s;
  std::size_t lines = 0, records = 0, largeFiles = 0;
  for (std::uint64_t seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const std::string bytes = RandomFile(seed);
    largeFiles += bytes.size() > kMiB;
    TempDir::WriteTo(path, bytes);
    // One state for all cases, as in the program, where each check follows
    // the one before.
    Sprawdz(s, path);
    const auto expected = ModelLines(bytes);
    ExpectInvariants(s);
    ExpectMatchesModel(s, expected);
    if (HasFailure()) break;
    lines += expected.size();
    records += s.Bledy.size();
  }
  // The cases are only telling if they reached what they were made for.
  EXPECT_GE(largeFiles, 8u);
  EXPECT_GT(lines, 50'000u);
  EXPECT_GT(records, 10'000u);
  EXPECT_LT(records, lines);
}
