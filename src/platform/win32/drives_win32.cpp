// The logical drives, their types and their free space, for the drive wipe's choice of drive.
#include "platform/platform.h"

#include <windows.h>

#include <winioctl.h>

// <windows.h> maps these names to their A/W variants; here they are this seam's own functions.
#undef GetDriveType
#undef GetDiskFreeSpace

#include "platform/win32/owned_handles.h"
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

std::optional<bool> DriveHasSeekPenalty(const std::string& path) {
  // The volume that holds the path, as "C:\" (or a mounted folder's volume), opened as a device with no
  // access at all: asking for a property needs none, and so needs no rights over the volume.
  std::wstring widePath = ToLongPathW(path);
  wchar_t volume[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(widePath.c_str(), volume, MAX_PATH)) return std::nullopt;
  std::wstring device(volume);
  if (device.size() >= 4 && device.compare(0, 4, L"\\\\?\\") == 0) device.erase(0, 4);
  if (device.size() < 2 || device[1] != L':') return std::nullopt;  // a share, or a mounted folder
  device = L"\\\\.\\" + device.substr(0, 2);
  UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  win32::UniqueHandle volumeHandle(
      CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  SetErrorMode(previousMode);
  if (!volumeHandle) return std::nullopt;
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceSeekPenaltyProperty;
  query.QueryType = PropertyStandardQuery;
  DEVICE_SEEK_PENALTY_DESCRIPTOR answer{};
  DWORD returned = 0;
  // Wine answers no storage property of a volume: the query fails there, and nothing is said.
  if (!DeviceIoControl(volumeHandle.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), &answer,
                       sizeof(answer), &returned, nullptr) ||
      returned < sizeof(answer)) {
    return std::nullopt;
  }
  return answer.IncursSeekPenalty != FALSE;
}

}  // namespace nullora::platform
