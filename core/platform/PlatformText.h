#pragma once
// The two services of text conversion that the core takes from the system's
// Unicode facilities rather than from tables of its own. One source file per
// system implements them: PlatformTextIcu.cpp (ICU) on Linux; on Windows,
// MultiByteToWideChar for the code pages and NormalizeString for the
// decomposition. Everything else about encodings (UTF-8, UTF-16, Windows-1250,
// what the bank takes) is the core's own.
#include <array>
#include <string>
#include <string_view>

namespace platform {

// Single-byte code pages that files from other programs arrive in. Bytes
// 00-7F are ASCII in all of them; only the upper half differs.
enum class CodePage {
  Iso8859_2,  // Windows code page 28592
  Cp852,      // Windows code page 852, the DOS Central European one
};

// The Unicode character (BMP, UTF-16 unit) of each byte 80-FF of the code
// page, byte 80 first. Called once per code page; the result is cached by
// the caller. A byte the system cannot decode maps to U+FFFD.
std::array<char16_t, 128> CodePageUpperHalf(CodePage page);

// The canonical decomposition (Unicode normalisation form D) of a text in
// UTF-16: "é" gives "e" followed by U+0301. A text without one is returned
// as it is; a failure of the system's facility returns the text unchanged.
std::u16string CanonicalDecomposition(std::u16string_view text);

}  // namespace platform
