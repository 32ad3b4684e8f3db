#include "StreamCheck.h"

#include "Typy.h"

void StreamCheck::Part(const char* data, std::size_t n, bool faulty) {
  if (options_.keepFaultyLines) held_.append(data, n);
  if (!faulty) {
    if (options_.corrected) findings_.Corrected(data, n);
  } else {
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
    faulty_ = true;
  }
  column_ += n;
}

void StreamCheck::End() {
  const std::uint64_t line = ++lines_;
  const bool empty = column_ == 0;
  if (empty) findings_.EmptyLine(line);
  if (empty || faulty_) {
    ++faultyLines_;
    findings_.FaultyLine(line, std::string_view(held_.data(), held_.size()));
  }
  if (options_.corrected) findings_.Corrected("\r\n", 2);
  Drop();
}

void StreamCheck::Drop() {
  column_ = 0;
  faulty_ = false;
  held_.resize_down(0);
}
