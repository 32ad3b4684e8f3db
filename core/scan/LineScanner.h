#pragma once
// The reader's inner loops, over bytes already in memory.
//
// ToLineBreak skips ahead to the next byte that shapes lines (LF, CR, or
// the end-of-text mark 1A), noting on the way whether any byte was faulty:
// it hands every line to whoever keeps lines.
//
// CleanLines is for a reader that keeps nothing of a clean line: from the
// start of a line it counts the lines that need nothing but counting, in
// one pass that classifies every byte and marks the line ends at once, and
// stops only at the line that needs a closer look.
//
// Most bytes of a transfer file are printable ASCII, so the vector versions
// look at 16 or 32 bytes at once. Which version runs is decided once, from
// what the processor offers (or less, when the environment variable
// WERYFIKACJA_SIMD names a lower level: "sse2", "ssse3", "scalar", so a
// benchmark can measure a processor without AVX2 on one that has it); the
// others stay reachable so tests can hold them against the plain loops.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kodowanie/ZnakiDozwolone.h"

namespace scan {

using ScanFn = const unsigned char* (*)(const unsigned char*, const unsigned char*, bool&);

// A run of whole lines, each ended by LF (or CR LF), none empty, none
// holding a faulty byte, a 1A or a CR that is not half of its line end.
struct CleanRun {
  const unsigned char* end;  // where the run ends: the start of a line
  std::uint64_t lines;       // how many lines it holds
};

// What else ends a run, as asked for by whoever reads the lines:
enum RunStop : unsigned {
  kStopAtDigit = 1,  // a line holding a digit (0-9) goes to the line-by-line path
  kStopAtBareLf = 2  // a line ended by LF alone does, so a run is always ended by CR LF
};

using RunFn = CleanRun (*)(const unsigned char*, const unsigned char*, unsigned stops);
using FindFn = const unsigned char* (*)(const unsigned char*, const unsigned char*);

// One version of both loops.
struct Version {
  const char* name;  // "avx2", "ssse3", "sse2" or "scalar"
  ScanFn toLineBreak;
  RunFn cleanLines;
  FindFn toFaultyByte;
};

namespace detail {
// The version in use. It starts as a stand-in that chooses on first use and
// puts the choice here, so every later call goes straight to it, with no
// check of whether the choice was made and no order of start-up to mind.
extern std::atomic<const Version*> chosen;
}  // namespace detail

// First byte in [p, end) that is LF, CR or 1A, or end. Sets `faulty` when a
// faulty byte lies before it; never clears it.
inline const unsigned char* ToLineBreak(const unsigned char* p, const unsigned char* end,
                                        bool& faulty) {
  return detail::chosen.load(std::memory_order_relaxed)->toLineBreak(p, end, faulty);
}

// From p, the start of a line, the longest run of lines in [p, end) that
// need nothing but counting (see CleanRun and `stops`). The run stops
// early rather than late: a line ended by a CR that is the last byte, one
// without its line end before `end`, and one followed by an empty line
// (whose line end shows the empty line) are left to the line-by-line path.
inline CleanRun CleanLines(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return detail::chosen.load(std::memory_order_relaxed)->cleanLines(p, end, stops);
}

// First byte in [p, end) that breaks the character rule (1A among them;
// LF and CR do not), or end: the faulty bytes of a line, one after another.
inline const unsigned char* ToFaultyByte(const unsigned char* p, const unsigned char* end) {
  return detail::chosen.load(std::memory_order_relaxed)->toFaultyByte(p, end);
}

// The one-byte-at-a-time versions: the reference the others must match.
const unsigned char* ToLineBreakScalar(const unsigned char* p, const unsigned char* end,
                                       bool& faulty);
CleanRun CleanLinesScalar(const unsigned char* p, const unsigned char* end, unsigned stops);
const unsigned char* ToFaultyByteScalar(const unsigned char* p, const unsigned char* end);

// Every version this build and processor can run, the plain one first.
std::vector<Version> Versions();

// The version in use.
const Version& Active();

// Every scan follows `regula` from now on (kodowanie::Regula() too); built here
// into the look-ups of every version. A rule whose faulty bytes the vector
// look-ups cannot hold is scanned by the plain loops.
void UzyjReguly(const kodowanie::TRegulaZnakow& regula);
// Whether the rule in use is scanned by the vector versions.
bool RegulaWektorowa();

}  // namespace scan
