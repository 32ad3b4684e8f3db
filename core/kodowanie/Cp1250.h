#pragma once
// Windows-1250 is the program's only text encoding: every line, message and
// path is a byte string in it. This header converts between it and Unicode.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kodowanie::cp1250 {

// Unicode code point of every Windows-1250 byte. The five bytes the code
// page leaves undefined (81 83 88 90 98) map to the C1 control of the same
// value, as Windows itself does.
inline constexpr std::array<char16_t, 256> kToUnicode = [] {
  std::array<char16_t, 256> t{};
  for (int i = 0; i < 128; ++i) t[i] = static_cast<char16_t>(i);
  constexpr char16_t high[128] = {
      0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
      0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
      0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
      0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
      0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
      0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
      0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
      0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
      0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
      0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
      0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
      0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
      0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
      0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
      0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
  };
  for (int i = 0; i < 128; ++i) t[128 + i] = high[i];
  return t;
}();

// The byte that stands for a code point, or -1 when Windows-1250 has none.
constexpr int FromUnicode(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (int b = 0x80; b < 256; ++b)
    if (kToUnicode[b] == cp) return b;
  return -1;
}

// Code point of the control picture a person can see in place of an
// invisible byte (0-31 and 127); other bytes are returned decoded.
constexpr char32_t VisibleCodePoint(unsigned char b) {
  if (b < 0x20) return 0x2400 + b;
  if (b == 0x7F) return 0x2421;
  return kToUnicode[b];
}

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

// Decodes Windows-1250 bytes to UTF-8; with `visible`, control bytes become
// their control pictures.
std::string ToUtf8(std::string_view bytes, bool visible = false);

// Encodes UTF-8 text (a path as the system gives it) in Windows-1250. A
// character the code page cannot hold, and every byte that is not part of a
// well-formed UTF-8 sequence, becomes "?".
std::string FromUtf8Lossy(std::string_view utf8);

// A text written in UTF-8 in the source and held in Windows-1250, converted
// at compile time so the program's messages read as they are shown.
template <std::size_t N>
struct Literal {
  char bytes[N]{};
  std::size_t size = 0;

  consteval Literal(const char8_t (&utf8)[N]) {
    std::size_t i = 0;
    while (i + 1 < N) {  // the last element is the terminating zero
      char32_t cp = utf8[i];
      int extra = 0;
      if (cp >= 0xF0) {
        cp &= 0x07;
        extra = 3;
      } else if (cp >= 0xE0) {
        cp &= 0x0F;
        extra = 2;
      } else if (cp >= 0xC0) {
        cp &= 0x1F;
        extra = 1;
      }
      ++i;
      for (int k = 0; k < extra; ++k) cp = (cp << 6) | (utf8[i++] & 0x3F);
      const int b = FromUnicode(cp);
      if (b < 0) throw "character not in Windows-1250";  // stops compilation
      bytes[size++] = static_cast<char>(b);
    }
  }
  constexpr std::string_view view() const { return {bytes, size}; }
  std::string str() const { return std::string(view()); }
  constexpr operator std::string_view() const { return view(); }
};

}  // namespace kodowanie::cp1250
