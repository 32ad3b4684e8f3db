// The Windows-1250 table against the C library's own converter, and the
// visible form in which control bytes are shown.
#include <iconv.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "TestSupport.h"
#include "kodowanie/Cp1250.h"

namespace {

// Converts with iconv; nothing when iconv refuses the input.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out(in.size() * 4 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t r = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  ::iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

std::string Utf8(char32_t cp) {
  std::string s;
  kodowanie::cp1250::AppendUtf8(s, cp);
  return s;
}

}  // namespace

TEST(Cp1250, tableAgreesWithIconv) {
  std::string unknown;
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const auto got = Iconv("UTF-32LE", "CP1250", std::string(1, static_cast<char>(b)));
    if (!got) {
      unknown += static_cast<char>(b);
      continue;
    }
    ASSERT_EQ(got->size(), 4u);
    const auto* u = reinterpret_cast<const unsigned char*>(got->data());
    const char32_t cp = u[0] | u[1] << 8 | u[2] << 16 | static_cast<char32_t>(u[3]) << 24;
    EXPECT_EQ(static_cast<char32_t>(kodowanie::cp1250::kToUnicode[static_cast<std::size_t>(b)]),
              cp);
    EXPECT_EQ(kodowanie::cp1250::FromUnicode(cp), b);
  }
  // The code page leaves these five bytes undefined; the table keeps them as
  // the C1 controls of the same value, so that they still round-trip.
  for (unsigned char b : unknown) {
    SCOPED_TRACE(int{b});
    EXPECT_TRUE(b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98);
    EXPECT_EQ(kodowanie::cp1250::kToUnicode[b], b);
    EXPECT_EQ(kodowanie::cp1250::FromUnicode(b), b);
  }
  EXPECT_LE(unknown.size(), 5u);
}

TEST(Cp1250, polishLettersAndTextsAgreeWithIconv) {
  const std::string letters = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
  EXPECT_EQ(Iconv("CP1250", "UTF-8", letters), testing_core::kPolishLetters);
  constexpr kodowanie::cp1250::Literal lit{u8"ĄĆĘŁŃÓŚŹŻąćęłńóśźż – „cudzysłów” ä"};
  EXPECT_EQ(Iconv("CP1250", "UTF-8", "ĄĆĘŁŃÓŚŹŻąćęłńóśźż – „cudzysłów” ä"), lit.str());
  EXPECT_EQ(Iconv("CP1250", "UTF-8", "Ciąg nie może być pusty"), testing_core::kCiagPusty);
  EXPECT_EQ(Iconv("CP1250", "UTF-8", "Stwierdzono błędne znaki"), testing_core::kBledneZnaki);
}

TEST(Cp1250, toUtf8MatchesIconvForEveryDefinedByte) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98) all += static_cast<char>(b);
  all += '\0';
  EXPECT_EQ(kodowanie::cp1250::ToUtf8(all), Iconv("UTF-8", "CP1250", all));
  EXPECT_EQ(kodowanie::cp1250::ToUtf8(""), "");
}

// Shown to a person, an invisible byte becomes its control picture; every
// other byte is shown as itself.
TEST(Cp1250, visibleFormOfControlBytes) {
  for (int b = 0; b < 32; ++b) {
    SCOPED_TRACE(b);
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(kodowanie::cp1250::ToUtf8(byte, true), Utf8(0x2400 + static_cast<char32_t>(b)));
    EXPECT_EQ(kodowanie::cp1250::ToUtf8(byte, false), byte);
  }
  EXPECT_EQ(kodowanie::cp1250::ToUtf8(std::string(1, '\0'), true), "\u2400");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8("\t", true), "\u2409");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8("\x1A", true), "\u241A");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8("\x7F", true), "\u2421");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8("\x7F", false), "\x7F");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8("a\r\nb", true), "a\u240D\u240Ab");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8("Zap\xB3"
                                      "ata \x96 \xA0\xE4",
                                      true),
            "Zapłata – \u00A0ä");
  EXPECT_EQ(kodowanie::cp1250::ToUtf8(" ~", true), " ~");
}
