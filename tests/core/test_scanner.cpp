// The reader's fast paths. The vector versions of its inner loops against
// the plain ones: every byte value in every lane, random buffers at every
// alignment and every short length, long buffers, and no read past the end;
// the plain run of clean lines against a table of what it must count. Then
// the line buffer, whose large blocks are mapped and moved when they
// grow: no byte may be lost on the way.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "kodowanie/ZnakiDozwolone.h"
#include "profile/RegulaZnakow.h"
#include "scan/LineScanner.h"
#include "scan/MaskiBajtow.h"
#include "scan/ZwykleAscii.h"
#include "typy/ByteBuffer.h"

namespace {

using scan::Version;

std::vector<Version> VectorVersions() {
  std::vector<Version> v = scan::Versions();
  v.erase(v.begin());  // the plain one, which the others are held against
  v.push_back({"chosen", scan::ToLineBreak, scan::CleanLines, scan::ToFaultyByte});
  return v;
}

// Compares one version with the plain loop on [p, end), starting with the
// flag clear and set (a version must never clear it).
void ExpectSame(const Version& v, const unsigned char* p, const unsigned char* end,
                const std::string& what) {
  for (const bool before : {false, true}) {
    bool wantFaulty = before, gotFaulty = before;
    const unsigned char* want = scan::ToLineBreakScalar(p, end, wantFaulty);
    const unsigned char* got = v.toLineBreak(p, end, gotFaulty);
    ASSERT_EQ(got - p, want - p) << v.name << ": " << what;
    ASSERT_EQ(gotFaulty, wantFaulty) << v.name << ": " << what;
  }
  ASSERT_EQ(v.toFaultyByte(p, end) - p, scan::ToFaultyByteScalar(p, end) - p)
      << v.name << ", faulty byte: " << what;
}

// The same for a run of clean lines, under every set of stops.
void ExpectSameRun(const Version& v, const unsigned char* p, const unsigned char* end,
                   const std::string& what) {
  for (unsigned stops = 0; stops < 4; ++stops) {
    const scan::CleanRun want = scan::CleanLinesScalar(p, end, stops);
    const scan::CleanRun got = v.cleanLines(p, end, stops);
    ASSERT_EQ(got.end - p, want.end - p) << v.name << " stops " << stops << ": " << what;
    ASSERT_EQ(got.lines, want.lines) << v.name << " stops " << stops << ": " << what;
  }
}

unsigned char RandomByte(std::mt19937_64& rng, int lineEndsPerMille) {
  const int r = static_cast<int>(rng() % 1000);
  static constexpr unsigned char kShapes[] = {'\n', '\r', 0x1A};
  static constexpr unsigned char kPolish[] = {0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF,
                                              0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF};
  if (r < lineEndsPerMille) return kShapes[rng() % 3];
  if (r < 150) return kPolish[rng() % 18];
  if (r < 200) return static_cast<unsigned char>(rng() % 256);  // faulty more often than not
  return static_cast<unsigned char>(32 + rng() % 95);
}

// Lines of 1 to 80 bytes ended by CR LF, as a transfer file is made, with
// about `oddPerMille` bytes in a thousand that end a run of clean lines or
// may: faulty bytes, 1A, lone CRs and LFs, empty lines, digits.
void RandomLines(std::mt19937_64& rng, std::vector<unsigned char>& buf, int oddPerMille) {
  static constexpr unsigned char kOdd[] = {'\r', '\n', 0x1A, 0x96, 0x00, 0x09, '5', 0x7F};
  static constexpr unsigned char kClean[] = {'a', 'Z', ' ', ',', '~', 0xB9, 0xA5, 0x8C, 0xBF};
  std::size_t i = 0;
  while (i < buf.size()) {
    const std::size_t len = 1 + rng() % 80;
    for (std::size_t k = 0; k < len && i < buf.size(); ++k, ++i)
      buf[i] = static_cast<int>(rng() % 1000) < oddPerMille ? kOdd[rng() % std::size(kOdd)]
                                                            : kClean[rng() % std::size(kClean)];
    if (i < buf.size()) buf[i++] = '\r';
    if (i < buf.size()) buf[i++] = '\n';
  }
}

}  // namespace

TEST(CleanLines, countsWhatTheLineByLinePathNeedNotSee) {
  // The plain run, which the vector versions are held to: the lines it
  // takes, and where it leaves the rest to the line-by-line path.
  constexpr unsigned kDigit = scan::kStopAtDigit, kBareLf = scan::kStopAtBareLf;
  struct Case {
    const char* name;
    std::string_view in;
    unsigned stops;
    std::uint64_t lines;
    std::size_t end;
  } const cases[] = {
      {"CR LF lines", "ab\r\ncd\r\n", 0, 2, 8},
      {"Polish letters", "\xB9\xA5\x8C\r\n", 0, 1, 5},
      {"LF lines", "ab\ncd\n", 0, 2, 6},
      {"LF lines, copied with CR LF", "ab\ncd\n", kBareLf, 0, 0},
      {"a CR LF line before an LF one", "ab\r\ncd\n", kBareLf, 1, 4},
      {"empty", "", 0, 0, 0},
      {"an empty line first", "\r\nab\r\n", 0, 0, 0},
      {"an LF first", "\nab\r\n", 0, 0, 0},
      {"the line before an empty one", "ab\r\ncd\r\n\r\nef\r\n", 0, 1, 4},
      {"the line before an empty LF one", "ab\r\ncd\n\nef\n", 0, 1, 4},
      {"a stray CR", "ab\r\nc\rd\r\n", 0, 1, 4},
      {"a CR last, its LF not read yet", "ab\r\ncd\r", 0, 1, 4},
      {"an LF last", "ab\r\ncd\n", 0, 2, 7},
      {"a line without its end", "ab\r\ncd", 0, 1, 4},
      {"a faulty byte",
       "ab\r\nc\x96"
       "d\r\nef\r\n",
       0, 1, 4},
      {"DEL", "ab\r\nc\x7F\r\n", 0, 1, 4},
      {"the end-of-text mark", "ab\r\nc\x1A\r\n", 0, 1, 4},
      {"a digit", "ab\r\nc1\r\nde\r\n", kDigit, 1, 4},
      {"a digit, not asked about", "ab\r\nc1\r\nde\r\n", 0, 3, 12},
  };
  for (const Case& c : cases) {
    const auto* p = reinterpret_cast<const unsigned char*>(c.in.data());
    const scan::CleanRun run = scan::CleanLinesScalar(p, p + c.in.size(), c.stops);
    EXPECT_EQ(run.lines, c.lines) << c.name;
    EXPECT_EQ(static_cast<std::size_t>(run.end - p), c.end) << c.name;
  }
}

TEST(LineScanner, everyByteInEveryLane) {
  // A printable run with one byte of each value at each position, then a
  // second byte after it, so a faulty byte after a line break must not
  // count and one before it must.
  for (const Version& v : VectorVersions()) {
    for (int b = 0; b < 256; ++b) {
      for (std::size_t pos = 0; pos < 64; ++pos) {
        unsigned char buf[80];
        std::memset(buf, 'a', sizeof buf);
        buf[pos] = static_cast<unsigned char>(b);
        ExpectSame(v, buf, buf + sizeof buf,
                   "byte " + std::to_string(b) + " at " + std::to_string(pos));
        // Lines of a run around it, each ended by CR LF.
        for (std::size_t k = 5; k + 1 < sizeof buf; k += 9) buf[k] = '\r', buf[k + 1] = '\n';
        buf[pos] = static_cast<unsigned char>(b);
        ExpectSameRun(v, buf, buf + sizeof buf,
                      "run, byte " + std::to_string(b) + " at " + std::to_string(pos));
        std::memset(buf, 'a', sizeof buf);
        buf[pos] = static_cast<unsigned char>(b);
        buf[pos + 1] = '\n';
        ExpectSame(v, buf, buf + sizeof buf,
                   "byte " + std::to_string(b) + " before LF at " + std::to_string(pos));
        // In a run, where a following LF clears what a CR would raise.
        ExpectSameRun(v, buf, buf + sizeof buf,
                      "run, byte " + std::to_string(b) + " before LF at " + std::to_string(pos));
        buf[pos + 1] = static_cast<unsigned char>(b);
        buf[pos] = '\r';
        ExpectSame(v, buf, buf + sizeof buf,
                   "byte " + std::to_string(b) + " after CR at " + std::to_string(pos));
      }
    }
  }
}

TEST(LineScanner, randomBuffersAtEveryAlignmentAndShortLength) {
  std::mt19937_64 rng(8);
  std::vector<unsigned char> buf(64 + 128);
  for (const Version& v : VectorVersions()) {
    for (int round = 0; round < 40; ++round) {
      // Some rounds have no line break at all, so the scan runs to the end.
      const int lineEnds = round % 4 == 0 ? 0 : round % 4 == 1 ? 2 : 20;
      for (auto& c : buf) c = RandomByte(rng, lineEnds);
      if (round % 2) RandomLines(rng, buf, 10);
      for (std::size_t align = 0; align < 64; ++align)
        for (std::size_t len = 0; len <= 100; ++len) {
          const std::string what = "round " + std::to_string(round) + " align " +
                                   std::to_string(align) + " length " + std::to_string(len);
          ExpectSame(v, buf.data() + align, buf.data() + align + len, what);
          ExpectSameRun(v, buf.data() + align, buf.data() + align + len, what);
        }
    }
  }
}

TEST(LineScanner, longBuffersLineByLine) {
  // Walks whole buffers break by break, as the reader does.
  std::mt19937_64 rng(9);
  for (const Version& v : VectorVersions()) {
    for (const int lineEnds : {0, 1, 6, 100}) {
      std::vector<unsigned char> buf(100000 + rng() % 5000);
      for (auto& c : buf) c = RandomByte(rng, lineEnds);
      const unsigned char* const end = buf.data() + buf.size();
      for (const unsigned char* p = buf.data(); p < end;) {
        const std::string what =
            "line ends " + std::to_string(lineEnds) + " offset " + std::to_string(p - buf.data());
        ExpectSame(v, p, end, what);
        bool faulty = false;
        p = scan::ToLineBreakScalar(p, end, faulty) + 1;
      }
    }
    // Runs of clean lines, each stopped one stepped over, as the checker
    // goes.
    for (const int odd : {0, 1, 3, 30}) {
      std::vector<unsigned char> buf(100000 + rng() % 5000);
      RandomLines(rng, buf, odd);
      const unsigned char* const end = buf.data() + buf.size();
      for (const unsigned char* p = buf.data(); p < end;) {
        ExpectSameRun(v, p, end,
                      "odd " + std::to_string(odd) + " offset " + std::to_string(p - buf.data()));
        p = scan::CleanLinesScalar(p, end, 0).end;
        while (p < end && *p++ != '\n') {
        }
      }
    }
  }
}

TEST(LineScanner, everyVersionUnderEveryBankProfile) {
  // A profile's rule reaches the vector versions as tables built at run
  // time: its encoding's letters, and the printable characters it refuses
  // in a look-up of their own. Each must still be the plain loop's rule.
  std::vector<profile::TProfil> profile = profile::Wbudowane();
  profile::TProfil wiele = profile::Domyslny();
  wiele.nazwa = "wiele";
  wiele.kodowanie = kodowanie::TKodowanie::Iso8859_2;
  wiele.zabronione = "!\"#$%&*;<=>@[\\]^_`{|}~0";
  profile.push_back(wiele);
  std::mt19937_64 rng(21);
  std::vector<unsigned char> buf(64 + 200);
  for (const profile::TProfil& p : profile) {
    profile::UzyjProfilu(p);
    // The built-in profiles cost what the default costs: no plain loops.
    if (p.nazwa != "wiele") {
      EXPECT_TRUE(scan::RegulaWektorowa()) << p.nazwa;
    }
    for (const Version& v : VectorVersions()) {
      for (int round = 0; round < 8; ++round) {
        for (auto& c : buf) c = RandomByte(rng, round % 3 == 0 ? 0 : 20);
        if (round % 2) RandomLines(rng, buf, 10);
        for (std::size_t align = 0; align < 64; align += 3)
          for (std::size_t len = 0; len <= 200; len += 7) {
            const std::string what = p.nazwa + " round " + std::to_string(round) + " align " +
                                     std::to_string(align) + " length " + std::to_string(len);
            ExpectSame(v, buf.data() + align, buf.data() + align + len, what);
            ExpectSameRun(v, buf.data() + align, buf.data() + align + len, what);
          }
      }
    }
  }
  profile::UzyjProfilu(profile::Domyslny());
  EXPECT_TRUE(scan::RegulaWektorowa());
}

TEST(LineScanner, neverReadsPastTheEnd) {
  // The buffer ends where an unreadable page begins: a version that loads a
  // whole vector over the end crashes here.
  const long page = ::sysconf(_SC_PAGESIZE);
  void* map = ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(map, MAP_FAILED);
  auto* base = static_cast<unsigned char*>(map);
  ASSERT_EQ(::mprotect(base + page, page, PROT_NONE), 0);
  std::memset(base, 'a', page);
  unsigned char* const end = base + page;
  for (const Version& v : VectorVersions()) {
    for (std::size_t len = 0; len <= 100; ++len) {
      end[-1] = 0xB9;  // a Polish letter: the scan must go on to the very end
      ExpectSame(v, end - len, end, "clean tail of " + std::to_string(len));
      if (len > 0) {
        end[-1] = 0x96;
        ExpectSame(v, end - len, end, "faulty tail of " + std::to_string(len));
      }
      // Lines of a run up to the very end, and one whose CR is the last byte.
      for (unsigned char* q = end - 1; q > end - 100; q -= 7) q[-1] = '\r', q[0] = '\n';
      ExpectSameRun(v, end - len, end, "lines to the end, " + std::to_string(len));
      end[-1] = '\r';
      ExpectSameRun(v, end - len, end, "CR at the end, " + std::to_string(len));
      std::memset(end - 100, 'a', 100);
    }
  }
  ::munmap(map, 2 * page);
}

// The diagnosis's skip over printable ASCII (sixteen, then eight bytes at a
// time) against the plain count: every byte value at every place of the
// first 40 bytes, after every length of printable text, so each value
// meets each lane of both the vector and the word step; then the edges of
// the printable range in a long run.
TEST(ZwykleAscii, skipsExactlyThePrintableRun) {
  const auto plain = [](const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n && p[i] >= 0x20 && p[i] < 0x7F) ++i;
    return i;
  };
  unsigned char buf[48];
  for (std::size_t n = 0; n <= 40; ++n) {
    for (std::size_t at = 0; at <= n; ++at) {
      for (int b = 0; b < 256; ++b) {
        std::memset(buf, 'x', sizeof buf);
        if (at < n) buf[at] = static_cast<unsigned char>(b);
        ASSERT_EQ(scan::DlugoscZwyklych(buf, n), plain(buf, n))
            << "length " << n << ", byte " << b << " at " << at;
      }
    }
  }
  std::vector<unsigned char> dlugi(4096, ' ');
  for (const unsigned char b : {0x00, 0x1F, 0x20, 0x7E, 0x7F, 0x80, 0xFF}) {
    for (const std::size_t at : {std::size_t{15}, std::size_t{16}, std::size_t{4095}}) {
      dlugi[at] = b;
      EXPECT_EQ(scan::DlugoscZwyklych(dlugi.data(), dlugi.size()),
                plain(dlugi.data(), dlugi.size()))
          << "byte " << int{b} << " at " << at;
      dlugi[at] = ' ';
    }
  }
}

// The masks a record is split and its fields' parts counted with: every
// byte value in every one of the 64 places, as the plain comparison marks it.
TEST(MaskiBajtow, markExactlyTheBytesAskedFor) {
  std::mt19937 los(11);
  const char szukane[] = {',', '"', '|', '\0', '\x80', '\xFF'};
  for (int k = 0; k < 2000; ++k) {
    char blok[64];
    for (char& c : blok)
      c = los() % 4 == 0 ? szukane[los() % std::size(szukane)] : static_cast<char>(los());
    const char a = szukane[los() % std::size(szukane)], b = szukane[los() % std::size(szukane)];
    std::uint64_t wzorA = 0, wzorB = 0;
    for (unsigned i = 0; i < 64; ++i) {
      wzorA |= std::uint64_t{blok[i] == a} << i;
      wzorB |= std::uint64_t{blok[i] == b} << i;
    }
    std::uint64_t ma = 0, mb = 0;
    scan::MaskiBajtow64(blok, a, b, ma, mb);
    EXPECT_EQ(ma, wzorA);
    EXPECT_EQ(mb, wzorB);
    EXPECT_EQ(scan::MaskaBajtu64(blok, a), wzorA);
  }
}

TEST(ByteBuffer, keepsEveryByteWhileGrowingAndMoving) {
  // Pieces of every size from a fixed sequence, through the small blocks,
  // the first mapped one and several moves of mapped ones; then a block
  // reserved large at once (the way the reader reserves the file's size)
  // and grown past it; then the same buffer again after release.
  // Each byte is a function of its offset, so a byte moved, lost or
  // doubled anywhere shows.
  auto byteAt = [](std::uint64_t seed, std::size_t i) {
    return static_cast<char>(((i + seed) * 0x9E3779B97F4A7C15ull) >> 56);
  };
  auto fill = [&](Typy::ByteBuffer& b, std::uint64_t seed, std::size_t total) {
    std::mt19937_64 rng(seed);
    std::string piece;
    while (b.size() < total) {
      piece.resize(1 + rng() % 70000);
      for (std::size_t k = 0; k < piece.size(); ++k) piece[k] = byteAt(seed, b.size() + k);
      b.append(piece.data(), piece.size());
    }
  };
  auto expectFilled = [&](const Typy::ByteBuffer& b, std::uint64_t seed) {
    for (std::size_t i = 0; i < b.size(); ++i)
      if (b.data()[i] != byteAt(seed, i)) FAIL() << "byte " << i << " of " << b.size();
  };

  Typy::ByteBuffer b;
  fill(b, 1, 50u << 20);
  expectFilled(b, 1);

  Typy::ByteBuffer r;
  r.reserve(40u << 20);
  const std::size_t reserved = r.capacity();
  fill(r, 2, reserved + (3u << 20));
  expectFilled(r, 2);

  r.release();
  EXPECT_EQ(r.size(), 0u);
  fill(r, 3, 5u << 20);
  expectFilled(r, 3);

  // Shrinking keeps the start; appending after it overwrites the rest.
  r.resize_down(1000);
  r.append("xyz", 3);
  ASSERT_EQ(r.size(), 1003u);
  EXPECT_EQ(std::string_view(r.data() + 1000, 3), "xyz");
}
