// The reader's fast path. The vector versions of its inner loop against the
// plain one: every byte value in every lane, random buffers at every
// alignment and every short length, long buffers, and no read past the end.
// Then the line buffer, whose large blocks are mapped and moved when they
// grow: no byte may be lost on the way.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "linie/LineScanner.h"
#include "linie/ZnakiDozwolone.h"
#include "stan/ByteBuffer.h"

namespace {

struct Version {
  const char* name;
  scan::ScanFn fn;
};

std::vector<Version> VectorVersions() {
  std::vector<Version> v;
  if (auto f = scan::Sse2Version()) v.push_back({"sse2", f});
  if (auto f = scan::Ssse3Version()) v.push_back({"ssse3", f});
  if (auto f = scan::Avx2Version()) v.push_back({"avx2", f});
  v.push_back({"chosen", scan::ToLineBreak});
  return v;
}

// Compares one version with the plain loop on [p, end), starting with the
// flag clear and set (a version must never clear it).
void ExpectSame(const Version& v, const unsigned char* p, const unsigned char* end,
                const std::string& what) {
  for (const bool before : {false, true}) {
    bool wantFaulty = before, gotFaulty = before;
    const unsigned char* want = scan::ToLineBreakScalar(p, end, wantFaulty);
    const unsigned char* got = v.fn(p, end, gotFaulty);
    ASSERT_EQ(got - p, want - p) << v.name << ": " << what;
    ASSERT_EQ(gotFaulty, wantFaulty) << v.name << ": " << what;
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

}  // namespace

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
        buf[pos + 1] = '\n';
        ExpectSame(v, buf, buf + sizeof buf,
                   "byte " + std::to_string(b) + " before LF at " + std::to_string(pos));
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
      for (std::size_t align = 0; align < 64; ++align)
        for (std::size_t len = 0; len <= 100; ++len)
          ExpectSame(v, buf.data() + align, buf.data() + align + len,
                     "round " + std::to_string(round) + " align " + std::to_string(align) +
                         " length " + std::to_string(len));
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
  }
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
    }
  }
  ::munmap(map, 2 * page);
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
  auto fill = [&](ByteBuffer& b, std::uint64_t seed, std::size_t total) {
    std::mt19937_64 rng(seed);
    std::string piece;
    while (b.size() < total) {
      piece.resize(1 + rng() % 70000);
      for (std::size_t k = 0; k < piece.size(); ++k) piece[k] = byteAt(seed, b.size() + k);
      b.append(piece.data(), piece.size());
    }
  };
  auto expectFilled = [&](const ByteBuffer& b, std::uint64_t seed) {
    for (std::size_t i = 0; i < b.size(); ++i)
      if (b.data()[i] != byteAt(seed, i)) FAIL() << "byte " << i << " of " << b.size();
  };

  ByteBuffer b;
  fill(b, 1, 50u << 20);
  expectFilled(b, 1);

  ByteBuffer r;
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
