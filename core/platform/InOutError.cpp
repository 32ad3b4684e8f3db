#include "platform/InOutError.h"

#include <cerrno>

namespace platform {

EInOutError::EInOutError(int code) : std::runtime_error(MessageFor(code)), code_(code) {}

std::string EInOutError::MessageFor(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

EInOutError EInOutError::FromErrno(int err) {
  EInOutError e = Mapped(err);
  e.errno_ = err;
  return e;
}

EInOutError EInOutError::SharingViolation() {
  EInOutError e(io_codes::kSharingViolation);
  e.errno_ = EAGAIN;
  return e;
}

EProtectedTarget::EProtectedTarget() : EInOutError(FromErrno(EACCES)) {}

EInOutError EInOutError::Mapped(int err) {
  using namespace io_codes;
  switch (err) {
    case ENOENT:
      return EInOutError(kFileNotFound);
    case ENAMETOOLONG:
    case EINVAL:
    case ENOTDIR:
      return EInOutError(kInvalidFilename);
    case EMFILE:
    case ENFILE:
      return EInOutError(kTooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return EInOutError(kAccessDenied);
#ifdef EDQUOT
    case EDQUOT:
#endif
    case ENOSPC:
      return EInOutError(kDiskFull);
    default:
      // errno values overlap the table's codes (EIO is 5), so an unlisted
      // one is always shown by its number.
      return EInOutError(err, "I/O error " + std::to_string(err));
  }
}

}  // namespace platform
