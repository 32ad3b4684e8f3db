#pragma once
// The character rule: which bytes an internet-banking import takes.
#include <array>
#include <cstdint>

namespace Typy {

// The bytes outside 32..126 that are still allowed: the eighteen Polish
// letters of Windows-1250, then LF and CR.
inline constexpr unsigned char ZnakiDozwolone[20] = {
    0xA5, 0xC6, 0xCA, 0xA3, 0xD1, 0xD3, 0x8C, 0x8F, 0xAF, 0xB9,
    0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF, 0x0A, 0x0D,
};

constexpr bool CzyZnakDozwolony(unsigned char b) {
  for (unsigned char z : ZnakiDozwolone)
    if (z == b) return true;
  return false;
}

constexpr bool CzyZnakBledny(unsigned char b) {
  return (b < 32 || b > 126) && !CzyZnakDozwolony(b);
}

// The rule as one look-up per byte, for the loops that walk a line.
inline constexpr std::array<bool, 256> kZnakBledny = [] {
  std::array<bool, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = CzyZnakBledny(static_cast<unsigned char>(b));
  return t;
}();

// One look-up per byte for the hot loops of the reader and the validator.
// The reader also needs the three bytes that shape lines.
enum ByteClass : std::uint8_t {
  kAllowed = 0,
  kFaulty = 1,
  kLineFeed = 2,
  kCarriageReturn = 3,
  kEndOfText = 4
};

inline constexpr std::array<std::uint8_t, 256> kByteClass = [] {
  std::array<std::uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b)
    t[b] = CzyZnakBledny(static_cast<unsigned char>(b)) ? kFaulty : kAllowed;
  t[0x0A] = kLineFeed;
  t[0x0D] = kCarriageReturn;
  t[0x1A] = kEndOfText;
  return t;
}();

}  // namespace Typy
