// The thread-local last error and the errno translation.
#include "platform/rtl/LastError.h"

#include <cerrno>

namespace {
thread_local DWORD tLastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD code) { tLastError = code; }

namespace platform {

DWORD ErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case EINVAL:
    case ENAMETOOLONG:
      return ERROR_INVALID_PARAMETER;
    case ENOSYS:
    case ENOTSUP:
      return ERROR_NOT_SUPPORTED;
    case ETIMEDOUT:
      return ERROR_TIMEOUT;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // over the file-size limit (SIGXFSZ is ignored, see IgnoreFileSizeSignal)
      return ERROR_DISK_FULL;
    default:
      return 0x20000000u | static_cast<DWORD>(err);  // the "customer" bit keeps them apart
  }
}

DWORD SetLastErrorFromErrno() {
  DWORD code = ErrorFromErrno(errno);
  SetLastError(code);
  return code;
}

}  // namespace platform
