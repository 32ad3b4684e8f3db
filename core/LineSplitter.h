#pragma once
// Cuts a stream of bytes into the lines of the source text format and hands
// each line to the state and the validator as soon as it is complete:
// - a line ends at LF, or at CR LF;
// - a CR not followed by LF is dropped and the line goes on;
// - the text ends at the end of the input or at the first byte 1A;
// - bytes after the last line end form a last line; a line end at the very
//   end opens no further line.
#include <cstddef>

#include "Typy.h"

class LineSplitter {
 public:
  explicit LineSplitter(Typy::TStan& stan) : stan_(stan) {}

  // Takes the next piece of input. False once the end-of-text mark was met:
  // nothing more is taken.
  bool Feed(const char* data, std::size_t n);
  // The input ended: the last line, if any, is stored.
  void Finish();
  // Reading failed: the unfinished line is dropped.
  void Abandon();

 private:
  void EmitLine();

  Typy::TStan& stan_;
  std::size_t openLength_ = 0;  // bytes of the open line so far
  bool lineOpen_ = false;
  bool lineFaulty_ = false;
  bool pendingCr_ = false;
  bool ended_ = false;
};
