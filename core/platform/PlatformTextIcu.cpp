// The text services of PlatformText.h through ICU.
#include <unicode/ucnv.h>
#include <unicode/unorm2.h>

#include "platform/PlatformText.h"

namespace platform {

std::array<char16_t, 128> CodePageUpperHalf(CodePage page) {
  std::array<char16_t, 128> table;
  table.fill(u'\uFFFD');
  UErrorCode status = U_ZERO_ERROR;
  UConverter* conv = ucnv_open(page == CodePage::Iso8859_2 ? "ISO-8859-2" : "ibm-852", &status);
  if (U_FAILURE(status)) return table;
  for (int b = 0x80; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    UChar out[4];
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(conv, out, 4, &byte, 1, &status);
    if (U_SUCCESS(status) && n == 1) table[static_cast<std::size_t>(b - 0x80)] = out[0];
  }
  ucnv_close(conv);
  return table;
}

std::u16string CanonicalDecomposition(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  if (U_FAILURE(status)) return std::u16string(text);
  // A decomposition is at most a few times longer than its source.
  std::u16string out(text.size() * 4 + 8, u'\0');
  const int32_t n = unorm2_normalize(nfd, text.data(), static_cast<int32_t>(text.size()),
                                     out.data(), static_cast<int32_t>(out.size()), &status);
  if (U_FAILURE(status)) return std::u16string(text);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace platform
