#include "LineSplitter.h"

#include "LineScanner.h"
#include "SprawdzLinie.h"

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
      EmitLine();
    }
  }
  auto& org = stan_.LinieOrg;
  while (p < end) {
    bool faulty = false;
    const unsigned char* q = scan::ToLineBreak(p, end, faulty);
    if (q > p) {
      const auto len = static_cast<std::size_t>(q - p);
      org.AppendToOpenLine(reinterpret_cast<const char*>(p), len);
      openLength_ += len;
      lineOpen_ = true;
      lineFaulty_ = lineFaulty_ || faulty;
    }
    if (q == end) break;
    switch (*q) {
      case '\n':
        EmitLine();
        p = q + 1;
        break;
      case '\r':
        lineOpen_ = true;
        if (q + 1 == end) {
          pendingCr_ = true;
          return true;
        }
        if (q[1] == '\n') {
          EmitLine();
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
  if (lineOpen_) EmitLine();
  ended_ = true;
}

void LineSplitter::Abandon() {
  stan_.LinieOrg.DropOpenLine();
  lineOpen_ = false;
  lineFaulty_ = false;
  openLength_ = 0;
}

void LineSplitter::EmitLine() {
  auto& org = stan_.LinieOrg;
  const bool check = lineFaulty_ || openLength_ == 0;
  org.CloseLine();
  lineOpen_ = false;
  lineFaulty_ = false;
  openLength_ = 0;
  // A clean line gives the validator nothing to do, so only lines that can
  // be faulty are handed to it.
  if (check) {
    const auto index = static_cast<std::int32_t>(org.size() - 1);
    try {
      Typy::SprawdzLinie(stan_, index, org[static_cast<std::size_t>(index)]);
    } catch (...) {
      // Out of memory while recording it: the line goes back to being the
      // unfinished one, which the failed read drops, so that every line
      // kept has its record.
      org.ReopenLastLine();
      throw;
    }
  }
}
