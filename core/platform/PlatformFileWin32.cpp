// The file layer on Windows. Paths are UTF-8 inside the program and UTF-16
// at the system, so every name the user can type works whatever the ANSI
// code page. A failure raises the input/output error with the system's own
// code from GetLastError, which the message table is written for.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/PlatformFile.h"

namespace platform {
namespace {

constexpr std::size_t kWriteBuffer = 1 << 20;
// ReadFile and WriteFile take a DWORD count; stay well inside it.
constexpr std::size_t kMaxTransfer = 1 << 30;

[[noreturn]] void ThrowCode(DWORD code) {
  throw EInOutError(static_cast<int>(code));
}
[[noreturn]] void ThrowLastError() {
  ThrowCode(::GetLastError());
}

// A kernel handle fits in 32 bits on 64-bit Windows (so that 32-bit
// programs can share them), which lets the header keep one int for both
// systems; INVALID_HANDLE_VALUE becomes -1, the "none" of a descriptor.
int ToInt(HANDLE h) {
  return static_cast<int>(HandleToLong(h));
}
HANDLE ToHandle(int fd) {
  return LongToHandle(fd);
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  if (utf8.size() > 0x7fffffff) ThrowCode(ERROR_FILENAME_EXCED_RANGE);
  const int n = static_cast<int>(utf8.size());
  const int wide = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), n, nullptr, 0);
  // A name that is not UTF-8 cannot be any file's name here.
  if (wide <= 0) throw EInOutError(io_codes::kInvalidFilename);
  std::wstring out(static_cast<std::size_t>(wide), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), n, out.data(), wide);
  return out;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = static_cast<int>(wide.size());
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0)
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::wstring FullPath(const std::wstring& path) {
  DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  for (;;) {
    if (size == 0) ThrowLastError();
    std::wstring full(size, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (got == 0) ThrowLastError();
    if (got < size) {
      full.resize(got);
      return full;
    }
    size = got;  // the current folder changed in between
  }
}

// The name handed to the system. A path too long for the classic limit is
// made absolute and given the prefix that lifts it, so a deep folder works
// as well as a short one.
std::wstring SystemPath(const std::string& utf8) {
  std::wstring path = Wide(utf8);
  if (path.size() < MAX_PATH - 12 || path.starts_with(L"\\\\?\\")) return path;
  std::wstring full = FullPath(path);
  if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// The folder part of a path with its separator ("" for a bare name), where
// the temporary file of a save goes.
std::string FolderPrefix(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  if (slash != std::string::npos) return path.substr(0, slash + 1);
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  return {};
}

// The file a path names now, as the system tells files apart.
bool IdentityOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
  ::CloseHandle(h);
  return ok;
}

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& x, const BY_HANDLE_FILE_INFORMATION& y) {
  return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  return IdentityOf(a, x) && IdentityOf(b, y) && SameIdentity(x, y);
}

std::uint64_t Join(DWORD high, DWORD low) {
  return (std::uint64_t{high} << 32) | low;
}

void WriteAll(HANDLE h, const char* p, std::size_t n) {
  while (n > 0) {
    const DWORD chunk = static_cast<DWORD>(n < kMaxTransfer ? n : kMaxTransfer);
    DWORD put = 0;
    if (!::WriteFile(h, p, chunk, &put, nullptr)) ThrowLastError();
    if (put == 0) ThrowCode(ERROR_DISK_FULL);
    p += put;
    n -= put;
  }
}

void CloseQuietly(int fd) {
  if (fd != -1) ::CloseHandle(ToHandle(fd));
}

}  // namespace

PathKind Inspect(const std::string& path) {
  const std::wstring name = SystemPath(path);
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) return PathKind::Missing;
    // A name the system cannot take at all (a "?" in it, a folder part
    // that is a file) says so instead of "not found".
    if (err == ERROR_INVALID_NAME || err == ERROR_BAD_PATHNAME || err == ERROR_DIRECTORY ||
        err == ERROR_FILENAME_EXCED_RANGE)
      throw EInOutError(io_codes::kInvalidFilename);
    ThrowCode(err);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Directory;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return PathKind::Other;
  return PathKind::Regular;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return Utf8(FullPath(L"."));
  return Utf8(FullPath(Wide(path)));
}

// ---- InputFile

InputFile::InputFile(const std::string& path) : path_(path) {
  // Others may read the file while we do, nobody may write it: the open
  // fails with 32 when another program already holds it for writing.
  HANDLE h =
      ::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) ThrowLastError();
  fd_ = ToInt(h);
  if (::GetFileType(h) != FILE_TYPE_DISK) {
    // A device (CON, a pipe) never ends or never starts: refuse it.
    CloseQuietly(fd_);
    fd_ = -1;
    throw EInOutError(io_codes::kAccessDenied);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h, &info)) {
    const DWORD err = ::GetLastError();
    CloseQuietly(fd_);
    fd_ = -1;
    ThrowCode(err);
  }
  opened_.volume = info.dwVolumeSerialNumber;
  opened_.id = Join(info.nFileIndexHigh, info.nFileIndexLow);
  opened_.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
  opened_.modified = static_cast<std::int64_t>(
      Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
}

InputFile::~InputFile() {
  CloseQuietly(fd_);
}

std::size_t InputFile::Read(char* buffer, std::size_t n) {
  const DWORD chunk = static_cast<DWORD>(n < kMaxTransfer ? n : kMaxTransfer);
  DWORD got = 0;
  if (!::ReadFile(ToHandle(fd_), buffer, chunk, &got, nullptr)) {
    const DWORD err = ::GetLastError();
    if (err == ERROR_HANDLE_EOF || err == ERROR_BROKEN_PIPE) return 0;
    ThrowCode(err);
  }
  return got;
}

bool InputFile::ChangedSinceOpen() const {
  // Nobody may write, rename or delete the file while we hold it, so this
  // only tells more where another system shares the file with us.
  BY_HANDLE_FILE_INFORMATION now{};
  if (!::GetFileInformationByHandle(ToHandle(fd_), &now)) return true;
  Version v = opened_;
  v.size = Join(now.nFileSizeHigh, now.nFileSizeLow);
  v.modified = static_cast<std::int64_t>(
      Join(now.ftLastWriteTime.dwHighDateTime, now.ftLastWriteTime.dwLowDateTime));
  if (!(v == opened_)) return true;
  BY_HANDLE_FILE_INFORMATION named{};
  try {
    if (!IdentityOf(SystemPath(path_), named)) return true;
  } catch (const EInOutError&) {
    return true;
  }
  return !SameIdentity(named, now);
}

void InputFile::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (fd != -1 && !::CloseHandle(ToHandle(fd))) ThrowLastError();
}

// A mapped view that loses its file's pages raises an exception Windows
// structures itself, which the program could not turn into an error of its
// own: files are read here.
const char* InputFile::MapPiece(std::uint64_t, std::size_t, bool, std::size_t) {
  return nullptr;
}

bool InputFile::PieceLost() const {
  return false;
}

void InputFile::ReleasePiece() noexcept {}

void InputFile::StopMapper() noexcept {}

// ---- AtomicOutputFile

AtomicOutputFile::AtomicOutputFile(const std::string& target, const std::string& protectedPath)
    : target_(target) {
  const std::wstring wideTarget = SystemPath(target);
  // Read-only binds every user on Windows; wine run by root would let the
  // open below through, so ask the attribute itself.
  const DWORD attributes = ::GetFileAttributesW(wideTarget.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw EInOutError(io_codes::kAccessDenied);
  // The target is asked for as a plain save would create it (write access,
  // others may only read), without touching its content: a read-only file
  // or a folder gives 5, a file another program holds for writing 32.
  HANDLE probe = ::CreateFileW(wideTarget.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    ::CloseHandle(probe);
    if (!protectedPath.empty() && SameFile(wideTarget, SystemPath(protectedPath)))
      throw EProtectedTarget();
  } else {
    const DWORD err = ::GetLastError();
    if (err != ERROR_FILE_NOT_FOUND) ThrowCode(err);
  }

  // Everything that can throw comes before the file exists: a constructor
  // that throws gets no destructor to remove it.
  buffer_.reserve(kWriteBuffer);
  const std::string folder = FolderPrefix(target);
  LARGE_INTEGER tick{};
  ::QueryPerformanceCounter(&tick);
  std::uint64_t seed = static_cast<std::uint64_t>(tick.QuadPart) ^
                       (std::uint64_t{::GetCurrentProcessId()} << 32) ^
                       reinterpret_cast<std::uintptr_t>(this);
  constexpr char kHex[] = "0123456789abcdef";
  for (int attempt = 0; attempt < 100; ++attempt) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    std::string name = folder + ".~";
    for (int i = 0; i < 8; ++i) name += kHex[(seed >> (60 - 4 * i)) & 15];
    name += ".tmp";
    HANDLE h = ::CreateFileW(SystemPath(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      temp_ = std::move(name);
      fd_ = ToInt(h);
      return;
    }
    const DWORD err = ::GetLastError();
    if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) ThrowCode(err);
  }
  ThrowCode(ERROR_FILE_EXISTS);
}

AtomicOutputFile::~AtomicOutputFile() {
  if (!committed_) Discard();
}

void AtomicOutputFile::Discard() noexcept {
  CloseQuietly(fd_);
  fd_ = -1;
  if (!temp_.empty()) {
    try {
      ::DeleteFileW(SystemPath(temp_).c_str());
    } catch (...) {
      // The name was made here and converts; nothing more to do if not.
    }
  }
  temp_.clear();
}

void AtomicOutputFile::Write(const char* data, std::size_t n) {
  if (n >= kWriteBuffer) {
    Flush();
    WriteAll(ToHandle(fd_), data, n);
    return;
  }
  if (buffer_.size() + n > kWriteBuffer) Flush();
  buffer_.insert(buffer_.end(), data, data + n);
}

void AtomicOutputFile::Flush() {
  WriteAll(ToHandle(fd_), buffer_.data(), buffer_.size());
  buffer_.clear();
}

void AtomicOutputFile::Commit() {
  Flush();
  if (!::FlushFileBuffers(ToHandle(fd_))) ThrowLastError();
  const int fd = fd_;
  fd_ = -1;
  if (!::CloseHandle(ToHandle(fd))) ThrowLastError();
  // Fails (5 or 32) when another program opened the target meanwhile; the
  // target then keeps its content and the destructor removes ours.
  if (!::MoveFileExW(SystemPath(temp_).c_str(), SystemPath(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    ThrowLastError();
  committed_ = true;
  temp_.clear();
}

}  // namespace platform
