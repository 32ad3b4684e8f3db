#pragma once
// The reader's inner loop: skip ahead to the next byte that shapes lines
// (LF, CR, or the end-of-text mark 1A), noting on the way whether any byte
// was faulty.
#include <cstddef>

namespace scan {

// First byte in [p, end) that is LF, CR or 1A, or end. Sets `faulty` when a
// faulty byte lies before it; never clears it.
const unsigned char* ToLineBreak(const unsigned char* p, const unsigned char* end, bool& faulty);

}  // namespace scan
