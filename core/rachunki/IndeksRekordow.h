#pragma once
// Which records a list has held so far, by a 64-bit key of each, and on
// which line each key came first: how a transfer written twice is found.
//
// A long list's index is far out of the processor's cache, and a look-up
// there waits for memory. Nearly every record is new, so a filter of bits
// a thirty-second of the index's size, most often in the cache, tells
// first whether a key may have come before. A key it has surely not seen
// is held back with a few others and written into the index with them,
// their places fetched from memory side by side; only a key the filter
// may have seen (a repeat, or about one in fifteen by chance) is looked
// up in the index at once.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/PlatformMemory.h"

namespace rachunki {

class TIndeksRekordow {
 public:
  // 16 bytes a slot and half a byte of filter, sized for a guess two
  // thirds full with an eighth to spare (Oczekuj), grown by doubling when
  // three quarters full: between 22 and 44 bytes a record.
  static constexpr std::size_t kBajtowNaRekord = 44;
  // Never sized for more slots at once on a guess, which may be far too
  // big when made early.
  static constexpr std::size_t kNajwiecejNaZapas = std::size_t{4} << 20;

  TIndeksRekordow();

  // The key looked up next: its place in the filter is fetched now, while
  // the record's fields are checked. Optional.
  void Zapowiedz(std::uint64_t klucz) const { __builtin_prefetch(&filtr_[Slowo(klucz)], 1); }
  // The line first seen with `klucz`, or 0 when it is new (then recorded
  // as line `nr`). A key is never 0.
  std::uint64_t Wczesniejszy(std::uint64_t klucz, std::uint64_t nr);
  // Keys recorded so far.
  std::uint64_t Kluczy() const { return zajete_ + czekajacych_; }
  // About this many keys are coming in all: the index is made big enough
  // for them now, once, rather than doubled up to it, each doubling taking
  // memory the system must clear.
  void Oczekuj(std::uint64_t kluczy);
  // Whether a key `inny` holds is held here too.
  bool Wspolny(const TIndeksRekordow& inny) const;

 private:
  struct TSlot {
    std::uint64_t klucz = 0;  // 0: a free slot
    std::uint64_t linia = 0;
  };
  // Zeroed slots or filter words, in the memory the system keeps for a
  // large table read at random (platform/PlatformMemory.h).
  template <class T>
  class TTablica {
   public:
    explicit TTablica(std::size_t ile) : blok_(ile * sizeof(T)), ile_(ile) {}
    void swap(TTablica& o) noexcept {
      blok_.swap(o.blok_);
      std::swap(ile_, o.ile_);
    }
    std::size_t size() const { return ile_; }
    T& operator[](std::size_t i) { return Dane()[i]; }
    const T& operator[](std::size_t i) const { return Dane()[i]; }
    const T* begin() const { return Dane(); }
    const T* end() const { return Dane() + ile_; }

   private:
    T* Dane() const { return static_cast<T*>(blok_.data()); }
    platform::ZeroedBlock blok_;
    std::size_t ile_ = 0;
  };

  // A key's first slot: its place among the slots as a fraction of 2^64,
  // so that the index may have any number of them; and the slot after one.
  __extension__ typedef unsigned __int128 T128;
  std::size_t Dom(std::uint64_t klucz) const {
    return static_cast<std::size_t>((T128{klucz} * indeks_.size()) >> 64);
  }
  std::size_t Dalej(std::size_t i) const { return ++i == indeks_.size() ? 0 : i; }
  // The filter's word for a key, from its low half (the slot comes from
  // its high bits), and the four bits it sets there, from its high half.
  std::size_t Slowo(std::uint64_t klucz) const {
    return static_cast<std::size_t>(((klucz & 0xFFFFFFFFu) * filtr_.size()) >> 32);
  }
  static std::uint64_t Bity(std::uint64_t klucz) {
    return std::uint64_t{1} << (klucz >> 32 & 63) | std::uint64_t{1} << (klucz >> 38 & 63) |
           std::uint64_t{1} << (klucz >> 44 & 63) | std::uint64_t{1} << (klucz >> 50 & 63);
  }
  bool MozeJest(std::uint64_t klucz) const {
    const std::uint64_t b = Bity(klucz);
    return (filtr_[Slowo(klucz)] & b) == b;
  }
  // The line recorded for a key, 0 when none, in the index and the keys
  // held back.
  std::uint64_t Linia(std::uint64_t klucz) const;
  // The keys held back, written into the index.
  void Wpisz();
  // The index in `slotow` slots, its keys kept; the filter grown with it.
  void Przebuduj(std::size_t slotow);
  void Wstaw(const TSlot& s);

  static constexpr std::size_t kCzekajacych = 64;
  TTablica<TSlot> indeks_;
  TTablica<std::uint64_t> filtr_;
  std::size_t zajete_ = 0;
  TSlot czekajace_[kCzekajacych];
  std::size_t czekajacych_ = 0;
};

}  // namespace rachunki
