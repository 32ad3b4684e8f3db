#pragma once
// The one place where a bank profile becomes the character rule both
// programs check with: the byte table of the reader's loops and the
// vector scan's look-ups.
#include "linie/ZnakiDozwolone.h"
#include "profil/Profil.h"
#include "rachunki/ElixirO.h"

namespace profile {

// The rule a profile makes: the base rule at its encoding's letters, plus
// the characters it refuses, plus its line ends.
Typy::TRegulaZnakow RegulaZnakow(const TProfil& p);

// Checks from now on follow `p` (its rule, and its record limits); the
// default profile brings the rule back byte for byte.
void UzyjProfilu(const TProfil& p);
// The profile in use.
const TProfil& AktywnyProfil();

// The Polish letter a UTF-8 pair stands for, when it is one of the eighteen.
bool PolskaLiteraUtf8(unsigned char pierwszy, unsigned char drugi);

// Writes the Polish letter whose Windows-1250 byte is `cp1250` as encoding
// `k` has it (Windows-1250, ISO-8859-2, CP852 or UTF-8) into `out`; returns
// its length (1 or 2), 0 for a byte that is not one of the letters.
std::size_t ZapiszLitere(int cp1250, kodowanie::TKodowanie k, char* out);

// Whether byte i of a line is in a field's text of the Elixir-O record
// whose fields are `pola`: inside a quoted field, not the "|" between its
// lines.
bool WTekscie(std::string_view linia, const std::vector<rachunki::TPoleRekordu>& pola,
              std::size_t i);

}  // namespace profile
