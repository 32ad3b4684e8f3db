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
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

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

// The piece [offset, offset + n) mapped now, to be read from its start to
// its end; MAP_FAILED, with the error, where it cannot be.
void* MapNow(int fd, std::uint64_t offset, std::size_t n, bool populate, int& err) {
  void* const p = ::mmap(nullptr, n, PROT_READ, MAP_PRIVATE | (populate ? MAP_POPULATE : 0), fd,
                         static_cast<off_t>(offset));
  err = p == MAP_FAILED ? errno : 0;
  if (p != MAP_FAILED) ::madvise(p, n, MADV_SEQUENTIAL);
  return p;
}

}  // namespace

// Maps the piece after the reader's while it reads one, and unmaps those it
// left. It never reads a piece's bytes, so a file that shrinks meanwhile
// raises its fault on the reader's thread, where the guard knows the piece.
struct InputFile::PieceMapper {
  explicit PieceMapper(int fd) : fd_(fd) {
    unmaps_.reserve(kQueue);
    thread_ = std::thread([this] { Run(); });
  }
  ~PieceMapper() {
    {
      std::lock_guard<std::mutex> lock(m_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
    // Mapped ahead and never taken: the reader stopped early.
    if (ahead_.done && ahead_.p != MAP_FAILED) ::munmap(ahead_.p, ahead_.n);
  }

  void Ahead(std::uint64_t offset, std::size_t n, bool populate) {
    std::lock_guard<std::mutex> lock(m_);
    if (ahead_.asked) return;  // one at a time: the reader takes it first
    ahead_ = {true, false, offset, n, populate, nullptr, 0};
    cv_.notify_all();
  }
  // The piece mapped ahead, when it is [offset, offset + n): true, with
  // its address or MAP_FAILED and the error. False when none was asked for
  // that place (one asked for another is unmapped).
  bool Take(std::uint64_t offset, std::size_t n, bool populate, void*& p, int& err) {
    std::unique_lock<std::mutex> lock(m_);
    if (!ahead_.asked) return false;
    cv_.wait(lock, [this] { return ahead_.done; });
    const Piece a = ahead_;
    ahead_ = {};
    if (a.offset == offset && a.n == n && a.populate == populate) {
      p = a.p;
      err = a.err;
      return true;
    }
    if (a.p != MAP_FAILED) {
      lock.unlock();
      ::munmap(a.p, a.n);
    }
    return false;
  }
  // False when the queue is full: the caller unmaps it itself.
  bool Unmap(void* p, std::size_t n) noexcept {
    {
      std::lock_guard<std::mutex> lock(m_);
      if (unmaps_.size() >= kQueue) return false;
      unmaps_.emplace_back(p, n);
    }
    cv_.notify_all();
    return true;
  }

 private:
  // Pieces left and not yet unmapped count in the memory the program holds:
  // one more waits at most, else the reader unmaps it itself.
  static constexpr std::size_t kQueue = 1;
  struct Piece {
    bool asked = false, done = false;
    std::uint64_t offset = 0;
    std::size_t n = 0;
    bool populate = false;
    void* p = nullptr;
    int err = 0;
  };

  void Run() {
    std::unique_lock<std::mutex> lock(m_);
    for (;;) {
      cv_.wait(lock,
               [this] { return stop_ || !unmaps_.empty() || (ahead_.asked && !ahead_.done); });
      // The reader may be waiting for the next piece: it goes first.
      if (ahead_.asked && !ahead_.done) {
        const Piece a = ahead_;
        lock.unlock();
        int err = 0;
        void* const p = MapNow(fd_, a.offset, a.n, a.populate, err);
        lock.lock();
        ahead_.p = p;
        ahead_.err = err;
        ahead_.done = true;
        cv_.notify_all();
        continue;
      }
      if (!unmaps_.empty()) {
        const auto [p, n] = unmaps_.back();
        unmaps_.pop_back();
        lock.unlock();
        ::munmap(p, n);
        lock.lock();
        continue;
      }
      if (stop_) return;
    }
  }

  const int fd_;
  std::mutex m_;
  std::condition_variable cv_;
  Piece ahead_;
  std::vector<std::pair<void*, std::size_t>> unmaps_;
  bool stop_ = false;
  std::thread thread_;
};

const char* InputFile::MapPiece(std::uint64_t offset, std::size_t n, bool wypelnij,
                                std::size_t nastepny) {
  ReleasePiece();
  std::call_once(gInstall, InstallGuard);
  Window* const w = FreeWindow();
  if (fd_ < 0 || n == 0 || !gGuarded || w == nullptr) {
    if (mapped_) throw EInOutError::FromErrno(EIO);
    return nullptr;
  }
  void* p = nullptr;
  int err = 0;
  if (mapper_ == nullptr || !mapper_->Take(offset, n, wypelnij, p, err))
    p = MapNow(fd_, offset, n, wypelnij, err);
  if (p == MAP_FAILED) {
    if (mapped_) throw EInOutError::FromErrno(err);
    return nullptr;
  }
  if (nastepny > 0) {
    try {
      if (mapper_ == nullptr) mapper_ = new PieceMapper(fd_);
      mapper_->Ahead(offset + n, nastepny, wypelnij);
    } catch (const std::exception&) {
      // No thread to spare: each piece is mapped when it is reached.
    }
  }
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
  if (mapper_ == nullptr || !mapper_->Unmap(piece_, pieceLength_)) ::munmap(piece_, pieceLength_);
  piece_ = nullptr;
  pieceLength_ = 0;
}

void InputFile::StopMapper() noexcept {
  delete mapper_;
  mapper_ = nullptr;
}

}  // namespace platform
