#pragma once
// A growable sequence of small values kept in fixed blocks. Unlike
// std::vector it never copies what it holds when it grows, so a list of ten
// million line offsets costs its own size and no doubling slack.
#include <cstddef>
#include <memory>
#include <vector>

namespace Typy {

template <class T>
class ChunkedVector {
 public:
  static constexpr std::size_t kShift = 16;
  static constexpr std::size_t kChunk = std::size_t{1} << kShift;
  static constexpr std::size_t kMask = kChunk - 1;

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }
  T back() const { return (*this)[size_ - 1]; }

  void push_back(T value) {
    if ((size_ >> kShift) == chunks_.size())
      chunks_.push_back(std::make_unique_for_overwrite<T[]>(kChunk));
    chunks_[size_ >> kShift][size_ & kMask] = value;
    ++size_;
  }

  void pop_back() { --size_; }

  void clear() {
    chunks_.clear();
    chunks_.shrink_to_fit();
    size_ = 0;
  }

  // Index of the first element not less than `value`; the content must be
  // sorted.
  std::size_t lower_bound(T value) const {
    std::size_t lo = 0, hi = size_;
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if ((*this)[mid] < value)
        lo = mid + 1;
      else
        hi = mid;
    }
    return lo;
  }

  bool contains_sorted(T value) const {
    const std::size_t i = lower_bound(value);
    return i < size_ && !(value < (*this)[i]);
  }

 private:
  std::vector<std::unique_ptr<T[]>> chunks_;
  std::size_t size_ = 0;
};

}  // namespace Typy
