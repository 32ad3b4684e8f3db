#pragma once
// The one place where a bank profile becomes the character rule both
// programs check with: the byte table of the reader's loops and the
// vector scan's look-ups.
#include "kodowanie/ZnakiDozwolone.h"
#include "profile/Profil.h"

namespace profile {

// The rule a profile makes: the base rule at its encoding's letters, plus
// the characters it refuses, plus its line ends.
kodowanie::TRegulaZnakow RegulaZnakow(const TProfil& p);

// Checks from now on follow `p` (its rule, and its record limits); the
// default profile brings the rule back byte for byte.
void UzyjProfilu(const TProfil& p);
// The profile in use.
const TProfil& AktywnyProfil();

}  // namespace profile
