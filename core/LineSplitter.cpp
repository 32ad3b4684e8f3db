#include "LineSplitter.h"

#include "LineScanner.h"

bool LineSplitter::Feed(const char* data, std::size_t n) {
  if (ended_) return false;
  auto* p = reinterpret_cast<const unsigned char*>(data);
  auto* const end = p + n;
  if (pendingCr_ && p < end) {
    // The previous piece ended in CR: only now is it known whether it was
    // half of a line end or a stray CR, which is dropped.
    pendingCr_ = false;
    if (*p == '\n') {
      ++p;
      EndLine();
    }
  }
  while (p < end) {
    bool faulty = false;
    const unsigned char* q = scan::ToLineBreak(p, end, faulty);
    if (q > p) {
      sink_.Part(reinterpret_cast<const char*>(p), static_cast<std::size_t>(q - p), faulty);
      lineOpen_ = true;
    }
    if (q == end) break;
    switch (*q) {
      case '\n':
        EndLine();
        p = q + 1;
        break;
      case '\r':
        lineOpen_ = true;
        if (q + 1 == end) {
          pendingCr_ = true;
          return true;
        }
        if (q[1] == '\n') {
          EndLine();
          p = q + 2;
        } else {
          p = q + 1;  // a stray CR is dropped and the line goes on
        }
        break;
      default:  // 1A: the text ends here
        ended_ = true;
        Finish();
        return false;
    }
  }
  return true;
}

void LineSplitter::Finish() {
  pendingCr_ = false;
  if (lineOpen_) EndLine();
  ended_ = true;
}

void LineSplitter::Abandon() {
  sink_.Drop();
  lineOpen_ = false;
  pendingCr_ = false;
}

void LineSplitter::EndLine() {
  lineOpen_ = false;
  sink_.End();
}
