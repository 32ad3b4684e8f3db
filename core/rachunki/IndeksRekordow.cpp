#include "rachunki/IndeksRekordow.h"

#include <algorithm>

namespace rachunki {

namespace {

// Half a byte of filter a slot: about one new key in fifteen is taken for
// one that may have come before (one in a hundred with a byte a slot), and
// the filter of a half of a large list, 0.4 MB for half a million records,
// stays in the processor's own cache. The payroll of bench/run was checked
// 6 % faster so (medians of 15, in two halves; one thread too).
std::size_t SlowFiltra(std::size_t slotow) {
  return std::max<std::size_t>(64, slotow / 16);
}

// Keys held back whose slots are fetched ahead of the one being written:
// as many as the processor fetches from memory at once.
constexpr std::size_t kNaprzod = 16;

}  // namespace

TIndeksRekordow::TIndeksRekordow() : indeks_(1024), filtr_(SlowFiltra(1024)) {}

std::uint64_t TIndeksRekordow::Wczesniejszy(std::uint64_t klucz, std::uint64_t nr) {
  std::uint64_t& slowo = filtr_[Slowo(klucz)];
  const std::uint64_t bity = Bity(klucz);
  if ((slowo & bity) == bity)
    if (const std::uint64_t linia = Linia(klucz)) return linia;
  // New: held back, and written with the others.
  slowo |= bity;
  czekajace_[czekajacych_++] = {klucz, nr};
  if (czekajacych_ == kCzekajacych) Wpisz();
  return 0;
}

std::uint64_t TIndeksRekordow::Linia(std::uint64_t klucz) const {
  for (std::size_t i = Dom(klucz); indeks_[i].klucz != 0; i = Dalej(i))
    if (indeks_[i].klucz == klucz) return indeks_[i].linia;
  for (std::size_t k = 0; k < czekajacych_; ++k)
    if (czekajace_[k].klucz == klucz) return czekajace_[k].linia;
  return 0;
}

void TIndeksRekordow::Wstaw(const TSlot& s) {
  std::size_t i = Dom(s.klucz);
  while (indeks_[i].klucz != 0) i = Dalej(i);
  indeks_[i] = s;
  ++zajete_;
}

void TIndeksRekordow::Wpisz() {
  const std::size_t n = czekajacych_;
  // Grown with the keys held back still held, so that a new filter has them.
  while ((zajete_ + n) * 4 > indeks_.size() * 3) Przebuduj(indeks_.size() * 2);
  for (std::size_t k = 0; k < std::min(n, kNaprzod); ++k)
    __builtin_prefetch(&indeks_[Dom(czekajace_[k].klucz)], 1);
  for (std::size_t k = 0; k < n; ++k) {
    if (k + kNaprzod < n) __builtin_prefetch(&indeks_[Dom(czekajace_[k + kNaprzod].klucz)], 1);
    Wstaw(czekajace_[k]);
  }
  czekajacych_ = 0;
}

void TIndeksRekordow::Przebuduj(std::size_t slotow) {
  TTablica<TSlot> stary(slotow);
  stary.swap(indeks_);
  zajete_ = 0;
  for (const TSlot& s : stary)
    if (s.klucz != 0) Wstaw(s);
  if (SlowFiltra(slotow) <= filtr_.size()) return;
  TTablica<std::uint64_t> filtr(SlowFiltra(slotow));
  filtr_.swap(filtr);
  for (const TSlot& s : indeks_)
    if (s.klucz != 0) filtr_[Slowo(s.klucz)] |= Bity(s.klucz);
  for (std::size_t k = 0; k < czekajacych_; ++k)
    filtr_[Slowo(czekajace_[k].klucz)] |= Bity(czekajace_[k].klucz);
}

void TIndeksRekordow::Oczekuj(std::uint64_t kluczy) {
  // Three quarters full at most, as when it grows, and an eighth to spare
  // for a guess a little short.
  const std::uint64_t potrzeba = (kluczy + kluczy / 8) * 4 / 3 + 1;
  // Exactly as many slots, not the next power of two: the system must
  // clear every byte the index takes, which costs as much as many records'
  // checks.
  const std::uint64_t slotow = std::min<std::uint64_t>(potrzeba, kNajwiecejNaZapas);
  if (slotow > indeks_.size()) Przebuduj(static_cast<std::size_t>(slotow));
}

bool TIndeksRekordow::Wspolny(const TIndeksRekordow& inny) const {
  // The filter, in the cache, answers for nearly every key.
  auto tu = [&](std::uint64_t klucz) { return MozeJest(klucz) && Linia(klucz) != 0; };
  for (const TSlot& s : inny.indeks_)
    if (s.klucz != 0 && tu(s.klucz)) return true;
  for (std::size_t k = 0; k < inny.czekajacych_; ++k)
    if (tu(inny.czekajace_[k].klucz)) return true;
  return false;
}

}  // namespace rachunki
