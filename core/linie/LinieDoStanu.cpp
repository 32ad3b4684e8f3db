#include "linie/LinieDoStanu.h"

#include "linie/SprawdzLinie.h"

namespace linie {

void TLinieDoStanu::Part(const char* data, std::size_t n, bool faulty) {
  stan_.LinieOrg.AppendToOpenLine(data, n);
  faulty_ = faulty_ || faulty;
  empty_ = false;
}

void TLinieDoStanu::End() {
  auto& org = stan_.LinieOrg;
  const bool check = faulty_ || empty_;
  org.CloseLine();
  faulty_ = false;
  empty_ = true;
  // A clean line gives the validator nothing to do, so only lines that can
  // be faulty are handed to it.
  if (!check) return;
  const auto index = static_cast<std::int32_t>(org.size() - 1);
  try {
    SprawdzLinie(stan_, index, org[static_cast<std::size_t>(index)]);
  } catch (...) {
    // Out of memory while recording it: the line goes back to being the
    // unfinished one, which the failed read drops, so that every line kept
    // has its record.
    org.ReopenLastLine();
    throw;
  }
}

void TLinieDoStanu::Drop() {
  stan_.LinieOrg.DropOpenLine();
  faulty_ = false;
  empty_ = true;
}

}  // namespace linie
