#pragma once
// The titles whose layout a bank reads by machine: a split payment's
// (classification 53: /VAT/amount/IDC/tax number/INV/invoice/TXT/text) and a
// tax payment's to a tax micro-account (/TI/identifier/OKR/period/SFP/form/
// TXT/text). The title's lines, parted by "|", are joined first, as the
// banks join them. docs/RACHUNKI.md names the descriptions each rule is
// taken from.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "rekord/PolaRekordu.h"

namespace rachunki {

struct TUwaga;

// `kwota`: the transfer's amount in grosze, empty when it is not digits.
void SprawdzTytulPodzielonej(std::string_view linia, const rekord::TPoleRekordu& tytul,
                             std::string_view kwota, std::vector<TUwaga>& uwagi);

// Whether 26 digits are a tax micro-account: the central bank's sort code
// 10100071 and 222 after it.
inline constexpr std::uint32_t kKodMikrorachunkow = 10100071;
bool Mikrorachunek(std::string_view cyfry26);
// `cyfry`: the micro-account's 26 digits when they are right (then it is
// held against the identifier), else empty.
void SprawdzTytulPodatkowy(std::string_view linia, const rekord::TPoleRekordu& tytul,
                           const rekord::TPoleRekordu& rachunek, std::string_view cyfry,
                           std::vector<TUwaga>& uwagi);

// The check digits of a NIP (10 digits) and of a PESEL (11).
bool NipPoprawny(std::string_view s);
bool PeselPoprawny(std::string_view s);

}  // namespace rachunki
