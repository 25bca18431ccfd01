#include "platform/win32/win_errors.h"

namespace nullora::platform::win32 {

IoError FromWin32Error(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return IoError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
      return IoError::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return IoError::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return IoError::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:  // the file system ends a file there (4 GiB on FAT32): no more room in it
      return IoError::DiskFull;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return IoError::AlreadyExists;
    default:
      return IoError::Other;
  }
}

}  // namespace nullora::platform::win32
