#pragma once
// What the check of a file's second part finds while its first part is
// still being checked on another thread: kept in file order in a log of
// bounded size, and told to the real sink once the first part is done,
// every line number moved on by the first part's lines, so that the sink
// hears what it would have heard from the file checked in one go.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "linie/SprawdzanieStrumienia.h"
#include "rachunki/Podsumowanie.h"
#include "rachunki/Uwagi.h"

namespace sprawdzanie {

class TZnaleziska;

class TZapisZnalezisk final : public linie::StreamFindings {
 public:
  // The log of a part of `bajtow` bytes holds an eighth of them, at least
  // kNajmniej and at most kNajwiecej; a part that finds more gives up, and
  // is checked again after the first.
  static constexpr std::size_t kNajmniej = std::size_t{1} << 20;
  static constexpr std::size_t kNajwiecej = std::size_t{16} << 20;
  explicit TZapisZnalezisk(std::uint64_t bajtow)
      : najwiecej_(static_cast<std::size_t>(
            std::min<std::uint64_t>(kNajwiecej, std::max<std::uint64_t>(kNajmniej, bajtow / 8)))) {
    // Reserved whole, so that the log is never copied as it grows; pages
    // it does not fill are never touched and take no memory.
    log_.reserve(najwiecej_);
  }

  void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) override;
  void FaultyText(std::uint64_t line, std::string_view part) override;
  void EmptyLine(std::uint64_t line) override;
  void EmptyLines(std::uint64_t first, std::uint64_t count) override;
  void FaultyLine(std::uint64_t line, std::string_view bytes) override;
  // Never asked for: a check that makes a corrected copy is not split.
  void Corrected(const char*, std::size_t) override {}
  void Uwaga(std::uint64_t linia, const rachunki::TUwaga& u, std::string_view bajty);
  void Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o, std::string_view bajty);

  // More was found than the log holds: what it holds is not all.
  bool Pelny() const { return pelny_; }
  // Tells `z` everything in the log, in order, each line (and each
  // warning's other line) moved on by `linii`. A warning of another payer's
  // account names `liniaZleceniodawcy` instead, when that is not 0: the
  // first part's first payer, the same account the second part's first
  // record paid from.
  void Odtworz(TZnaleziska& z, std::uint64_t linii, std::uint64_t liniaZleceniodawcy) const;

 private:
  enum class Rodzaj : unsigned char {
    FaultyByte,
    FaultyText,
    EmptyLine,
    EmptyLines,
    FaultyLine,
    Uwaga,
    Ostrzezenie,
  };
  // A fixed-size value, or a byte count and the bytes.
  template <class T>
  void Dopisz(const T& v);
  void DopiszBajty(std::string_view b);
  template <class... T>
  void Wpis(Rodzaj r, const std::string_view* bajty, const T&... wartosci);
  bool Zacznij(Rodzaj r, std::size_t bajtow);

  const std::size_t najwiecej_;
  std::string log_;
  bool pelny_ = false;
};

}  // namespace sprawdzanie
