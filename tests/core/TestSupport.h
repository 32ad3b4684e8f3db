#pragma once
// Helpers shared by the core tests: temporary files, an independent model of
// the line format and the character rule, and a check of every invariant of
// the verification state.
//
// The model is written from the rules alone, as naively as possible, so that
// it shares no code and no shortcut with the reader it is compared with.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "linie/WczytajPlik.h"
#include "platform/InOutError.h"
#include "typy/Typy.h"

namespace testing_core {

// The two error texts as the user sees them, written out in Windows-1250.
inline const std::string kCiagPusty =
    "Ci\xB9g nie mo\xBF"
    "e by\xE6 pusty";
inline const std::string kBledneZnaki =
    "Stwierdzono b\xB3\xEA"
    "dne znaki";

// The eighteen Polish letters of Windows-1250: A-ogonek, C-acute, E-ogonek,
// L-stroke, N-acute, O-acute, S-acute, Z-acute, Z-dot, then the small ones.
inline const std::string kPolishLetters =
    "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"
    "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";

inline bool ModelFaulty(unsigned char b) {
  if (b >= 32 && b <= 126) return false;
  if (b == '\n' || b == '\r') return false;
  return kPolishLetters.find(static_cast<char>(b)) == std::string::npos;
}

// The lines a file holds: the text ends at the first 1A; it is split at
// every LF; a final LF opens no further line; every CR left is dropped.
inline std::vector<std::string> ModelLines(const std::string& file) {
  std::string text = file.substr(0, file.find('\x1A'));
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (text.back() != '\n') lines.push_back(current);
  for (auto& line : lines) std::erase(line, '\r');
  return lines;
}

// The record of a line, or nothing for a clean one.
inline std::optional<Typy::TRecError> ModelRecord(std::int32_t index, const std::string& line) {
  Typy::TRecError r;
  r.LineIndex = index;
  if (line.empty()) {
    r.ErrorText = kCiagPusty;
    return r;
  }
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (!ModelFaulty(static_cast<unsigned char>(line[i]))) continue;
    if (!r.BadChars.empty()) r.BadChars += ",";
    if (!r.BadPositions.empty()) r.BadPositions += ",";
    r.BadChars += line[i];
    r.BadPositions += std::to_string(i + 1);
  }
  if (r.BadChars.empty()) return std::nullopt;
  r.ErrorText = kBledneZnaki;
  return r;
}

inline std::string ModelCorrected(const std::string& line) {
  std::string out = line;
  for (char& c : out)
    if (ModelFaulty(static_cast<unsigned char>(c))) c = '?';
  return out;
}

inline std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> items;
  if (s.empty()) return items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = s.find(',', start);
    items.push_back(s.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return items;
}

// Every invariant of the verification state. A failure names the first line
// that breaks it; the caller's SCOPED_TRACE says which case it was.
inline void ExpectInvariants(const Typy::TStan& s) {
  ASSERT_EQ(s.LinieOrg.size(), s.LinieNew.size());
  for (std::size_t i = 0; i < s.LinieOrg.size(); ++i) {
    const std::string_view org = s.LinieOrg[i];
    const std::string fixed = s.LinieNew[i];
    ASSERT_EQ(fixed.size(), org.size()) << "line " << i;
    ASSERT_EQ(s.LinieNew.Dlugosc(i), org.size()) << "line " << i;
    for (std::size_t p = 0; p < org.size(); ++p) {
      if (fixed[p] != org[p]) {
        ASSERT_TRUE(ModelFaulty(static_cast<unsigned char>(org[p])))
            << "line " << i << " differs at clean position " << p + 1;
      }
      ASSERT_EQ(s.LinieNew.Znak(i, p + 1), fixed[p]) << "line " << i << " position " << p + 1;
    }
  }
  std::int64_t previous = -1;
  for (std::size_t k = 0; k < s.Bledy.size(); ++k) {
    const Typy::TRecError r = s.Bledy[k];
    ASSERT_GT(r.LineIndex, previous) << "record " << k;
    previous = r.LineIndex;
    ASSERT_LT(static_cast<std::size_t>(r.LineIndex), s.LinieOrg.size()) << "record " << k;
    const std::string_view line = s.LinieOrg[static_cast<std::size_t>(r.LineIndex)];
    const auto chars = Split(r.BadChars);
    const auto positions = Split(r.BadPositions);
    ASSERT_EQ(chars.size(), positions.size()) << "record " << k;
    if (chars.empty()) {
      ASSERT_TRUE(line.empty()) << "record " << k;
      ASSERT_EQ(r.ErrorText, kCiagPusty) << "record " << k;
      continue;
    }
    ASSERT_EQ(r.ErrorText, kBledneZnaki) << "record " << k;
    std::size_t last = 0;
    for (std::size_t j = 0; j < chars.size(); ++j) {
      ASSERT_EQ(chars[j].size(), 1u) << "record " << k;
      const std::string& pos = positions[j];
      ASSERT_FALSE(pos.empty());
      ASSERT_NE(pos[0], '0') << "leading zero in record " << k;
      ASSERT_EQ(pos.find_first_not_of("0123456789"), std::string::npos);
      const std::size_t p = std::stoul(pos);
      ASSERT_GT(p, last) << "record " << k;
      last = p;
      ASSERT_LE(p, line.size()) << "record " << k;
      ASSERT_EQ(line[p - 1], chars[j][0]) << "record " << k;
    }
  }
  ASSERT_TRUE(s.WybranyBlad == -1 ||
              (s.WybranyBlad >= 0 && static_cast<std::size_t>(s.WybranyBlad) < s.Bledy.size()));
  ASSERT_GE(s.WybranaPozycja, 0);
}

// After a completed read: a line has a record exactly when the model says it
// is faulty or empty, and its corrected copy is the model's.
inline void ExpectMatchesModel(const Typy::TStan& s, const std::vector<std::string>& lines) {
  ASSERT_EQ(s.LinieOrg.size(), lines.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(s.LinieOrg[i], lines[i]) << "line " << i;
    ASSERT_EQ(s.LinieNew[i], ModelCorrected(lines[i])) << "line " << i;
    const auto expected = ModelRecord(static_cast<std::int32_t>(i), lines[i]);
    if (!expected) continue;
    ASSERT_LT(k, s.Bledy.size()) << "no record for line " << i;
    ASSERT_EQ(s.Bledy[k], *expected) << "line " << i;
    ++k;
  }
  ASSERT_EQ(k, s.Bledy.size()) << "records for clean lines";
}

using test_support::TempDir;

// What the check command does around the reader: it empties the errors and
// the selection, takes the path and reads it.
inline void Sprawdz(Typy::TStan& s, const std::string& path) {
  s.Bledy.clear();
  s.WybranyBlad = -1;
  s.NazwaPliku = path;
  linie::WczytajPlik(s);
}

// Reads bytes through a temporary file into a fresh state.
inline void ReadBytes(Typy::TStan& s, const std::string& bytes) {
  TempDir dir;
  Sprawdz(s, dir.Write("plik.txt", bytes));
}

inline std::vector<std::string> LinesOf(const Typy::TStan& s) {
  std::vector<std::string> v;
  for (std::size_t i = 0; i < s.LinieOrg.size(); ++i) v.emplace_back(s.LinieOrg[i]);
  return v;
}

inline std::vector<std::string> CorrectedLinesOf(const Typy::TStan& s) {
  std::vector<std::string> v;
  for (std::size_t i = 0; i < s.LinieNew.size(); ++i) v.push_back(s.LinieNew[i]);
  return v;
}

}  // namespace testing_core
