#pragma once
// A bank profile: the rules of the bank a list goes to, beside the character
// rule every bank shares. A profile is a small TOML file an office
// administrator can read and write (docs/PROFILE.md); the built-in ones are
// compiled in, so both programs know them wherever they are installed.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kodowanie/Kodowanie.h"

namespace profile {

enum class TKonceLinii : unsigned char { Dowolne, CRLF };

struct TProfil {
  // Shown to the user, in Windows-1250 like every text of the program.
  std::string nazwa;
  // The published document the rules come from (Windows-1250).
  std::string zrodlo;
  // The encoding the bank reads: Windows-1250, ISO-8859-2, CP852 or UTF-8.
  kodowanie::TKodowanie kodowanie = kodowanie::TKodowanie::Windows1250;
  // Printable ASCII characters the bank refuses inside a field's text of an
  // Elixir-O record (anywhere in a line that is not one), in ascending order.
  std::string zabronione;
  TKonceLinii konceLinii = TKonceLinii::Dowolne;
  // The parts of a name or title in an Elixir-O record and their length.
  std::uint32_t czesci = 4;
  std::uint32_t dlugoscCzesci = 35;

  bool operator==(const TProfil&) const = default;
};

// A profile file that cannot be used: its path, the line (0 when the fault
// is not at one line) and the key, and what is wrong, in Windows-1250.
class EProfil : public std::runtime_error {
 public:
  EProfil(std::string plik, std::uint32_t linia, std::string klucz, const std::string& opis);
  const std::string& Plik() const { return plik_; }
  std::uint32_t Linia() const { return linia_; }
  const std::string& Klucz() const { return klucz_; }

 private:
  std::string plik_;
  std::uint32_t linia_;
  std::string klucz_;
};

// The default profile: the character rule as it always was, no more.
const TProfil& Domyslny();
bool CzyDomyslny(const TProfil& p);

// Reads a profile from the text of a file (UTF-8, as TOML is) named `plik`
// in the messages. Keys it does not set keep the default's values; an
// unknown key, a wrong value or bad TOML raise EProfil.
TProfil CzytajProfil(std::string_view tekst, const std::string& plik);
// The same from a file; a file that cannot be read raises EProfil too.
TProfil WczytajProfil(const std::string& sciezka);

// The built-in profiles, the default first.
const std::vector<TProfil>& Wbudowane();
// Each built-in profile's file, as installed for administrators to copy:
// its file name and text.
struct TPlikProfilu {
  std::string_view nazwaPliku;
  std::string_view tekst;
};
const std::vector<TPlikProfilu>& PlikiWbudowane();

// A built-in profile by its name (in Windows-1250, letter case as written),
// else the profile file at that path.
TProfil ZnajdzProfil(const std::string& nazwaLubPlik);

}  // namespace profile
