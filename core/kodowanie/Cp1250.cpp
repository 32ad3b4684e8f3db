#include "kodowanie/Cp1250.h"

#include "kodowanie/Kodowanie.h"

namespace kodowanie::cp1250 {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string ToUtf8(std::string_view bytes, bool visible) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) {
    if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
      continue;
    }
    AppendUtf8(out, visible ? VisibleCodePoint(b) : kToUnicode[b]);
  }
  return out;
}

std::string FromUtf8Lossy(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  while (p < end) {
    // A malformed sequence costs one "?" per byte, so nothing after it is lost.
    const kodowanie::TSekwencja s = kodowanie::DekodujUtf8(p, end);
    if (s.dlugosc == 0) {
      out += '?';
      ++p;
      continue;
    }
    const int b = FromUnicode(s.znak);
    out += b < 0 ? '?' : static_cast<char>(b);
    p += s.dlugosc;
  }
  return out;
}

}  // namespace kodowanie::cp1250
