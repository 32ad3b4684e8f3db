#pragma once
// The reader's inner loop: skip ahead to the next byte that shapes lines
// (LF, CR, or the end-of-text mark 1A), noting on the way whether any byte
// was faulty.
//
// Most bytes of a transfer file are printable ASCII, so the vector versions
// look at 16 or 32 bytes at once and stop only where a byte needs a closer
// look. Which version runs is decided once, from what the processor offers;
// the others stay reachable so tests can hold them against the plain loop.
#include <atomic>
#include <cstddef>

namespace scan {

using ScanFn = const unsigned char* (*)(const unsigned char*, const unsigned char*, bool&);

namespace detail {
// The version in use. It starts as a stand-in that chooses on first use and
// puts the choice here, so every later call goes straight to it, with no
// check of whether the choice was made and no order of start-up to mind.
extern std::atomic<ScanFn> chosen;
}  // namespace detail

// First byte in [p, end) that is LF, CR or 1A, or end. Sets `faulty` when a
// faulty byte lies before it; never clears it.
inline const unsigned char* ToLineBreak(const unsigned char* p, const unsigned char* end,
                                        bool& faulty) {
  return detail::chosen.load(std::memory_order_relaxed)(p, end, faulty);
}

// The same, one byte at a time: the reference the others must match.
const unsigned char* ToLineBreakScalar(const unsigned char* p, const unsigned char* end,
                                       bool& faulty);

// The vector versions; null where this build or processor lacks them.
ScanFn Sse2Version();
ScanFn Ssse3Version();
ScanFn Avx2Version();

// Name of the version ToLineBreak uses ("avx2", "ssse3", "sse2" or "scalar").
const char* ActiveVersion();

}  // namespace scan
