#pragma once
// The comma-separated record of batch domestic transfers that Polish
// internet banking imports: a three-digit order type, the execution date,
// the amount in grosze, both banks' sort codes and accounts, names and the
// title in double quotes (lines of at most 35 characters joined by "|"),
// the classification. Only rules every bank's published description agrees
// on are checked: a rule that refuses a line the bank takes is worse than
// none.
#include <string_view>
#include <vector>

#include "rekord/PolaRekordu.h"

namespace rachunki {

struct TUwaga;

// Appends what is wrong with the record's fields, except its account
// numbers' check digits, which are checked wherever a number stands.
void SprawdzRekord(std::string_view linia, const std::vector<rekord::TPoleRekordu>& pola,
                   std::vector<TUwaga>& uwagi);

}  // namespace rachunki
