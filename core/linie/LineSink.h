#pragma once
// Where the line splitter hands the lines it cuts: the window program's
// state, which keeps every line, or the command-line checker, which looks
// at each line as it passes and keeps nothing it no longer needs.
#include <cstddef>

namespace linie {

class LineSink {
 public:
  virtual ~LineSink() = default;

  // The next bytes of the line being cut, never none; `faulty` when one of
  // them breaks the character rule. A line may come in many parts: the
  // pieces of the input end anywhere, and a stray CR splits a line too.
  virtual void Part(const char* data, std::size_t n, bool faulty) = 0;
  // The line is complete; a line with no part is empty.
  virtual void End() = 0;
  // The line about to be completed ends with LF alone; told only when the
  // rule in use wants CR LF (kodowanie::Regula().crlf).
  virtual void BareLf() {}
  // Reading failed: the parts of the unfinished line, if any, are dropped.
  // Also after an End that raised, so a sink whose End fails part-way can
  // put the line back as unfinished and let this drop it.
  virtual void Drop() = 0;
};

}  // namespace linie
