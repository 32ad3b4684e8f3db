#include "platform/PlatformMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace platform {

ZeroedBlock::ZeroedBlock(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t kLargePage = std::size_t{2} << 20;
  if (bytes >= kLargePage) {
    // One large page more than needed, to start at a large page's bound;
    // what lies before it is never touched, so it takes no memory.
    void* m = mmap(nullptr, bytes + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                   -1, 0);
    if (m == MAP_FAILED) throw std::bad_alloc();
    mapping_ = m;
    mappingBytes_ = bytes + kLargePage;
    const auto address = reinterpret_cast<std::uintptr_t>(m);
    data_ = reinterpret_cast<void*>((address + kLargePage - 1) & ~(std::uintptr_t{kLargePage} - 1));
    // Advice only: without large pages the block works the same.
    madvise(data_, bytes, MADV_HUGEPAGE);
    return;  // a fresh mapping is zeroed
  }
#endif
  data_ = std::calloc(bytes ? bytes : 1, 1);
  if (!data_) throw std::bad_alloc();
}

ZeroedBlock::~ZeroedBlock() {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (mapping_) {
    munmap(mapping_, mappingBytes_);
    return;
  }
#endif
  std::free(data_);
}

}  // namespace platform
