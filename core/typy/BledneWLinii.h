#pragma once
// The faulty bytes of a whole line under the rule in use: a candidate byte
// (a UTF-8 letter's, a character the profile refuses) is decided by its
// line, and the column a user counts for a byte.
#include <cstddef>
#include <string_view>
#include <vector>

#include "kodowanie/ZnakiDozwolone.h"

namespace Typy {

// The 1-based positions of the faulty bytes of a line under the rule in use,
// each candidate decided by its line. For a rule with no candidates the
// scan alone says it (ForEachFaultyByte).
std::vector<std::size_t> BledneWLinii(std::string_view linia);

// Whether the byte at 1-based position `pos` of a line is faulty.
bool CzyBlednyWLinii(std::string_view linia, std::size_t pos);

// The column a user counts for a byte position of a line: the position
// itself in a single-byte encoding, the character's in a UTF-8 one (a
// well-formed sequence is one character, any other byte one of its own).
// Positions are asked in ascending order.
class TKolumnyZnakow {
 public:
  explicit TKolumnyZnakow(std::string_view linia) : linia_(linia) {}
  std::size_t operator()(std::size_t pos);

 private:
  std::string_view linia_;
  std::size_t bajt_ = 0;   // bytes walked
  std::size_t znaki_ = 0;  // characters begun in them
};

}  // namespace Typy
