#include "typy/Typy.h"

#include <algorithm>
#include <stdexcept>

#include "typy/Teksty.h"

namespace Typy {

TRecError ZbudujRekord(std::int32_t lineIndex, std::string_view line) {
  TRecError r;
  r.LineIndex = lineIndex;
  if (line.empty()) {
    r.ErrorText = teksty::CiagPusty.str();
    return r;
  }
  TKolumnyZnakow kolumna(line);
  ForEachFaultyByte(line, [&](std::size_t pos, unsigned char b) {
    if (!r.BadChars.empty()) {
      r.BadChars += ',';
      r.BadPositions += ',';
    }
    r.BadChars += static_cast<char>(b);
    r.BadPositions += std::to_string(kolumna(pos));
  });
  r.ErrorText = teksty::BledneZnaki.str();
  return r;
}

// ---- TLinieOrg

std::uint64_t TLinieOrg::End(std::size_t i) const {
  const std::uint64_t high = static_cast<std::uint64_t>(
      std::upper_bound(wraps_.begin(), wraps_.end(), i) - wraps_.begin());
  return (high << 32) | ends_[i];
}

void TLinieOrg::CloseLine() {
  if (ends_.size() >= static_cast<std::size_t>(INT32_MAX))
    throw std::length_error("Too many lines");
  const std::uint64_t end = bytes_.size();
  while ((end >> 32) > wraps_.size()) wraps_.push_back(ends_.size());
  ends_.push_back(static_cast<std::uint32_t>(end));
}

void TLinieOrg::ReopenLastLine() {
  if (empty()) return;
  ends_.pop_back();
  while (!wraps_.empty() && wraps_.back() >= ends_.size()) wraps_.pop_back();
}

void TLinieOrg::clear() {
  bytes_.release();
  ends_.clear();
  wraps_.clear();
  wraps_.shrink_to_fit();
}

// ---- TLinieNew

std::string TLinieNew::operator[](std::size_t i) const {
  std::string s;
  s.reserve(org_[i].size());
  Wypisz(i, [&](const char* p, std::size_t n) { s.append(p, n); });
  return s;
}

char TLinieNew::Znak(std::size_t i, std::size_t pos) const {
  const std::string_view line = org_[i];
  if (pos < 1 || pos > line.size()) throw std::out_of_range("position outside the line");
  const auto it = replaced_.find({static_cast<std::int32_t>(i), pos});
  if (it != replaced_.end()) return it->second;
  const char c = line[pos - 1];
  if (Oznaczona(i) && CzyBlednyWLinii(line, pos)) return '?';
  return c;
}

void TLinieNew::UstawZnak(std::size_t i, std::size_t pos, char c) {
  const std::string_view line = org_[i];
  if (pos < 1 || pos > line.size()) throw std::out_of_range("position outside the line");
  if (!CzyBlednyWLinii(line, pos))
    throw std::invalid_argument("only a faulty byte may be replaced");
  replaced_[{static_cast<std::int32_t>(i), pos}] = c;
}

void TLinieNew::OznaczBledneZnaki(std::int32_t i) {
  if (!marked_.empty() && marked_.back() >= i) {
    if (marked_.back() == i) return;
    throw std::logic_error("lines are marked in order");
  }
  marked_.push_back(i);
}

void TLinieNew::clear() {
  marked_.clear();
  replaced_.clear();
}

// ---- TBledy

void TBledy::DopiszLinie(std::int32_t lineIndex) {
  if (!lines_.empty() && lines_.back() >= lineIndex)
    throw std::logic_error("faulty lines are recorded in order");
  lines_.push_back(lineIndex);
}

// ---- the rest

TStan& Stan() {
  static TStan stan;
  return stan;
}

std::vector<std::string> PodzielTekst(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> items;
  std::string_view rest = text;
  if (!delimiter.empty()) {
    for (std::size_t p = rest.find(delimiter); p != std::string_view::npos;
         p = rest.find(delimiter)) {
      items.emplace_back(rest.substr(0, p));
      rest.remove_prefix(p + delimiter.size());
    }
  }
  if (!rest.empty()) items.emplace_back(rest);
  return items;
}

}  // namespace Typy
