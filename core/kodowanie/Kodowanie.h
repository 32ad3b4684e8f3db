#pragma once
// The encodings a transfer file arrives in, their names as the user reads
// them, and the decoding of each to Unicode. The bank takes Windows-1250;
// the others are what other programs write: UTF-8 (most current software),
// UTF-16 (the "Unicode text" of spreadsheets), ISO-8859-2 and CP852 (old
// systems and DOS programs).
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace kodowanie {

enum class TKodowanie {
  Windows1250,
  Utf8,
  Utf16LE,
  Utf16BE,
  Iso8859_2,
  Cp852,
  // Lines of a single-byte encoding and lines of UTF-8 in one file (two
  // files joined): each line is decoded from the encoding it is in.
  Windows1250Utf8,
  Iso8859_2Utf8,
  Cp852Utf8,
};

// "Windows-1250", "UTF-8", "UTF-16LE", "UTF-16BE", "ISO-8859-2", "CP852",
// "Windows-1250/UTF-8", "ISO-8859-2/UTF-8", "CP852/UTF-8".
std::string_view Nazwa(TKodowanie k);
// The encoding a name stands for, letter case ignored; also takes the usual
// spellings "cp1250", "utf8", "latin2", "ibm852" and the like.
std::optional<TKodowanie> ZNazwy(std::string_view nazwa);

// Whether the encoding mixes lines of a single-byte encoding with UTF-8 ones.
bool Mieszane(TKodowanie k);
// The single-byte encoding of a mixed file's other lines (the encoding
// itself for one that is not mixed), and the mix of a single-byte one with UTF-8.
TKodowanie Jednobajtowe(TKodowanie k);
TKodowanie ZUtf8(TKodowanie jednobajtowe);

// The Unicode character of every byte of a single-byte encoding (Windows-1250,
// ISO-8859-2 or CP852); bytes 00-7F are ASCII in all three.
const std::array<char16_t, 256>& Tablica(TKodowanie k);

// One UTF-8 sequence at the start of [p, end): its length and code point,
// or length 0 when the bytes there are not a well-formed sequence (overlong
// forms, surrogates and code points past U+10FFFF are not).
struct TSekwencja {
  std::size_t dlugosc;
  char32_t znak;
};
TSekwencja DekodujUtf8(const unsigned char* p, const unsigned char* end);

// The Windows-1250 byte of the eighteen Polish letters, or -1.
int BajtPolskiejLitery(char32_t znak);

// The eighteen letters' bytes (in the order of Typy::ZnakiDozwolone) in a
// single-byte encoding; none (empty) for UTF-8.
std::span<const unsigned char> Litery(TKodowanie k);

// The Polish letter a UTF-8 pair stands for, when it is one of the eighteen.
bool PolskaLiteraUtf8(unsigned char pierwszy, unsigned char drugi);

// Writes the Polish letter whose Windows-1250 byte is `cp1250` as encoding
// `k` has it (Windows-1250, ISO-8859-2, CP852 or UTF-8) into `out`; returns
// its length (1 or 2), 0 for a byte that is not one of the letters.
std::size_t ZapiszLitere(int cp1250, TKodowanie k, char* out);

}  // namespace kodowanie
