#pragma once
// A growable, uninitialised byte buffer. It holds the bytes of every line of
// a file in one block; growing it with realloc lets large blocks move by
// remapping pages instead of copying them.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ~ByteBuffer() { std::free(data_); }

  const char* data() const { return data_; }
  char* data() { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }

  void reserve(std::size_t n) {
    if (n <= capacity_) return;
    void* p = std::realloc(data_, n);
    if (!p) throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    capacity_ = n;
  }

  void append(const char* p, std::size_t n) {
    if (n == 0) return;
    if (size_ + n > capacity_) grow(size_ + n);
    std::memcpy(data_ + size_, p, n);
    size_ += n;
  }

  void resize_down(std::size_t n) {
    if (n < size_) size_ = n;
  }

  void release() {
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
  }

 private:
  void grow(std::size_t needed) {
    std::size_t next = capacity_ < 4096 ? 4096 : capacity_ + capacity_ / 2;
    reserve(next < needed ? needed : next);
  }

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
