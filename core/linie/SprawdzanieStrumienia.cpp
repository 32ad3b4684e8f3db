#include "linie/SprawdzanieStrumienia.h"

#include "stan/Typy.h"

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

void SprawdzanieStrumienia::FaultyEnd() {
  ++faultyLines_;
  if (column_ == 0) findings_.EmptyLine(lines_);
  findings_.FaultyLine(lines_, std::string_view(held_.data(), held_.size()));
}
