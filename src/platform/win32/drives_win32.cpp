// The logical drives, their types and their free space, for the drive wipe's choice of drive.
#include "platform/platform.h"

#include <windows.h>

// <windows.h> maps these names to their A/W variants; here they are this seam's own functions.
#undef GetDriveType
#undef GetDiskFreeSpace

#include "platform/win32/unicode.h"
#include "platform/win32/win_errors.h"

namespace nullora::platform {

namespace {

using win32::FromWin32Error;
using win32::LastError;
using win32::ToLongPathW;
using win32::Utf8ToWide;
using win32::WideToUtf8;


}  // namespace

std::vector<std::string> LogicalDrives() {
  std::vector<std::string> roots;
  std::wstring buffer;
  DWORD needed = GetLogicalDriveStringsW(0, nullptr);
  // A drive may appear between the two calls; the second then asks for more again.
  while (needed != 0) {
    buffer.assign(needed, L'\0');
    DWORD written = GetLogicalDriveStringsW(needed, buffer.data());
    if (written == 0) return roots;
    if (written < needed) {
      buffer.resize(written);
      break;
    }
    needed = written + 1;
  }
  // "A:\", "C:\"... one after the other, each ended by a NUL.
  size_t start = 0;
  while (start < buffer.size()) {
    size_t end = buffer.find(L'\0', start);
    if (end == std::wstring::npos) end = buffer.size();
    if (end > start) roots.push_back(WideToUtf8(buffer.data() + start, end - start));
    start = end + 1;
  }
  return roots;
}

int GetDriveType(const std::string& root) {
  if (root.empty()) return DRIVE_NO_ROOT_DIR;
  std::wstring wideRoot = Utf8ToWide(root);
  // The call wants the root with its backslash; "C:" alone names drive C's current directory.
  if (wideRoot.back() != L'\\' && wideRoot.back() != L'/') wideRoot += L'\\';
  return static_cast<int>(GetDriveTypeW(wideRoot.c_str()));
}

IoError GetDiskFreeSpace(const std::string& path, DiskSpace* space) {
  *space = DiskSpace{};
  ULARGE_INTEGER freeToCaller;
  ULARGE_INTEGER total;
  ULARGE_INTEGER totalFree;
  // A drive without a medium would otherwise put up the system's "insert a disk" box.
  UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  BOOL ok = GetDiskFreeSpaceExW(ToLongPathW(path).c_str(), &freeToCaller, &total, &totalFree);
  DWORD code = GetLastError();
  SetErrorMode(previousMode);
  if (!ok) return code == ERROR_SUCCESS ? IoError::Other : FromWin32Error(code);
  space->freeToCaller = freeToCaller.QuadPart;
  space->total = total.QuadPart;
  space->totalFree = totalFree.QuadPart;
  return IoError::None;
}

}  // namespace nullora::platform
