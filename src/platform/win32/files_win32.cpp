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

#include "platform/win32/handle_checks.h"
#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"
#include "platform/win32/win_errors.h"

namespace nullora::platform {

namespace {

using win32::CheckWriteHandle;
using win32::FromWin32Error;
using win32::HandleIsAt;
using win32::IsDevicePathW;
using win32::LastError;
using win32::RemoveKind;
using win32::RemoveThroughHandle;
using win32::ToLongPathW;
using win32::Utf8ToWide;
using win32::WideToUtf8;

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
// another handle holds exclusively can still be examined. A handle that reached something other than
// the entry the path names (Wine's host link to a file) makes the path a link.
std::optional<FileInfo> InfoFromHandle(const std::wstring& path) {
  win32::UniqueHandle handle(
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  win32::HandleInfo data;
  bool ok = win32::ReadHandleInfo(handle.Get(), &data);
  // A link to a directory shows its reparse point by name on Windows and under Wine alike; only a file
  // needs the handle's word.
  bool elsewhere = ok && !(data.attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) &&
                   !HandleIsAt(handle.Get(), path);
  if (!ok) return std::nullopt;
  if (elsewhere) data.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  return MakeInfo(data.attributes, static_cast<DWORD>(data.size >> 32), static_cast<DWORD>(data.size),
                  data.links);
}

HANDLE ToHandle(FileHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
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

bool FileHeldByAnother(const std::string& path) {
  // A wipe opens for writing and shares reading: that fails where another handle writes the file or
  // shares no reading, and so does this open for reading that shares reading only.
  HANDLE opened = CreateFileW(ToLongPathW(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(opened);
  return false;
}

IoError OsOpen(const std::string& path, Access access, unsigned share, Disposition disposition,
               FileHandle* handle) {
  *handle = kInvalidHandle;
  std::wstring widePath = ToLongPathW(path);
  if (IsDevicePathW(widePath)) return IoError::NotAFile;
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
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT;
  auto open = [&](DWORD creation) {
    return CreateFileW(widePath.c_str(), desiredAccess, shareMode, nullptr, creation, flags, nullptr);
  };

  HANDLE opened = INVALID_HANDLE_VALUE;
  bool created = false;
  if (disposition != Disposition::OpenExisting) {
    // A file is created only where no name is at all: creating through a link that leads nowhere
    // (Wine follows a host link there) would make its target, outside the place asked for.
    opened = open(CREATE_NEW);
    if (opened != INVALID_HANDLE_VALUE) {
      created = true;
    } else if (DWORD code = GetLastError(); code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
      return FromWin32Error(code);
    }
  }
  if (opened == INVALID_HANDLE_VALUE) {
    opened = open(OPEN_EXISTING);
    if (opened == INVALID_HANDLE_VALUE) {
      DWORD code = GetLastError();
      // A name that exists but opens as nothing is a link whose target is missing.
      if (disposition != Disposition::OpenExisting &&
          (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)) {
        return IoError::IsLink;
      }
      return FromWin32Error(code);
    }
  }

  // Closed on every way out but the one that hands it over.
  win32::UniqueHandle owned(opened);
  // What the handle reached decides, whatever the name showed a moment before.
  IoError error = CheckWriteHandle(opened, widePath);
  if (error == IoError::None && disposition == Disposition::CreateAlways && !created) {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(opened, zero, nullptr, FILE_BEGIN) || !SetEndOfFile(opened)) error = LastError();
  }
  if (error != IoError::None) return error;
  *handle = reinterpret_cast<FileHandle>(owned.Release());
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

IoError OsOpenReadBack(const std::string& path, FileHandle* handle) {
  *handle = kInvalidHandle;
  std::wstring widePath = ToLongPathW(path);
  if (IsDevicePathW(widePath)) return IoError::NotAFile;
  if (IsLinkAttributes(GetFileAttributesW(widePath.c_str()))) return IoError::IsLink;
  auto open = [&](DWORD flags) {
    return CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, flags | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
                       nullptr);
  };
  // Unbuffered reads come from the medium, not from what the cache still holds of the writes. Wine takes
  // the flag and reads through the host's cache; a file system that refuses it is read as it allows.
  HANDLE opened = open(FILE_FLAG_NO_BUFFERING);
  if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) opened = open(0);
  if (opened == INVALID_HANDLE_VALUE) return LastError();
  if (!HandleIsAt(opened, widePath)) {
    CloseHandle(opened);
    return IoError::IsLink;
  }
  *handle = reinterpret_cast<FileHandle>(opened);
  return IoError::None;
}

IoError OsReadAt(FileHandle handle, uint64_t offset, void* data, size_t length, size_t* got) {
  *got = 0;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(ToHandle(handle), position, nullptr, FILE_BEGIN)) return LastError();
  // One read: a disk file gives all it has up to its end at once, and a second, unaligned read after a
  // short one would be refused unbuffered.
  DWORD read = 0;
  if (!ReadFile(ToHandle(handle), data, static_cast<DWORD>(length), &read, nullptr)) return LastError();
  *got = read;
  return IoError::None;
}

void* OsAllocateAligned(size_t size) {
  // Whole pages, which every sector size divides.
  return VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void OsFreeAligned(void* memory) {
  VirtualFree(memory, 0, MEM_RELEASE);
}

void OsClose(FileHandle handle) {
  if (handle != kInvalidHandle) CloseHandle(ToHandle(handle));
}

IoError DeleteFile(const std::string& path) {
  return RemoveThroughHandle(ToLongPathW(path), RemoveKind::FileOrLink);
}

IoError MoveFile(const std::string& from, const std::string& to) {
  std::wstring wideFrom = ToLongPathW(from);
  // Wine renames through a host link onto what it points to: a name that leads elsewhere stays.
  {
    win32::UniqueHandle handle(
        CreateFileW(wideFrom.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return LastError();
    if (!HandleIsAt(handle.Get(), wideFrom)) return IoError::IsLink;
  }
  if (!MoveFileExW(wideFrom.c_str(), ToLongPathW(to).c_str(), 0)) return LastError();
  return IoError::None;
}

std::string FullPathName(const std::string& path) {
  std::wstring wide = Utf8ToWide(path);
  return wide.empty() ? std::string() : WideToUtf8(win32::FullPathW(wide));
}

std::string LongPathName(const std::string& path) {
  std::wstring wide = ToLongPathW(path);
  if (wide.empty()) return path;
  DWORD needed = GetLongPathNameW(wide.c_str(), nullptr, 0);
  while (needed != 0) {
    std::wstring longPath(needed, L'\0');
    DWORD written = GetLongPathNameW(wide.c_str(), longPath.data(), needed);
    if (written == 0) break;
    if (written < needed) {
      longPath.resize(written);
      // The prefix ToLongPathW may have added is not part of the answer.
      if (!win32::IsPrefixed(Utf8ToWide(path)) && win32::IsPrefixed(longPath)) {
        longPath = win32::StartsWithText(longPath, L"\\\\?\\UNC\\") ? L"\\\\" + longPath.substr(8)
                                                                    : longPath.substr(4);
      }
      return WideToUtf8(longPath);
    }
    needed = written;
  }
  return path;
}

std::string LibraryPath(const std::string& path) {
  return path;
}

std::string FoldCase(const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  if (wide.empty()) return text;
  // The invariant upper case is the one the file systems compare names by.
  int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(),
                             static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr, 0);
  if (length <= 0) return text;
  std::wstring upper(static_cast<size_t>(length), L'\0');
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), static_cast<int>(wide.size()),
                upper.data(), length, nullptr, nullptr, 0);
  return WideToUtf8(upper);
}

}  // namespace nullora::platform
