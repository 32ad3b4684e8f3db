#pragma once
// How plausible a line is as Polish text under each candidate encoding.
//
// The candidates differ exactly in where they put the Polish letters, so a
// line is decoded under each and its characters outside ASCII are scored:
// a Polish letter inside a word counts for the candidate, a character that
// Polish text does not hold (a C1 control, a box-drawing piece, a letter of
// another script, an invalid UTF-8 sequence) counts against it. Typographic
// characters and U+FFFD are neutral; other Latin letters with diacritics
// weigh slightly against, as they are both foreign names and the debris of
// a misread UTF-8 text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace diagnoza {

// The byte-oriented candidates, in this order in the arrays below.
enum TKandydat : std::size_t { kWin1250, kIso8859_2, kCp852, kUtf8, kKandydatow };

// Scores are in quarters of a point: a Polish letter in a word is 8.
inline constexpr int kPunktyPolskiejLitery = 8;

struct TOcena {
  std::int64_t punkty = 0;
  std::uint64_t znaki = 0;             // characters outside ASCII
  std::uint64_t nieprawdopodobne = 0;  // of them: not plausible in Polish text
  std::uint64_t polskie = 0;           // of them: Polish letters inside words
  // Of them: letters with a diacritic, and no-break spaces inside a word.
  std::uint64_t litery = 0;

  TOcena& operator+=(const TOcena& o) {
    punkty += o.punkty;
    znaki += o.znaki;
    nieprawdopodobne += o.nieprawdopodobne;
    polskie += o.polskie;
    litery += o.litery;
    return *this;
  }
};

// The bytes that ISO-8859-2 or CP852 reads as another character than
// Windows-1250 does, scored under each of the two: what tells them apart.
struct TRozne {
  TOcena windows;
  TOcena inne;
  // Of them: letters the other reads plausibly and Windows-1250 does not
  // ("wymagajĄ", CP852 "wymagają"), and those of them in a word that reads
  // as Polish, on a line with another such word.
  std::uint64_t dowody = 0;
  std::uint64_t mocne = 0;
  TRozne& operator+=(const TRozne& o) {
    windows += o.windows;
    inne += o.inne;
    dowody += o.dowody;
    mocne += o.mocne;
    return *this;
  }
};

struct TOcenaLinii {
  std::array<TOcena, kKandydatow> kandydaci;
  std::array<TRozne, kKandydatow> rozne;  // for ISO-8859-2 and CP852
  std::uint64_t bajty = 0;
  std::uint64_t zera = 0;    // NUL bytes
  bool bomUtf8 = false;      // the line begins with EF BB BF
  bool utf8Poprawny = true;  // every byte is part of a well-formed sequence
  bool utf8Wielobajtowy = false;
  // Well-formed sequences that decode to a Latin letter (Polish ones among
  // them): single-byte Polish text forms them only by chance.
  std::uint64_t utf8Litery = 0;
  // The same scores for the line's words (runs of letters and bytes above
  // 7F) that some candidate reads plausibly, and how many words no
  // candidate does: letters in no word's order weigh little against a file.
  std::array<TOcena, kKandydatow> czytelne;
  std::array<TRozne, kKandydatow> rozneCzytelne;
  std::uint64_t dziwneWyrazy = 0;
};

// A well-formed line (or file) with this many sequences decoding to Latin
// letters is UTF-8, whatever its letters' neighbours.
inline constexpr std::uint64_t kLiterUtf8 = 2;

// Scores one line (without its line end) under the byte-oriented candidates.
TOcenaLinii OcenLinie(std::string_view linia);

// Scores one line as UTF-16 of the given byte order, from the byte at
// `przesuniecie` (0 or 1) on. Printable ASCII decoded from a unit whose
// other byte is zero counts a quarter point: the pattern of UTF-16 itself.
TOcena OcenUtf16(std::string_view linia, bool littleEndian, std::size_t przesuniecie);

// Whether a line of a file that mixes single-byte and UTF-8 lines is a
// UTF-8 one: well-formed, with at least one character outside ASCII, and
// either two Latin letters among them or more plausible so than under any
// single-byte candidate.
bool LiniaWUtf8(const TOcenaLinii& ocena);
bool LiniaWUtf8(std::string_view linia);
// The single-byte candidate that reads the line best (Windows-1250 on a tie).
const TOcena& NajlepszaJednobajtowa(const TOcenaLinii& ocena);

}  // namespace diagnoza
