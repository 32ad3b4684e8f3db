#include <cstdlib>
#include <new>

#include "platform/PlatformMemory.h"

namespace platform {

// Large pages on Windows need a privilege an office user does not hold, so
// the block is ordinary heap memory.
ZeroedBlock::ZeroedBlock(std::size_t bytes) : data_(std::calloc(bytes ? bytes : 1, 1)) {
  if (!data_) throw std::bad_alloc();
}

ZeroedBlock::~ZeroedBlock() {
  std::free(data_);
}

}  // namespace platform
