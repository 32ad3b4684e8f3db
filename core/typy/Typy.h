#pragma once
// The state of one verification: the lines as read, their corrected copies,
// the faulty lines and the user's selection. The program has one instance
// (Stan()); tests build their own.
//
// Memory is the design constraint: a file may be a gigabyte. The lines are
// kept as one block of bytes with an end offset per line; a faulty line is
// recorded by its index alone, since its faulty bytes and positions follow
// from the line, which never changes; and the corrected copy of a line
// exists only as the marks and replacements that make it differ.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scan/LineScanner.h"
#include "typy/BledneWLinii.h"
#include "typy/ByteBuffer.h"
#include "typy/ChunkedVector.h"

namespace Typy {

// The table of the bytes allowed outside 32..126 and its test, which the
// character correction applies again: the ground's rule, named here where
// the state's routines are.
inline constexpr const unsigned char (&ZnakiDozwolone)[20] = kodowanie::ZnakiDozwolone;
constexpr bool CzyZnakDozwolony(unsigned char b) {
  return kodowanie::CzyZnakDozwolony(b);
}

struct TRecError {
  std::int32_t LineIndex = 0;
  std::string BadChars;      // the faulty bytes, joined by ","
  std::string BadPositions;  // their 1-based positions, joined by ","
  std::string ErrorText;
  bool operator==(const TRecError&) const = default;
};

// Calls f(position1, byte) for every faulty byte of a line, in order, under
// the rule in use.
template <class F>
void ForEachFaultyByte(std::string_view line, F&& f) {
  if (kodowanie::Regula().zalezny) {
    for (const std::size_t pos : BledneWLinii(line))
      f(pos, static_cast<unsigned char>(line[pos - 1]));
    return;
  }
  const auto* const begin = reinterpret_cast<const unsigned char*>(line.data());
  const auto* const end = begin + line.size();
  for (const unsigned char* p = scan::ToFaultyByte(begin, end); p < end;
       p = scan::ToFaultyByte(p + 1, end))
    f(static_cast<std::size_t>(p - begin) + 1, *p);
}

// The error record of a line as the validator describes it.
TRecError ZbudujRekord(std::int32_t lineIndex, std::string_view line);

// The lines of the file as read. Entries never change once appended.
class TLinieOrg {
 public:
  TLinieOrg() = default;
  TLinieOrg(const TLinieOrg&) = delete;
  TLinieOrg& operator=(const TLinieOrg&) = delete;

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // Valid until the next append or clear.
  std::string_view operator[](std::size_t i) const {
    const std::uint64_t b = i ? End(i - 1) : 0;
    return {bytes_.data() + b, static_cast<std::size_t>(End(i) - b)};
  }

  void push_back(std::string_view line) {
    AppendToOpenLine(line.data(), line.size());
    CloseLine();
  }
  void clear();

  // The reader builds a line piece by piece, then closes it; a line left
  // open when reading fails is dropped.
  void ReserveBytes(std::size_t n) { bytes_.reserve(n); }
  void AppendToOpenLine(const char* p, std::size_t n) { bytes_.append(p, n); }
  void CloseLine();
  void DropOpenLine() { bytes_.resize_down(empty() ? 0 : End(size() - 1)); }
  // The last line becomes the open line again, for a line whose validation
  // failed (out of memory): a line is kept only together with its record.
  void ReopenLastLine();

 private:
  std::uint64_t End(std::size_t i) const;

  ByteBuffer bytes_;
  // Low 32 bits of each line's end; the high part is the number of 4 GiB
  // boundaries crossed, found in the short list of where each was crossed.
  ChunkedVector<std::uint32_t> ends_;
  std::vector<std::size_t> wraps_;
};

// The corrected copy of every line: the line as read, with "?" at each
// faulty byte of a validated faulty line, or the byte the user put there.
class TLinieNew {
 public:
  explicit TLinieNew(const TLinieOrg& org) : org_(org) {}
  TLinieNew(const TLinieNew&) = delete;
  TLinieNew& operator=(const TLinieNew&) = delete;

  std::size_t size() const { return org_.size(); }
  bool empty() const { return org_.empty(); }
  std::size_t Dlugosc(std::size_t i) const { return org_[i].size(); }
  std::string operator[](std::size_t i) const;
  // Byte at a 1-based position of line i.
  char Znak(std::size_t i, std::size_t pos) const;
  // Puts a byte at a 1-based position of line i. Only a faulty byte of the
  // line as read may be replaced; anything else is a caller's fault.
  void UstawZnak(std::size_t i, std::size_t pos, char c);
  // Marks every faulty byte of line i with "?". Lines are marked in order.
  void OznaczBledneZnaki(std::int32_t i);
  // Takes back the mark of line i if it is the last one marked.
  void CofnijOznaczenie(std::int32_t i) {
    if (!marked_.empty() && marked_.back() == i) marked_.pop_back();
  }
  void clear();

  // Hands line i to out(const char*, size_t) in pieces, without copying the
  // runs that equal the line as read.
  template <class Out>
  void Wypisz(std::size_t i, Out&& out) const;
  // Every line in order, each followed by `koniecLinii`.
  template <class Out>
  void WypiszWszystkie(Out&& out, std::string_view koniecLinii) const;

 private:
  using Replacements = std::map<std::pair<std::int32_t, std::size_t>, char>;

  template <class Out>
  void WypiszLinie(std::size_t i, bool marked, Replacements::const_iterator next, Out& out) const;

  bool Oznaczona(std::size_t i) const {
    return !marked_.empty() && marked_.contains_sorted(static_cast<std::int32_t>(i));
  }

  const TLinieOrg& org_;
  ChunkedVector<std::int32_t> marked_;
  Replacements replaced_;  // (line, 1-based pos) -> the byte put there
};

// The errors of the current file, one per faulty line, in line order.
class TBledy {
 public:
  explicit TBledy(const TLinieOrg& linie) : linie_(linie) {}
  TBledy(const TBledy&) = delete;
  TBledy& operator=(const TBledy&) = delete;

  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  TRecError operator[](std::size_t i) const {
    const std::int32_t line = lines_[i];
    return ZbudujRekord(line, linie_[static_cast<std::size_t>(line)]);
  }
  std::int32_t LineIndex(std::size_t i) const { return lines_[i]; }
  // Records line `lineIndex` as faulty; lines come in ascending order.
  void DopiszLinie(std::int32_t lineIndex);
  void clear() { lines_.clear(); }

 private:
  const TLinieOrg& linie_;
  ChunkedVector<std::int32_t> lines_;
};

struct TStan {
  TStan() = default;
  TStan(const TStan&) = delete;
  TStan& operator=(const TStan&) = delete;

  TLinieOrg LinieOrg;
  TLinieNew LinieNew{LinieOrg};
  TBledy Bledy{LinieOrg};
  std::string NazwaPliku;
  // The lines ended by LF alone, kept only when the bank profile in use
  // wants CR LF (their findings join the account and field findings).
  std::vector<std::int32_t> LinieZLf;
  std::int32_t WybranyBlad = 0;
  std::int32_t WybranaPozycja = 0;
};

// The one verification state of the running program.
TStan& Stan();

// Splits a text at every occurrence of a delimiter; a trailing delimiter
// adds no empty item, an empty delimiter never matches.
std::vector<std::string> PodzielTekst(std::string_view text, std::string_view delimiter);

template <class Out>
void TLinieNew::Wypisz(std::size_t i, Out&& out) const {
  const auto line = static_cast<std::int32_t>(i);
  WypiszLinie(i, Oznaczona(i), replaced_.lower_bound({line, 0}), out);
}

template <class Out>
void TLinieNew::WypiszWszystkie(Out&& out, std::string_view koniecLinii) const {
  // One walk over the lines with a cursor in the marks and one in the
  // replacements, so a clean line costs no look-up at all.
  std::size_t mark = 0;
  auto next = replaced_.begin();
  for (std::size_t i = 0; i < size(); ++i) {
    const auto line = static_cast<std::int32_t>(i);
    while (mark < marked_.size() && marked_[mark] < line) ++mark;
    while (next != replaced_.end() && next->first.first < line) ++next;
    WypiszLinie(i, mark < marked_.size() && marked_[mark] == line, next, out);
    out(koniecLinii.data(), koniecLinii.size());
  }
}

template <class Out>
void TLinieNew::WypiszLinie(std::size_t i, bool marked, Replacements::const_iterator next,
                            Out& out) const {
  const std::string_view line = org_[i];
  const auto index = static_cast<std::int32_t>(i);
  const auto inLine = [&] { return next != replaced_.end() && next->first.first == index; };
  if (!marked && !inLine()) {
    out(line.data(), line.size());
    return;
  }
  std::size_t runStart = 0;
  ForEachFaultyByte(line, [&](std::size_t pos, unsigned char) {
    char c = marked ? '?' : line[pos - 1];
    while (inLine() && next->first.second < pos) ++next;
    if (inLine() && next->first.second == pos) c = next->second;
    out(line.data() + runStart, pos - 1 - runStart);
    out(&c, 1);
    runStart = pos;
  });
  out(line.data() + runStart, line.size() - runStart);
}

}  // namespace Typy
