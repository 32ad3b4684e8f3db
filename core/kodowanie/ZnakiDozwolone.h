#pragma once
// The character rule: which bytes an internet-banking import takes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kodowanie {

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

// The rule a bank profile makes of the base rule (docs/PROFILE.md): the
// letters sit where the profile's encoding puts them, and the characters
// the bank refuses are faulty too, inside a field's text. Where a byte alone
// cannot tell (a UTF-8 letter is two bytes; a refused character in an
// Elixir-O record counts only inside a field), the byte is a candidate the
// loops stop at, and its line decides (`zalezny`, BledneWLinii).
struct TRegulaZnakow {
  std::array<std::uint8_t, 256> klasa{};  // ByteClass of every byte
  std::array<bool, 256> bledny{};         // faulty, or a candidate its line decides
  std::array<bool, 256> zabroniony{};     // printable, refused by the profile
  bool utf8 = false;                      // letters as two-byte UTF-8 sequences
  bool crlf = false;                      // every line must end with CR LF
  bool zalezny = false;                   // some faulty bytes depend on their line
};

// `litery`: the eighteen letters' bytes in a single-byte encoding, or none
// (empty) for UTF-8; `zabronione`: printable ASCII characters the bank
// refuses. A span rather than a pointer that may be null: a compiler that
// checks pointers at run time cannot fold a null test into a constant.
constexpr TRegulaZnakow ZbudujRegule(std::span<const unsigned char> litery,
                                     std::string_view zabronione, bool crlf) {
  TRegulaZnakow r;
  r.utf8 = litery.empty();
  r.crlf = crlf;
  for (int b = 0; b < 256; ++b) {
    bool ok = (b >= 32 && b <= 126) || b == 0x0A || b == 0x0D;
    for (const unsigned char l : litery) ok = ok || l == b;
    r.bledny[b] = !ok;
  }
  for (const char c : zabronione) {
    r.zabroniony[static_cast<unsigned char>(c)] = true;
    r.bledny[static_cast<unsigned char>(c)] = true;
  }
  for (int b = 0; b < 256; ++b) r.klasa[b] = r.bledny[b] ? kFaulty : kAllowed;
  r.klasa[0x0A] = kLineFeed;
  r.klasa[0x0D] = kCarriageReturn;
  r.klasa[0x1A] = kEndOfText;
  r.zalezny = r.utf8 || !zabronione.empty();
  return r;
}

// The default: the rule as it always was, byte for byte.
inline constexpr TRegulaZnakow kRegulaDomyslna =
    ZbudujRegule(std::span(ZnakiDozwolone).first<18>(), "", false);
static_assert(kRegulaDomyslna.klasa == kByteClass && kRegulaDomyslna.bledny == kZnakBledny &&
                  !kRegulaDomyslna.zalezny,
              "the default profile must be the character rule itself");

namespace detail {
extern const TRegulaZnakow* regula;
}
// The rule in use: the default until a profile is chosen
// (profile::UzyjProfilu). One process checks with one rule at a time.
inline const TRegulaZnakow& Regula() {
  return *detail::regula;
}

}  // namespace kodowanie
