#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

#include "rachunki/IndeksRekordow.h"

namespace {

using rachunki::TIndeksRekordow;

// Keys come back at every distance: at once, among the keys still held
// back, just past them, and after the index has grown or been sized by a
// guess; each answer is the line a plain map of first lines gives. Two
// indexes share a key whether it lies in the index or is still held back.
TEST(IndeksRekordow, NamesTheFirstLineOfEveryKeyAsAMapDoes) {
  for (const std::uint64_t zgadniete : {std::uint64_t{0}, std::uint64_t{5000}, std::uint64_t{40}}) {
    SCOPED_TRACE(zgadniete);
    std::mt19937_64 rng(zgadniete + 1);
    TIndeksRekordow indeks;
    std::unordered_map<std::uint64_t, std::uint64_t> pierwsze;
    std::vector<std::uint64_t> klucze;
    for (std::uint64_t nr = 1; nr <= 20000; ++nr) {
      if (nr == 100 && zgadniete) indeks.Oczekuj(zgadniete);
      std::uint64_t k = rng() | 1;
      const std::uint64_t wstecz = rng() % 8 == 0 ? 1 + rng() % 130 : 0;
      if (wstecz && wstecz <= klucze.size()) k = klucze[klucze.size() - wstecz];
      klucze.push_back(k);
      const auto [it, nowy] = pierwsze.emplace(k, nr);
      ASSERT_EQ(indeks.Wczesniejszy(k, nr), nowy ? 0 : it->second) << nr;
    }
    EXPECT_EQ(indeks.Kluczy(), pierwsze.size());

    for (const std::uint64_t wspolny : {klucze.front(), klucze.back(), std::uint64_t{0}}) {
      TIndeksRekordow inny;
      for (std::uint64_t nr = 1; nr <= 300; ++nr) inny.Wczesniejszy(rng() | 1, nr);
      if (wspolny) inny.Wczesniejszy(wspolny, 301);
      EXPECT_EQ(indeks.Wspolny(inny), wspolny != 0);
      EXPECT_EQ(inny.Wspolny(indeks), wspolny != 0);
    }
  }
}

}  // namespace
