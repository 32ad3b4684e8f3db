#pragma once
// Cuts a stream of bytes into the lines of the source text format and hands
// each line to a sink as soon as its bytes are known:
// - a line ends at LF, or at CR LF;
// - a CR not followed by LF is dropped and the line goes on;
// - the text ends at the end of the input or at the first byte 1A;
// - bytes after the last line end form a last line; a line end at the very
//   end opens no further line.
// The window program and the command-line checker both cut their lines
// here, so they always agree on what a line is.
#include <cstddef>

#include "LineSink.h"

class LineSplitter {
 public:
  explicit LineSplitter(LineSink& sink) : sink_(sink) {}

  // Takes the next piece of input. False once the end-of-text mark was met:
  // nothing more is taken.
  bool Feed(const char* data, std::size_t n);
  // The input ended: the last line, if any, is completed.
  void Finish();
  // Reading failed: the unfinished line is dropped.
  void Abandon();

 private:
  void EndLine();

  LineSink& sink_;
  bool lineOpen_ = false;
  bool pendingCr_ = false;
  bool ended_ = false;
};
