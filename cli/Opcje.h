#pragma once
// The checker's command line.
#include <optional>
#include <string>
#include <vector>

#include "kodowanie/Kodowanie.h"

namespace cli {

struct TOpcje {
  std::optional<std::string> raport;
  bool popraw = false;
  bool cicho = false;
  // --tylko-znaki: the characters alone, without the account numbers and
  // transfer fields.
  bool tylkoZnaki = false;
  // --podsumowanie: the transfers' count and sums after each file's summary.
  bool podsumowanie = false;
  // --convert: each faulty file corrected automatically from its encoding
  // (--from, else the diagnosed one, else Windows-1250), then checked.
  bool przekoduj = false;
  std::optional<kodowanie::TKodowanie> z;
  // --profil: a built-in bank profile's name or a profile file's path.
  std::optional<std::string> profil;
  // --wykaz-bankow: a newer list of banks' sort codes than the built-in.
  std::optional<std::string> wykazBankow;
  std::vector<std::string> pliki;
};

// The options, or the exit status when the program is done already: after
// --help or --version (0), or after a usage error written to standard
// error (2).
struct TArgumenty {
  TOpcje opcje;
  std::optional<int> koniec;
};

// Puts in use the bank profile --profil names. A profile that cannot be
// used is told on standard error and gives the exit status (2): nothing is
// checked or written then.
std::optional<int> UstawProfil(const TOpcje& opcje);

TArgumenty CzytajArgumenty(int argc, char** argv);

}  // namespace cli
