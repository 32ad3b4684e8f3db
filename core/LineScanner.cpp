#include "LineScanner.h"

#include "ZnakiDozwolone.h"

namespace scan {

const unsigned char* ToLineBreak(const unsigned char* p, const unsigned char* end, bool& faulty) {
  using Typy::kByteClass;
  for (; p < end; ++p) {
    const unsigned c = kByteClass[*p];
    if (c == Typy::kAllowed) continue;
    if (c != Typy::kFaulty) return p;
    faulty = true;
  }
  return end;
}

}  // namespace scan
