#include "linie/SprawdzanieStrumienia.h"

#include <vector>

#include "typy/Typy.h"

namespace linie {

void SprawdzanieStrumienia::FaultyPart(const char* data, std::size_t n) {
  const std::uint64_t line = lines_ + 1;
  std::size_t runStart = 0;
  Typy::ForEachFaultyByte(std::string_view(data, n), [&](std::size_t pos, unsigned char b) {
    findings_.FaultyByte(line, column_ + pos, b);
    if (options_.corrected) {
      findings_.Corrected(data + runStart, pos - 1 - runStart);
      findings_.Corrected("?", 1);
      runStart = pos;
    }
  });
  if (options_.corrected) findings_.Corrected(data + runStart, n - runStart);
  findings_.FaultyText(line, std::string_view(data, n));
  faulty_ = true;
}

void SprawdzanieStrumienia::DecideHeldLine() {
  const std::string_view line(held_.data(), held_.size());
  std::vector<std::size_t> faulty;
  if (candidate_) faulty = Typy::BledneWLinii(line);
  if (faulty.empty()) {
    if (options_.corrected) findings_.Corrected(line.data(), line.size());
  } else {
    Typy::TKolumnyZnakow column(line);
    std::size_t runStart = 0;
    for (const std::size_t pos : faulty) {
      findings_.FaultyByte(lines_ + 1, column(pos), static_cast<unsigned char>(line[pos - 1]));
      if (options_.corrected) {
        findings_.Corrected(line.data() + runStart, pos - 1 - runStart);
        findings_.Corrected("?", 1);
        runStart = pos;
      }
    }
    if (options_.corrected) findings_.Corrected(line.data() + runStart, line.size() - runStart);
    findings_.FaultyText(lines_ + 1, line);
    faulty_ = true;
  }
  // Whole lines are handed on only when the check keeps them.
  if (!options_.keepFaultyLines) held_.resize_down(0);
}

void SprawdzanieStrumienia::FaultyEnd() {
  ++faultyLines_;
  if (column_ == 0) findings_.EmptyLine(lines_);
  findings_.FaultyLine(lines_, std::string_view(held_.data(), held_.size()));
}

}  // namespace linie
