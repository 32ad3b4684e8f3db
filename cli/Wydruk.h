#pragma once
// What the checker prints of a file on standard output: each faulty byte
// as "PLIK:LINIA:KOLUMNA: Błędny znak: ...", each empty line, and the
// file's summary. Only the formatting; the check decides what is printed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "Wyjscie.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "rachunki/Podsumowanie.h"
#include "rachunki/Uwagi.h"

namespace cli {

// A line number in decimal, counted up in place when it is the next one:
// a file of empty lines prints millions of them.
class TNumer {
 public:
  std::string_view Dla(std::uint64_t n);

 private:
  char cyfry_[24]{};
  std::size_t dlugosc_ = 0;
  std::uint64_t wartosc_ = 0;
};

// The output line of an empty line, "PLIK:N" and the text, kept whole with
// its number counted up in place: a file of empty lines prints millions.
// The number is counted up for the next line right after a line is written,
// not right before: bytes read just after they were changed one by one
// would make the copy wait for those writes.
class TLiniaPusta {
 public:
  void Wypisz(TWyjscie& out, const std::string& plik, const std::string& tekst, std::uint64_t n);

 private:
  // False when the number needs one more digit: the line is made anew.
  bool Zwieksz();

  std::string linia_;
  std::size_t poczatek_ = 0, koniec_ = 0;
  std::uint64_t nastepny_ = 0;  // the number the line holds, 0: none
};

// The findings of one file as they are printed, `plik` as the user named it.
class TWydruk {
 public:
  TWydruk(const std::string& plik, TWyjscie& out) : plik_(plik), out_(out) {}

  void BlednyZnak(std::uint64_t linia, std::uint64_t kolumna, unsigned char b);
  void PustaLinia(std::uint64_t linia);
  void PusteLinie(std::uint64_t pierwsza, std::uint64_t ile);
  // A wrong account number or transfer field of the line `bajty`:
  // "PLIK:LINIA:KOLUMNA: pole: co jest błędne: "wartość"", and " (bank:
  // NAZWA)" when the value is an account or sort code on the list.
  void UwagaRachunku(std::uint64_t linia, const rachunki::TUwaga& u, std::string_view bajty);
  // A record's warning: "PLIK:LINIA:KOLUMNA: pole: ostrzeżenie: ... N: "wartość"".
  void Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o, std::string_view bajty);

  // The summary after the findings: the encoding the file looks to be in
  // when it is not Windows-1250 (or the two it may be in), then the
  // verdict.
  void Podsumowanie(std::uint64_t bledne, const std::optional<diagnoza::TDiagnoza>& diagnoza);
  // After it, when there are any: how many account numbers and fields are
  // wrong.
  void PodsumowanieRachunkow(std::uint64_t uwagi);
  // Then the count of warnings, when there are any.
  void PodsumowanieOstrzezen(std::uint64_t ostrzezenia);
  // --podsumowanie: the count and sums of the transfers, line by line.
  void Sumy(const rachunki::TSumy& sumy);

 private:
  const std::string& plik_;
  TWyjscie& out_;
  TNumer numer_;
  // "PLIK:LINIA:" is made once per line: a file in another encoding has a
  // faulty byte in every word.
  std::string prefiks_;
  std::uint64_t liniaPrefiksu_ = 0;
  TLiniaPusta pusta_;
  // ": pole: co jest błędne: \"" in UTF-8 for each field and fault, and
  // each bank's name, made at their first finding: a list with a wrong
  // digit in many lines tells the same words again and again.
  const std::string& TekstUwagi(const rachunki::TUwaga& u, std::string_view bajty);
  const std::string& NazwaBanku(std::string_view cp1250);
  std::unordered_map<unsigned, std::string> teksty_;
  std::unordered_map<const char*, std::string> banki_;
  std::string tekst_;
};

// Whether the diagnosis names an encoding other than Windows-1250, or two.
bool InneKodowanie(const std::optional<diagnoza::TDiagnoza>& diagnoza);

// The text for a file's messages: Windows-1250 to the UTF-8 printed.
std::string Utf8(std::string_view cp1250);

}  // namespace cli
