#pragma once
// Skipping printable ASCII eight bytes at a time: most of a transfer file is
// printable ASCII, which every candidate encoding reads alike.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kodowanie {

// The number of bytes at the start of [p, p + n) that lie in 20..7E.
inline std::size_t DlugoscZwyklych(const unsigned char* p, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    // A high bit, a byte below 20 (found exactly among bytes below 80) or 7F.
    const std::uint64_t below = (w - kOnes * 0x20) & ~w & kHigh;
    const std::uint64_t x = w ^ (kOnes * 0x7F);
    const std::uint64_t del = (x - kOnes) & ~x & kHigh;
    if ((w & kHigh) | below | del) break;
  }
  while (i < n && p[i] >= 0x20 && p[i] < 0x7F) ++i;
  return i;
}

}  // namespace kodowanie
