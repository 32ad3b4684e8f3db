// The text services of PlatformText.h through Windows itself: its code page
// tables (MultiByteToWideChar) and its Unicode normalisation
// (NormalizeString).
#include <windows.h>

#include "platform/PlatformText.h"

namespace platform {

std::array<char16_t, 128> CodePageUpperHalf(CodePage page) {
  std::array<char16_t, 128> table;
  table.fill(u'\uFFFD');
  const UINT cp = page == CodePage::Iso8859_2 ? 28592 : 852;
  for (int b = 0x80; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    wchar_t out[4];
    const int n = ::MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, &byte, 1, out, 4);
    if (n == 1) table[static_cast<std::size_t>(b - 0x80)] = static_cast<char16_t>(out[0]);
  }
  return table;
}

std::u16string CanonicalDecomposition(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* src = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  // The first call gives an estimate; a text that grows past it asks again.
  int size = ::NormalizeString(NormalizationD, src, length, nullptr, 0);
  for (int attempt = 0; attempt < 8 && size > 0; ++attempt) {
    std::u16string out(static_cast<std::size_t>(size), u'\0');
    const int n = ::NormalizeString(NormalizationD, src, length,
                                    reinterpret_cast<wchar_t*>(out.data()), size);
    if (n > 0) {
      out.resize(static_cast<std::size_t>(n));
      return out;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    size = -n;
  }
  return std::u16string(text);
}

}  // namespace platform
