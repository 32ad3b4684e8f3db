#pragma once
// A growable, uninitialised byte buffer. It holds the bytes of every line of
// a file in one block.
//
// A large block is taken straight from the system in 2 MiB-aligned huge-page
// friendly pieces: a 200 MB file touched 4 KiB at a time costs fifty
// thousand page faults, more than reading it. Growing such a block moves its
// pages instead of copying them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#if defined(__linux__)
#include <sys/mman.h>
#define WERYFIKACJA_BYTEBUFFER_MAP 1
#endif

namespace Typy {

class ByteBuffer {
 public:
  // Blocks at least this large are mapped, smaller ones come from malloc.
  static constexpr std::size_t kMapThreshold = std::size_t{4} << 20;
  static constexpr std::size_t kHugePage = std::size_t{2} << 20;

  ByteBuffer() = default;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer() { release(); }

  const char* data() const { return data_; }
  char* data() { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }

  void reserve(std::size_t n) {
    if (n <= capacity_) return;
#ifdef WERYFIKACJA_BYTEBUFFER_MAP
    if (n >= kMapThreshold) {
      GrowMapped(n);
      return;
    }
#endif
    void* p = std::realloc(data_, n);
    if (!p) throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    capacity_ = n;
  }

  void append(const char* p, std::size_t n) {
    if (n == 0) return;
    if (n > capacity_ - size_) grow(size_ + n);
    std::memcpy(data_ + size_, p, n);
    size_ += n;
  }

  void resize_down(std::size_t n) {
    if (n < size_) size_ = n;
  }

  void release() {
#ifdef WERYFIKACJA_BYTEBUFFER_MAP
    if (mapped_) {
      ::munmap(data_, capacity_);
    } else
#endif
      std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
    mapped_ = false;
  }

 private:
  void grow(std::size_t needed) {
    if (needed < size_) throw std::bad_alloc();  // the size wrapped around
    std::size_t next = capacity_ < 4096 ? 4096 : capacity_ + capacity_ / 2;
    reserve(next < needed ? needed : next);
  }

#ifdef WERYFIKACJA_BYTEBUFFER_MAP
  // A fresh region of n bytes (a multiple of kHugePage) starting on a
  // kHugePage boundary, which huge pages need.
  static char* MapAligned(std::size_t n) {
    const std::size_t span = n + kHugePage;
    if (span < n) throw std::bad_alloc();
    void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
    if (aligned > start) ::munmap(raw, aligned - start);
    const std::uintptr_t tail = start + span - (aligned + n);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + n), tail);
    auto* p = reinterpret_cast<char*>(aligned);
#ifdef MADV_HUGEPAGE
    ::madvise(p, n, MADV_HUGEPAGE);  // only advice: without it the block still works
#endif
    return p;
  }

  void GrowMapped(std::size_t n) {
    const std::size_t rounded = (n + kHugePage - 1) & ~(kHugePage - 1);
    if (rounded < n) throw std::bad_alloc();
    char* fresh = MapAligned(rounded);
    if (mapped_) {
      // Move the pages already written into the start of the new region;
      // nothing is copied.
      void* moved = ::mremap(data_, capacity_, capacity_, MREMAP_MAYMOVE | MREMAP_FIXED, fresh);
      if (moved == MAP_FAILED) {
        ::munmap(fresh, rounded);
        throw std::bad_alloc();
      }
    } else if (data_) {
      std::memcpy(fresh, data_, size_);
      std::free(data_);
    }
    data_ = fresh;
    capacity_ = rounded;
    mapped_ = true;
  }
#endif

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  bool mapped_ = false;
};

}  // namespace Typy
