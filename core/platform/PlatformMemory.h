#pragma once
// Memory the core asks of the system directly, for a large table read at
// random (the duplicate index of a long list). Where the system offers
// large pages for it (Linux), the table lies in them, so finding a place's
// page does not cost a walk of the page tables as well; elsewhere it is
// ordinary heap memory. Either way the block starts zeroed.
#include <cstddef>
#include <utility>

namespace platform {

class ZeroedBlock {
 public:
  ZeroedBlock() = default;
  // Raises std::bad_alloc when the system has no memory for it.
  explicit ZeroedBlock(std::size_t bytes);
  ~ZeroedBlock();
  ZeroedBlock(const ZeroedBlock&) = delete;
  ZeroedBlock& operator=(const ZeroedBlock&) = delete;
  void swap(ZeroedBlock& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(mapping_, other.mapping_);
    std::swap(mappingBytes_, other.mappingBytes_);
  }

  void* data() const { return data_; }

 private:
  void* data_ = nullptr;
  void* mapping_ = nullptr;  // when mapped apart from the heap
  std::size_t mappingBytes_ = 0;
};

}  // namespace platform
