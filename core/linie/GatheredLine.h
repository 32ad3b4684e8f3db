#pragma once
// A line the splitter hands over in parts, as its sinks take it: a line
// lying whole in one piece of the file is read where it lies, and only a
// line cut by a piece's end is copied, of it at most `keep` bytes, so
// memory stays bounded whatever the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace linie {

class GatheredLine {
 public:
  // With `wholeOnly`, a line longer than `keep` is not wanted at all: its
  // copy is let go as soon as it grows past it, and View() is empty.
  explicit GatheredLine(std::size_t keep = std::numeric_limits<std::size_t>::max(),
                        bool wholeOnly = false)
      : keep_(keep), wholeOnly_(wholeOnly) {}

  // The next part of the open line; valid until the piece it lies in is
  // left (PieceEnds).
  void Add(const char* data, std::size_t n) {
    length_ += n;
    if (wholeOnly_ && length_ > keep_) {
      // Of no use now: the memory goes back, not to be held for the rest
      // of a line that may be far longer.
      first_ = {};
      gathered_ = true;
      std::string().swap(copy_);
      return;
    }
    if (!gathered_ && first_.empty()) {
      first_ = std::string_view(data, n);
      return;
    }
    Gather();
    if (copy_.size() < keep_) copy_.append(data, std::min(n, keep_ - copy_.size()));
  }
  // The piece the open line lies in is about to be read over.
  void PieceEnds() {
    if (!first_.empty()) Gather();
  }
  // The line: where it lies when it lay in one piece, else the copy of its
  // first `keep` bytes.
  std::string_view View() const { return gathered_ ? std::string_view(copy_) : first_; }
  // The line's whole length, whatever was kept of it.
  std::uint64_t Length() const { return length_; }
  // The next line begins. A view of this one stays readable until the
  // next line is gathered: the copy is only written over then.
  void Clear() {
    first_ = {};
    gathered_ = false;
    length_ = 0;
  }

 private:
  void Gather() {
    if (gathered_) return;
    copy_.assign(first_.substr(0, keep_));
    first_ = {};
    gathered_ = true;
  }

  const std::size_t keep_;
  const bool wholeOnly_;
  std::string_view first_;
  bool gathered_ = false;
  std::uint64_t length_ = 0;
  std::string copy_;
};

}  // namespace linie
