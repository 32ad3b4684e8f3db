#pragma once
// The checker's buffered writer to standard output or standard error: the
// output of a big file runs to millions of lines, so they are gathered in a
// block and written to the descriptor in few calls.
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "Konsola.h"

namespace cli {

class TWyjscie {
 public:
  explicit TWyjscie(int fd) : fd_(fd), bufor_(std::make_unique_for_overwrite<char[]>(kRozmiar)) {}
  ~TWyjscie() { Oproznij(); }
  TWyjscie(const TWyjscie&) = delete;
  TWyjscie& operator=(const TWyjscie&) = delete;

  TWyjscie& operator<<(std::string_view s) {
    if (s.size() > kRozmiar - uzyte_) {
      Oproznij();
      if (s.size() >= kRozmiar) {
        Pisz(s.data(), s.size());
        return *this;
      }
    }
    Kopiuj(bufor_.get() + uzyte_, s.data(), s.size());
    uzyte_ += s.size();
    return *this;
  }
  TWyjscie& operator<<(char c) { return *this << std::string_view(&c, 1); }
  TWyjscie& operator<<(unsigned long long n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    return *this << std::string_view(buf, static_cast<std::size_t>(r.ptr - buf));
  }

  void Oproznij() {
    Pisz(bufor_.get(), uzyte_);
    uzyte_ = 0;
  }
  // The first error of a write, 0 when every write went through.
  int Blad() const { return blad_; }

 private:
  static constexpr std::size_t kRozmiar = std::size_t{1} << 17;

  // Most pieces are a few dozen bytes (a line number, a finding): copied in
  // place, sixteen bytes at a time with the last sixteen overlapping, they
  // cost no call; a file of empty lines prints millions of them.
  static void Kopiuj(char* d, const char* s, std::size_t n) {
    if (n < 16 || n > 128) {
      std::memcpy(d, s, n);
      return;
    }
    for (std::size_t i = 0; i + 16 < n; i += 16) std::memcpy(d + i, s + i, 16);
    std::memcpy(d + n - 16, s + n - 16, 16);
  }

  void Pisz(const char* p, std::size_t n) {
    if (blad_ == 0) blad_ = konsola::Pisz(fd_, p, n);
  }

  int fd_;
  int blad_ = 0;
  std::unique_ptr<char[]> bufor_;
  std::size_t uzyte_ = 0;
};

}  // namespace cli
