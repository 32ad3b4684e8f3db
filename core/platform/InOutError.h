#pragma once
// The input/output error of every file operation: the system's error code
// and the message the user is shown for it.
#include <stdexcept>
#include <string>

namespace platform {

class EInOutError : public std::runtime_error {
 public:
  // A code of the program's own table (2 "File not found", 5 "File access
  // denied", 32 sharing conflict, 112 disk full, ...).
  explicit EInOutError(int code);
  EInOutError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

  // From a POSIX errno: mapped onto the table where the table has the case,
  // otherwise "I/O error <errno>".
  static EInOutError FromErrno(int err);
  // Another program holds the file in a way that forbids what was asked.
  static EInOutError SharingViolation();

  int Code() const { return code_; }
  // The errno behind the error, 0 when the program raised it on its own.
  int SystemErrno() const { return errno_; }
  static std::string MessageFor(int code);

 private:
  static EInOutError Mapped(int err);

  int code_;
  int errno_ = 0;
};

// A write refused because its target is the very file that must be kept
// (the checked file): access denied, told apart so that the caller can say
// why instead of blaming the user's rights.
class EProtectedTarget : public EInOutError {
 public:
  EProtectedTarget();
};

namespace io_codes {
inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kSharingViolation = 32;
inline constexpr int kDiskFull = 112;
// The program's own: the file changed while it was read.
inline constexpr int kFileChanged = 1001;
}  // namespace io_codes

}  // namespace platform
