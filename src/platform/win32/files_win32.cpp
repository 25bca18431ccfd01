// Files through the W functions. A wipe overwrites whatever it opens, so nothing here follows a link:
// every open asks for the reparse point itself and refuses it.
#include "platform/platform.h"

#include <windows.h>

// <windows.h> maps these names to their A/W variants; here they are this seam's own functions.
#undef GetFileAttributes
#undef SetFileAttributes
#undef DeleteFile
#undef MoveFile

#include <algorithm>

#include "platform/win32/unicode.h"
#include "platform/win32/win_errors.h"

namespace nullora::platform {

namespace {

using win32::FromWin32Error;
using win32::LastError;
using win32::ToLongPathW;


FileInfo MakeInfo(DWORD attributes, DWORD sizeHigh, DWORD sizeLow, DWORD linkCount) {
  FileInfo info;
  info.attributes = attributes;
  info.isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  info.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.size = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
  info.linkCount = linkCount;
  return info;
}

// What the directory says about the path. It is there even for files that cannot be opened at all
// (the paging file, say), but knows nothing of hard links.
std::optional<FileInfo> InfoFromEntry(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return MakeInfo(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, 1);
}

// What the file itself says, opened without following a link. No access is asked for, so a file that
// another handle holds exclusively can still be examined.
std::optional<FileInfo> InfoFromHandle(const std::wstring& path) {
  HANDLE handle =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION data;
  BOOL ok = GetFileInformationByHandle(handle, &data);
  CloseHandle(handle);
  if (!ok) return std::nullopt;
  return MakeInfo(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.nNumberOfLinks);
}

// Removes the directory link at `path` through a handle on the link itself, so that only the object
// checked is removed. RemoveDirectoryW by name is not safe here: Wine resolves a host link and would
// remove an empty target directory instead.
IoError RemoveDirectoryLink(const std::wstring& path) {
  HANDLE handle = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  BY_HANDLE_FILE_INFORMATION data;
  IoError error = IoError::None;
  if (!GetFileInformationByHandle(handle, &data)) {
    error = IoError::Other;
  } else if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    // The handle reached the target, not the link: nothing is removed.
    error = IoError::IsLink;
  } else {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition)) {
      error = LastError();
    }
  }
  CloseHandle(handle);
  return error;
}

HANDLE ToHandle(FileHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

DWORD ToCreationDisposition(Disposition disposition) {
  switch (disposition) {
    case Disposition::OpenExisting:
      return OPEN_EXISTING;
    case Disposition::OpenAlways:
      return OPEN_ALWAYS;
    case Disposition::CreateAlways:
      return CREATE_ALWAYS;
  }
  return OPEN_EXISTING;
}

bool IsLinkAttributes(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

uint32_t GetFileAttributes(const std::string& path) {
  return GetFileAttributesW(ToLongPathW(path).c_str());
}

IoError SetFileAttributes(const std::string& path, uint32_t attributes) {
  if (!SetFileAttributesW(ToLongPathW(path).c_str(), attributes)) return LastError();
  return IoError::None;
}

std::optional<FileInfo> QueryFileInfo(const std::string& path) {
  std::wstring widePath = ToLongPathW(path);
  std::optional<FileInfo> fromEntry = InfoFromEntry(widePath);
  std::optional<FileInfo> fromHandle = InfoFromHandle(widePath);
  // A handle that does not show the link the directory entry shows was opened on the link's target
  // (Wine does that with host links): the entry describes the path itself.
  if (fromEntry && fromEntry->isLink && !(fromHandle && fromHandle->isLink)) return fromEntry;
  return fromHandle ? fromHandle : fromEntry;
}

IoError OsOpen(const std::string& path, Access access, unsigned share, Disposition disposition,
               FileHandle* handle) {
  *handle = kInvalidHandle;
  std::wstring widePath = ToLongPathW(path);
  DWORD attributes = GetFileAttributesW(widePath.c_str());
  // Creating or truncating over a link would replace the link, not reach its target; refuse it
  // before anything happens rather than find out afterwards.
  if (IsLinkAttributes(attributes)) return IoError::IsLink;
  // Windows refuses to write a read-only file, and the wipe relies on that refusal to know it must
  // clear the attribute first; Wine run by root would write it anyway.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return IoError::AccessDenied;
  }

  DWORD desiredAccess = access == Access::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE;
  DWORD shareMode = 0;
  if (share & kShareRead) shareMode |= FILE_SHARE_READ;
  if (share & kShareWrite) shareMode |= FILE_SHARE_WRITE;
  HANDLE opened =
      CreateFileW(widePath.c_str(), desiredAccess, shareMode, nullptr, ToCreationDisposition(disposition),
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return LastError();

  // The path may have been swapped for a link between the check and the open: the handle tells.
  BY_HANDLE_FILE_INFORMATION data;
  if (!GetFileInformationByHandle(opened, &data)) {
    IoError error = LastError();
    CloseHandle(opened);
    return error == IoError::None ? IoError::Other : error;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    CloseHandle(opened);
    return IoError::IsLink;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    CloseHandle(opened);
    return IoError::AccessDenied;
  }
  *handle = reinterpret_cast<FileHandle>(opened);
  return IoError::None;
}

IoError OsWriteAt(FileHandle handle, uint64_t offset, const void* data, size_t length) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(ToHandle(handle), position, nullptr, FILE_BEGIN)) return LastError();
  const auto* bytes = static_cast<const uint8_t*>(data);
  // WriteFile takes a DWORD count; larger buffers go in slices.
  constexpr size_t kMaxSlice = 64u << 20;
  while (length > 0) {
    DWORD slice = static_cast<DWORD>(std::min(length, kMaxSlice));
    DWORD written = 0;
    if (!WriteFile(ToHandle(handle), bytes, slice, &written, nullptr)) return LastError();
    if (written == 0) return IoError::Other;
    bytes += written;
    length -= written;
  }
  return IoError::None;
}

IoError OsLength(FileHandle handle, uint64_t* length) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(ToHandle(handle), &size)) return LastError();
  *length = static_cast<uint64_t>(size.QuadPart);
  return IoError::None;
}

IoError OsSetLength(FileHandle handle, uint64_t length) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(length);
  if (!SetFilePointerEx(ToHandle(handle), position, nullptr, FILE_BEGIN)) return LastError();
  if (!SetEndOfFile(ToHandle(handle))) return LastError();
  return IoError::None;
}

IoError OsFlush(FileHandle handle) {
  if (!FlushFileBuffers(ToHandle(handle))) return LastError();
  return IoError::None;
}

void OsClose(FileHandle handle) {
  if (handle != kInvalidHandle) CloseHandle(ToHandle(handle));
}

IoError DeleteFile(const std::string& path) {
  std::wstring widePath = ToLongPathW(path);
  DWORD attributes = GetFileAttributesW(widePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    // A directory link or junction goes as a link; its target's content is left alone. A real
    // directory is never removed from here.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return IoError::AccessDenied;
    return RemoveDirectoryLink(widePath);
  }
  if (!DeleteFileW(widePath.c_str())) return LastError();
  return IoError::None;
}

IoError MoveFile(const std::string& from, const std::string& to) {
  if (!MoveFileExW(ToLongPathW(from).c_str(), ToLongPathW(to).c_str(), 0)) return LastError();
  return IoError::None;
}

}  // namespace nullora::platform
