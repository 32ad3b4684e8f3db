#include "LineSplitter.h"

#include "LineScanner.h"
#include "SprawdzLinie.h"

bool LineSplitter::Feed(const char* data, std::size_t n) {
  if (ended_) return false;
  auto* p = reinterpret_cast<const unsigned char*>(data);
  auto* const end = p + n;
  while (p < end) {
    if (pendingCr_) {
      pendingCr_ = false;
      if (*p == '\n') {
        ++p;
        EmitLine();
        continue;
      }
      // A CR not followed by LF is dropped; the line goes on.
    }
    bool faulty = false;
    const unsigned char* q = scan::ToLineBreak(p, end, faulty);
    if (q > p) {
      stan_.LinieOrg.AppendToOpenLine(reinterpret_cast<const char*>(p), static_cast<std::size_t>(q - p));
      lineOpen_ = true;
      lineFaulty_ = lineFaulty_ || faulty;
    }
    if (q == end) break;
    switch (*q) {
      case '\n':
        EmitLine();
        break;
      case '\r':
        lineOpen_ = true;
        pendingCr_ = true;
        break;
      default:  // 1A: the text ends here
        ended_ = true;
        Finish();
        return false;
    }
    p = q + 1;
  }
  return true;
}

void LineSplitter::Finish() {
  pendingCr_ = false;
  if (lineOpen_) EmitLine();
  ended_ = true;
}

void LineSplitter::EmitLine() {
  auto& org = stan_.LinieOrg;
  const std::string_view line = org.OpenLine();
  const bool check = lineFaulty_ || line.empty();
  org.CloseLine();
  lineOpen_ = false;
  lineFaulty_ = false;
  // A clean line gives the validator nothing to do, so only lines that can
  // be faulty are handed to it.
  if (check) {
    const auto index = static_cast<std::int32_t>(org.size() - 1);
    Typy::SprawdzLinie(stan_, index, org[static_cast<std::size_t>(index)]);
  }
}
