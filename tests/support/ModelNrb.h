#pragma once
// Polish account numbers made and checked the long way, apart from the
// program's own arithmetic: what tests hold the check against, and where
// generated files get their valid numbers.
#include <cstdint>
#include <random>
#include <string>

namespace test_support {

// ISO 13616 done the long way: the rearranged number as text, divided by 97
// in chunks of nine digits, as a person with a calculator would.
inline bool ModelMod97(const std::string& nrb) {
  const std::string n = nrb.substr(2) + "2521" + nrb.substr(0, 2);
  std::uint64_t r = 0;
  for (std::size_t i = 0; i < n.size(); i += 9) {
    const std::string chunk = n.substr(i, 9);
    std::uint64_t p = 1;
    for (std::size_t k = 0; k < chunk.size(); ++k) p *= 10;
    r = (r * p + std::stoull(chunk)) % 97;
  }
  return r == 1;
}

inline bool ModelSortCode(const std::string& s) {
  const int w[7] = {3, 9, 7, 1, 3, 9, 7};
  int sum = 0;
  for (int i = 0; i < 7; ++i) sum += w[i] * (s[i] - '0');
  return (s[7] - '0') == (10 - sum % 10) % 10;
}

// A valid number made by the model: a sort code with its check digit (the
// given one, else random), account digits, and the two check digits that
// make the whole leave 1. `bank` may give more than the sort code (a tax
// micro-account's "10100071222"); random digits fill up the 24. Empty if
// no check digits would, which never happens.
inline std::string ModelValid(std::mt19937& rng, std::string bank = {}) {
  std::uniform_int_distribution<int> d(0, 9);
  if (bank.empty()) {
    for (int i = 0; i < 7; ++i) bank += static_cast<char>('0' + d(rng));
    for (char c = '0'; c <= '9'; ++c)
      if (ModelSortCode(bank + c)) {
        bank += c;
        break;
      }
  }
  std::string rest = bank;
  while (rest.size() < 24) rest += static_cast<char>('0' + d(rng));
  for (int cd = 0; cd < 100; ++cd) {
    const std::string n = std::to_string(cd / 10) + std::to_string(cd % 10) + rest;
    if (ModelMod97(n)) return n;
  }
  return {};
}

// One Elixir-O transfer record as a bank's export writes it, without its
// line end: both sort codes taken from the accounts.
inline std::string RekordElixirO(const std::string& rodzaj, const std::string& data,
                                 const std::string& kwota, const std::string& platnik,
                                 const std::string& odbiorca, const std::string& tytul) {
  return rodzaj + "," + data + "," + kwota + "," + platnik.substr(2, 8) + ",0,\"" + platnik +
         "\",\"" + odbiorca + "\",\"Firma Sp. z o.o.\",\"Jan Nowak\",0," + odbiorca.substr(2, 8) +
         ",\"" + tytul + "\",\"\",\"\",\"51\"";
}

}  // namespace test_support
