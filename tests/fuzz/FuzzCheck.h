#pragma once
// What every fuzz target shares: a check that stops the run with a message,
// a deliberately naive model of the line format and the character rule, and
// the invariants a state must keep after any input. The model is written
// from the rules, not from the reader, so that the two fail independently.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "typy/Teksty.h"
#include "typy/Typy.h"

#define FUZZ_CHECK(cond)                                                            \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

namespace fuzz {

inline bool ModelFaulty(unsigned char b) {
  if (b >= 32 && b <= 126) return false;
  static const std::string_view allowed =
      "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\n\r";
  return allowed.find(static_cast<char>(b)) == std::string_view::npos;
}

// The lines of a text, cut one byte at a time by the rules of the format.
inline std::vector<std::string> ModelLines(std::string_view in) {
  std::vector<std::string> lines;
  std::string cur;
  bool open = false;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c == '\x1A') break;
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
      open = false;
    } else if (c == '\r') {
      open = true;
      if (i + 1 < in.size() && in[i + 1] == '\n') {
        lines.push_back(cur);
        cur.clear();
        open = false;
        ++i;
      }
    } else {
      cur += c;
      open = true;
    }
  }
  if (open) lines.push_back(cur);
  return lines;
}

inline std::vector<std::size_t> ModelFaultyPositions(std::string_view line) {
  std::vector<std::size_t> pos;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (ModelFaulty(static_cast<unsigned char>(line[i]))) pos.push_back(i + 1);
  return pos;
}

inline bool IsDecimalWithoutLeadingZero(const std::string& s) {
  if (s.empty() || (s.size() > 1 && s[0] == '0')) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The state after reading `input` must equal what the model makes of it,
// and keep every invariant of the state. `corrected` lines may hold the
// user's characters instead of "?" at faulty positions.
inline void CheckState(const Typy::TStan& s, std::string_view input, bool corrected = false) {
  const std::vector<std::string> lines = ModelLines(input);
  FUZZ_CHECK(s.LinieOrg.size() == lines.size());
  FUZZ_CHECK(s.LinieNew.size() == s.LinieOrg.size());

  std::size_t record = 0;
  std::int32_t lastIndex = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view org = s.LinieOrg[i];
    FUZZ_CHECK(org == lines[i]);
    FUZZ_CHECK(org.find_first_of("\r\n\x1A") == std::string_view::npos);
    const std::vector<std::size_t> faulty = ModelFaultyPositions(org);

    const std::string now = s.LinieNew[i];
    FUZZ_CHECK(now.size() == org.size());
    FUZZ_CHECK(s.LinieNew.Dlugosc(i) == org.size());
    // The corrected copy is the line with "?" (or the user's byte) at the
    // faulty positions only. Znak is asked where it matters, not everywhere,
    // since it costs a look-up per call.
    std::string expected(org);
    for (std::size_t p : faulty) {
      if (!corrected)
        expected[p - 1] = '?';
      else
        expected[p - 1] = now[p - 1];
      FUZZ_CHECK(s.LinieNew.Znak(i, p) == now[p - 1]);
    }
    FUZZ_CHECK(now == expected);
    if (!org.empty()) {
      FUZZ_CHECK(s.LinieNew.Znak(i, 1) == now.front());
      FUZZ_CHECK(s.LinieNew.Znak(i, org.size()) == now.back());
    }

    if (!org.empty() && faulty.empty()) continue;
    // A faulty or empty line: exactly one record, the next one.
    FUZZ_CHECK(record < s.Bledy.size());
    const Typy::TRecError r = s.Bledy[record++];
    FUZZ_CHECK(r.LineIndex == static_cast<std::int32_t>(i));
    FUZZ_CHECK(r.LineIndex > lastIndex);
    lastIndex = r.LineIndex;
    const auto chars = Typy::PodzielTekst(r.BadChars, ",");
    const auto positions = Typy::PodzielTekst(r.BadPositions, ",");
    FUZZ_CHECK(chars.size() == positions.size());
    if (org.empty()) {
      FUZZ_CHECK(chars.empty() && r.BadChars.empty() && r.BadPositions.empty());
      FUZZ_CHECK(r.ErrorText == Typy::teksty::CiagPusty.str());
      continue;
    }
    FUZZ_CHECK(r.ErrorText == Typy::teksty::BledneZnaki.str());
    FUZZ_CHECK(chars.size() == faulty.size());
    for (std::size_t k = 0; k < chars.size(); ++k) {
      FUZZ_CHECK(IsDecimalWithoutLeadingZero(positions[k]));
      FUZZ_CHECK(std::stoull(positions[k]) == faulty[k]);
      FUZZ_CHECK(chars[k].size() == 1 && chars[k][0] == org[faulty[k] - 1]);
    }
  }
  FUZZ_CHECK(record == s.Bledy.size());
}

// Empties a state the way a new check does, so that a reused state is
// exercised as the program reuses its one state.
inline void ResetState(Typy::TStan& s) {
  s.Bledy.clear();
  s.LinieOrg.clear();
  s.LinieNew.clear();
}

}  // namespace fuzz
