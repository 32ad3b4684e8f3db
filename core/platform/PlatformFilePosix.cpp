#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/PlatformFile.h"

namespace platform {
namespace {

constexpr std::size_t kWriteBuffer = 1 << 20;

[[noreturn]] void ThrowErrno(int err) {
  throw EInOutError::FromErrno(err);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool LockedByAnother(int fd, short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;
  if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;  // no lock support: nothing to honour
  return fl.l_type != F_UNLCK;
}

// Writes everything or raises the error that stopped it.
void WriteAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t put = ::write(fd, p, n);
    if (put < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(errno);
    }
    p += put;
    n -= static_cast<std::size_t>(put);
  }
}

void CloseQuietly(int fd) {
  if (fd >= 0) ::close(fd);
}

std::int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

PathKind Inspect(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return PathKind::Missing;
    ThrowErrno(errno);
  }
  if (S_ISREG(st.st_mode)) return PathKind::Regular;
  if (S_ISDIR(st.st_mode)) return PathKind::Directory;
  return PathKind::Other;
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  std::string cwd;
  if (char* p = ::getcwd(nullptr, 0)) {
    cwd = p;
    std::free(p);
  }
  if (path.empty()) return cwd;
  if (cwd.empty() || cwd.back() != '/') cwd += '/';
  return cwd + path;
}

// ---- InputFile

InputFile::InputFile(const std::string& path) : path_(path) {
  // Non-blocking, so that a FIFO put in the file's place cannot hang us.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) ThrowErrno(errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    const int err = errno;
    CloseQuietly(fd_);
    ThrowErrno(err);
  }
  if (!S_ISREG(st.st_mode)) {
    // Devices, FIFOs and sockets never end or never start: refuse them.
    CloseQuietly(fd_);
    throw EInOutError(io_codes::kAccessDenied);
  }
  opened_.volume = static_cast<std::uint64_t>(st.st_dev);
  opened_.id = static_cast<std::uint64_t>(st.st_ino);
  opened_.size = static_cast<std::uint64_t>(st.st_size);
  opened_.modified = Nanoseconds(st.st_mtim);
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);

  struct flock fl {};
  fl.l_type = F_RDLCK;
  fl.l_whence = SEEK_SET;
  if (::fcntl(fd_, F_OFD_SETLK, &fl) != 0 && (errno == EAGAIN || errno == EACCES)) {
    CloseQuietly(fd_);
    throw EInOutError::SharingViolation();
  }
  ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
  ReleasePiece();
  StopMapper();
  CloseQuietly(fd_);
}

std::size_t InputFile::Read(char* buffer, std::size_t n) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, n);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) ThrowErrno(errno);
  }
}

bool InputFile::ChangedSinceOpen() const {
  struct stat now {};
  if (::fstat(fd_, &now) != 0) return true;
  Version v = opened_;
  v.size = static_cast<std::uint64_t>(now.st_size);
  v.modified = Nanoseconds(now.st_mtim);
  if (!(v == opened_)) return true;
  // Renamed over or deleted: what was read is a version the path no longer
  // leads to.
  struct stat named {};
  if (::stat(path_.c_str(), &named) != 0) return true;
  return named.st_dev != now.st_dev || named.st_ino != now.st_ino;
}

void InputFile::Close() {
  ReleasePiece();
  StopMapper();
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) ThrowErrno(errno);
}

// ---- AtomicOutputFile

AtomicOutputFile::AtomicOutputFile(const std::string& target, const std::string& protectedPath)
    : target_(target) {
  struct stat st {};
  bool keepMode = false;
  mode_t mode = 0;
  if (::lstat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throw EInOutError::FromErrno(EISDIR);
    if (S_ISREG(st.st_mode)) {
      // The new file keeps the old one's permissions, but never its set-id
      // bits: the writer may own the new file where it did not own the old.
      mode = st.st_mode & 0777;
      keepMode = true;
      // A read-only file stays read-only even for an administrator, as it
      // would on the system the users come from.
      if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw EInOutError::FromErrno(EACCES);
      if (!protectedPath.empty()) {
        struct stat src {};
        if (::stat(protectedPath.c_str(), &src) == 0 && src.st_dev == st.st_dev &&
            src.st_ino == st.st_ino)
          throw EProtectedTarget();
      }
      const int probe = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
      if (probe >= 0) {
        const bool locked = LockedByAnother(probe, F_WRLCK);
        CloseQuietly(probe);
        if (locked) throw EInOutError::SharingViolation();
      }
    }
    // A symbolic link is replaced by the new file, never written through.
  } else if (errno != ENOENT) {
    ThrowErrno(errno);
  }

  std::string pattern = FolderOf(target) + "/.~XXXXXX.tmp";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // Everything that can throw comes before the file exists: a constructor
  // that throws gets no destructor to remove it.
  buffer_.reserve(kWriteBuffer);
  temp_.reserve(name.size());
  fd_ = ::mkostemps(name.data(), 4, O_CLOEXEC);
  if (fd_ < 0) {
    temp_.clear();
    ThrowErrno(errno);
  }
  temp_.assign(name.data());
  if (!keepMode) {
    // A new name, or a link or other non-file being replaced: the mode a
    // newly created file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
}

AtomicOutputFile::~AtomicOutputFile() {
  if (!committed_) Discard();
}

void AtomicOutputFile::Discard() noexcept {
  CloseQuietly(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

void AtomicOutputFile::Write(const char* data, std::size_t n) {
  if (n >= kWriteBuffer) {
    Flush();
    WriteAll(fd_, data, n);
    Written(n);
    return;
  }
  if (buffer_.size() + n > kWriteBuffer) Flush();
  buffer_.insert(buffer_.end(), data, data + n);
}

void AtomicOutputFile::Flush() {
  WriteAll(fd_, buffer_.data(), buffer_.size());
  Written(buffer_.size());
  buffer_.clear();
}

// The disk is asked to start on every few MiB as they are written, so it
// writes while the rest is still being made and the flush in Commit waits
// for the last few only. A hint: its failure loses nothing, Commit's flush
// reports any error.
void AtomicOutputFile::Written(std::size_t n) {
  written_ += n;
#ifdef __linux__
  constexpr std::uint64_t kStartEvery = std::uint64_t{8} << 20;
  if (written_ - started_ >= kStartEvery) {
    ::sync_file_range(fd_, static_cast<off_t>(started_), static_cast<off_t>(written_ - started_),
                      SYNC_FILE_RANGE_WRITE);
    started_ = written_;
  }
#endif
}

void AtomicOutputFile::Commit() {
  Flush();
  if (::fsync(fd_) != 0) ThrowErrno(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) ThrowErrno(errno);
  committed_ = true;
  temp_.clear();
  // Make the rename itself durable; a failure here loses nothing.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace platform
