// Pieces of an input file mapped into memory rather than read, and the
// guard that keeps a file that shrinks while it is mapped from ending the
// program: touching a page the file no longer has raises SIGBUS. The guard
// puts pages of the end-of-text byte where the file's pages were, notes the
// loss, and lets the reader go on to stop at once and report the change.
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/PlatformFile.h"

namespace platform {
namespace {

// The pieces mapped by this thread, which is the one a fault in them is
// raised on. Plain data, so the signal handler may read it.
struct Window {
  char* base;
  std::size_t length;
  volatile sig_atomic_t lost;
};
constexpr int kWindows = 4;
thread_local Window tWindows[kWindows];

struct sigaction gPrevious;
std::size_t gPage = 4096;
bool gGuarded = false;
std::once_flag gInstall;

void OnBusError(int sig, siginfo_t* info, void* context) {
  char* const at = static_cast<char*>(info->si_addr);
  for (Window& w : tWindows) {
    if (w.base == nullptr || at < w.base || at >= w.base + w.length) continue;
    char* const from = w.base + static_cast<std::size_t>(at - w.base) / gPage * gPage;
    const std::size_t rest = static_cast<std::size_t>(w.base + w.length - from);
    if (::mmap(from, rest, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
               0) == MAP_FAILED)
      break;
    std::memset(from, 0x1A, rest);
    w.lost = 1;
    return;
  }
  // Not a piece of ours: as it would have been without the guard.
  if ((gPrevious.sa_flags & SA_SIGINFO) != 0 && gPrevious.sa_sigaction != nullptr) {
    gPrevious.sa_sigaction(sig, info, context);
    return;
  }
  if ((gPrevious.sa_flags & SA_SIGINFO) == 0 && gPrevious.sa_handler != SIG_DFL &&
      gPrevious.sa_handler != SIG_IGN) {
    gPrevious.sa_handler(sig);
    return;
  }
  ::signal(sig, SIG_DFL);  // the fault comes again and ends the program
}

void InstallGuard() {
  const long page = ::sysconf(_SC_PAGESIZE);
  if (page > 0) gPage = static_cast<std::size_t>(page);
  struct sigaction guard {};
  guard.sa_sigaction = OnBusError;
  guard.sa_flags = SA_SIGINFO;
  sigemptyset(&guard.sa_mask);
  gGuarded = ::sigaction(SIGBUS, &guard, &gPrevious) == 0;
}

Window* FreeWindow() {
  for (Window& w : tWindows)
    if (w.base == nullptr) return &w;
  return nullptr;
}

Window* WindowAt(const void* base) {
  for (Window& w : tWindows)
    if (base != nullptr && w.base == base) return &w;
  return nullptr;
}

}  // namespace

const char* InputFile::MapPiece(std::uint64_t offset, std::size_t n, bool wypelnij) {
  ReleasePiece();
  std::call_once(gInstall, InstallGuard);
  Window* const w = FreeWindow();
  if (fd_ < 0 || n == 0 || !gGuarded || w == nullptr) {
    if (mapped_) throw EInOutError::FromErrno(EIO);
    return nullptr;
  }
  void* const p = ::mmap(nullptr, n, PROT_READ, MAP_PRIVATE | (wypelnij ? MAP_POPULATE : 0), fd_,
                         static_cast<off_t>(offset));
  if (p == MAP_FAILED) {
    if (mapped_) throw EInOutError::FromErrno(errno);
    return nullptr;
  }
  ::madvise(p, n, MADV_SEQUENTIAL);
  w->lost = 0;
  w->length = n;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  w->base = static_cast<char*>(p);
  piece_ = p;
  pieceLength_ = n;
  mapped_ = true;
  return static_cast<const char*>(p);
}

bool InputFile::PieceLost() const {
  const Window* const w = WindowAt(piece_);
  return w != nullptr && w->lost != 0;
}

void InputFile::ReleasePiece() noexcept {
  if (piece_ == nullptr) return;
  if (Window* const w = WindowAt(piece_)) {
    w->base = nullptr;
    std::atomic_signal_fence(std::memory_order_seq_cst);
  }
  ::munmap(piece_, pieceLength_);
  piece_ = nullptr;
  pieceLength_ = 0;
}

}  // namespace platform
