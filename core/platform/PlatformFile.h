#pragma once
// The thin layer between the program and the operating system's files.
// Every failure is raised as EInOutError. This is the only place that knows
// the system: PlatformFilePosix.cpp or PlatformFileWin32.cpp. Paths are UTF-8
// on both.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/InOutError.h"

namespace platform {

enum class PathKind { Missing, Regular, Directory, Other };

// What a path names, following links. A path whose folders do not exist is
// Missing; any other failure (no permission, a loop of links) is raised.
PathKind Inspect(const std::string& path);

// The path made absolute against the current folder (links are kept).
std::string AbsolutePath(const std::string& path);

// Whether InputFile maps pieces of a file at all (MapPiece): not on Windows.
#if defined(_WIN32)
inline constexpr bool kMapsFiles = false;
#else
inline constexpr bool kMapsFiles = true;
#endif

// A regular file open for reading only. While it is open, other programs
// may read it but not write it, and it refuses to open (code 32) when another
// program holds it for writing. On POSIX this is a shared lock on the whole
// file, advisory, so only programs that ask for locks see it; on Windows it
// is the sharing mode of the open.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Size when it was opened; the file may change while it is read.
  std::uint64_t SizeHint() const { return opened_.size; }
  // Both were opened on one version of one file: the same file, of the
  // same size and time of last change.
  bool SameVersionAs(const InputFile& other) const { return opened_ == other.opened_; }
  // Up to n bytes; 0 at the end of the file.
  std::size_t Read(char* buffer, std::size_t n);
  // The bytes [offset, offset + n) mapped into memory, for a reader that
  // need not copy them; `offset` is a multiple of the page size. Valid
  // until the next piece is mapped or the file is closed. The first piece
  // is nullptr where the system or the file does not allow it, and the
  // caller reads instead; a later piece that cannot be mapped raises.
  // Should the file lose bytes of a piece while they are read (it shrank,
  // or its medium failed), they read as zero to the end of the page the
  // file now ends in and as the end-of-text byte 1A after it, so that no
  // reader goes far past them, and PieceLost() is true. On Windows no
  // piece is mapped. With `wypelnij` the system maps every page of the
  // piece at once (MAP_POPULATE) instead of page by page as they are read.
  // With `nastepny`, the piece of that many bytes after this one is mapped
  // meanwhile on a thread of its own, and a piece left is unmapped there:
  // setting a piece's pages up and tearing them down costs about what
  // reading them does, and need not be paid on the reader's thread.
  const char* MapPiece(std::uint64_t offset, std::size_t n, bool wypelnij = false,
                       std::size_t nastepny = 0);
  bool PieceLost() const;
  // True when the file is no longer as it was opened: its size or its time
  // of last modification differ, or its path now names another file or
  // none. A reader asks this after the last read to know whether what it
  // read is one version of the file. Needs the file open.
  bool ChangedSinceOpen() const;
  void Close();

 private:
  // What tells one version of a file from another.
  struct Version {
    std::uint64_t volume = 0;
    std::uint64_t id = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // on the system's own clock and unit
    bool operator==(const Version&) const = default;
  };

  void ReleasePiece() noexcept;
  void StopMapper() noexcept;

  std::string path_;
  int fd_ = -1;  // on Windows the handle, which fits in 32 bits
  Version opened_;
  void* piece_ = nullptr;  // the mapped piece, if any
  std::size_t pieceLength_ = 0;
  bool mapped_ = false;  // a piece was mapped: later ones must be too
  // The thread that maps pieces ahead, once one was asked for (POSIX).
  struct PieceMapper;
  PieceMapper* mapper_ = nullptr;
};

// A file that replaces its target whole or not at all: it is written under
// a temporary name in the target's folder, flushed to disk and renamed over
// the target on Commit. Until then, and after any failure, the target keeps
// its former content and the temporary file is removed.
class AtomicOutputFile {
 public:
  // Refuses a target that is read-only (code 5), that is the very file
  // `protectedPath` names (EProtectedTarget, code 5), or that another
  // program holds for writing (code 32; on POSIX, under an exclusive lock).
  explicit AtomicOutputFile(const std::string& target, const std::string& protectedPath = {});
  ~AtomicOutputFile();
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

  void Write(const char* data, std::size_t n);
  void Commit();

 private:
  void Flush();
  void Written(std::size_t n);
  void Discard() noexcept;

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
  std::vector<char> buffer_;
  // Bytes written, and how many of them the disk was asked to start on.
  std::uint64_t written_ = 0;
  std::uint64_t started_ = 0;
};

}  // namespace platform
