#pragma once
// The line scans one byte at a time: the reference every vector version
// must match, and the loop each of them ends a piece with. Inline, so that
// each version's tail is compiled into it as it always was.
#include <array>
#include <cstdint>
#include <cstring>

#include "kodowanie/ZnakiDozwolone.h"
#include "scan/LineScanner.h"

namespace scan::scalar {

inline const unsigned char* ToLineBreak(const unsigned char* p, const unsigned char* end,
                                        bool& faulty) {
  const auto& kByteClass = kodowanie::Regula().klasa;
  for (; p < end; ++p) {
    const unsigned c = kByteClass[*p];
    if (c == kodowanie::kAllowed) continue;
    if (c != kodowanie::kFaulty) return p;
    faulty = true;
  }
  return end;
}

constexpr unsigned char kLf = '\n';
constexpr unsigned char kCr = '\r';

// Whether the byte at q ends a run of clean lines: q + 1 is its next byte
// when it is before `end`.
inline bool EndsRun(const unsigned char* q, const unsigned char* end, unsigned stops,
                    const std::array<bool, 256>& faultyByte) {
  const unsigned char b = *q;
  const unsigned char next = q + 1 < end ? q[1] : 0;
  if (b == kCr) return next != kLf;                 // a stray CR, or one not known yet
  if (b == kLf) return next == kLf || next == kCr;  // an empty line follows
  if (faultyByte[b]) return true;                   // 1A among them
  if ((stops & kStopAtDigit) && b >= '0' && b <= '9') return true;
  return (stops & kStopAtBareLf) && next == kLf;
}

// A run ends at the start of a line: the start of the line holding q,
// found by going back eight bytes at a time to the LF before it.
inline const unsigned char* LineStart(const unsigned char* runStart, const unsigned char* q) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  while (q - runStart >= 8) {
    std::uint64_t w;
    std::memcpy(&w, q - 8, 8);
    const std::uint64_t x = w ^ (kOnes * kLf);
    if ((x - kOnes) & ~x & kHigh) break;  // one of the eight is LF
    q -= 8;
  }
  while (q > runStart && q[-1] != kLf) --q;
  return q;
}

// The plain loop, from q on in a run begun at runStart that holds `lines`
// lines before q.
inline CleanRun FinishRun(const unsigned char* runStart, const unsigned char* q,
                          const unsigned char* end, unsigned stops, std::uint64_t lines) {
  const unsigned char* start = nullptr;
  const auto& faultyByte = kodowanie::Regula().bledny;
  for (; q < end; ++q) {
    if (EndsRun(q, end, stops, faultyByte)) break;
    if (*q == kLf) {
      ++lines;
      start = q + 1;
    }
  }
  return {start ? start : LineStart(runStart, q), lines};
}

// A line that begins with its line end is empty, or begins with a CR.
inline bool OpensRun(const unsigned char* p, const unsigned char* end) {
  return p < end && *p != kLf && *p != kCr;
}

inline const unsigned char* ToFaultyByte(const unsigned char* p, const unsigned char* end) {
  const auto& faultyByte = kodowanie::Regula().bledny;
  while (p < end && !faultyByte[*p]) ++p;
  return p;
}

inline CleanRun CleanLines(const unsigned char* p, const unsigned char* end, unsigned stops) {
  if (!OpensRun(p, end)) return {p, 0};
  return FinishRun(p, p, end, stops, 0);
}

}  // namespace scan::scalar
