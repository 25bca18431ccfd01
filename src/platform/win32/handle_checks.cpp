#include "platform/win32/handle_checks.h"

#include "platform/path_names.h"
#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"
#include "platform/win32/win_errors.h"

namespace nullora::platform::win32 {

namespace {

// "\\?\C:\dir\name" -> "\\?\C:\dir"; a root keeps its separator ("\\?\C:\"). Empty for a root itself.
std::wstring FolderOf(const std::wstring& fullPath) {
  std::wstring path = fullPath;
  while (path.size() > 1 && IsSlash(path.back())) path.pop_back();
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == path.size()) return {};
  std::wstring folder = path.substr(0, slash + 1);
  // The folder of "C:\name" and of "\\?\C:\name" is the root, which keeps its separator.
  std::wstring withoutPrefix = StartsWithText(folder, L"\\\\?\\") ? folder.substr(4) : folder;
  bool root = withoutPrefix.size() == 3 && withoutPrefix[1] == L':';
  if (!root) folder.pop_back();
  // "\\server\share" and "\\?\UNC\server\share" have no folder a name can be compared against.
  if (folder.size() <= 2 || SameText(folder, L"\\\\?\\UNC")) return {};
  return folder;
}

std::wstring LeafOf(const std::wstring& path) {
  std::wstring trimmed = path;
  while (!trimmed.empty() && IsSlash(trimmed.back())) trimmed.pop_back();
  size_t slash = trimmed.find_last_of(L"\\/");
  return slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);
}

// The entry's name as its folder lists it: the long name for a short one, the stored case.
std::wstring ListedName(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  UniqueFind search(
      FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
  if (!search.Valid()) return LeafOf(path);
  return found.cFileName;
}

}  // namespace

std::wstring FinalPathOf(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD length =
        GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.assign(length + 1, L'\0');
  }
  return {};
}

bool ReadHandleInfo(HANDLE handle, HandleInfo* info) {
  FILE_BASIC_INFO basic;
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard)) {
    return false;
  }
  info->attributes = basic.FileAttributes;
  if (standard.Directory) info->attributes |= FILE_ATTRIBUTE_DIRECTORY;
  info->size = static_cast<uint64_t>(standard.EndOfFile.QuadPart);
  info->links = standard.NumberOfLinks;
  return true;
}

namespace {

// Where a folder really is, kept for the folder last asked about: a job takes the files of a folder one
// after the other. A folder replaced since (by a link to elsewhere) only makes its files' final paths
// differ from what is kept, and they are refused: the cache can only make the check stricter.
std::wstring FolderReached(const std::wstring& folder) {
  static std::wstring lastFolder;
  static std::wstring lastReached;
  if (!lastReached.empty() && SameText(folder, lastFolder)) return lastReached;
  // Opened through whatever links lead to it: the file must lie in it, wherever that is.
  UniqueHandle folderHandle(CreateFileW(folder.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folderHandle) return {};
  std::wstring reached = FinalPathOf(folderHandle.Get());
  if (reached.empty()) return {};
  if (!IsSlash(reached.back())) reached += L'\\';
  lastFolder = folder;
  lastReached = reached;
  return reached;
}

}  // namespace

bool HandleIsAt(HANDLE handle, const std::wstring& path) {
  std::wstring reached = FinalPathOf(handle);
  if (reached.empty()) return true;
  std::wstring full = IsPrefixed(path) ? path : FullPathW(path);
  std::wstring folder = FolderOf(full);
  if (folder.empty()) return true;  // a root is where it is
  std::wstring folderReached = FolderReached(folder);
  if (folderReached.empty()) return true;
  // The name as given, else as the folder lists it (a short name, another case).
  return SameText(reached, folderReached + LeafOf(full)) ||
         SameText(reached, folderReached + ListedName(full));
}

bool IsDevicePathW(const std::wstring& path) {
  if (path.empty()) return false;
  if (NamesDeviceOrVolume(WideToUtf8(path))) return true;
  if (IsPrefixed(path)) return false;
  // The system's own rules decide which names are devices where (they changed between versions).
  std::wstring full = FullPathW(path);
  return full.size() >= 4 && IsSlash(full[0]) && IsSlash(full[1]) && full[2] == L'.' && IsSlash(full[3]);
}

IoError CheckWriteHandle(HANDLE handle, const std::wstring& path) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return IoError::NotAFile;
  HandleInfo data;
  if (!ReadHandleInfo(handle, &data)) {
    IoError error = LastError();
    // A volume opened as a whole answers no such question.
    return error == IoError::None ? IoError::NotAFile : error;
  }
  if (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) return IoError::IsLink;
  if (data.attributes & FILE_ATTRIBUTE_DIRECTORY) return IoError::AccessDenied;
  if (data.links > 1) return IoError::HasOtherNames;
  if (!HandleIsAt(handle, path)) return IoError::IsLink;
  return IoError::None;
}

namespace {

// What the entry says now; a name that cannot be asked any more shows no link.
bool IsLinkByName(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

IoError RemoveThroughHandle(const std::wstring& path, RemoveKind kind) {
  DWORD byName = GetFileAttributesW(path.c_str());
  if (byName == INVALID_FILE_ATTRIBUTES) return LastError();
  UniqueHandle opened(CreateFileW(
      path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!opened) return LastError();
  HANDLE handle = opened.Get();
  IoError error = IoError::None;
  HandleInfo data;
  if (!ReadHandleInfo(handle, &data)) {
    error = IoError::Other;
  } else {
    const bool handleIsLink = (data.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // The name shows a link the handle does not, or the handle lies elsewhere: it reached what the link
    // points to (Wine), and removing through it would remove that.
    const bool reachedTarget = !handleIsLink && ((byName & FILE_ATTRIBUTE_REPARSE_POINT) ||
                                                 IsLinkByName(path) || !HandleIsAt(handle, path));
    const bool isDirectory = (data.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (reachedTarget) {
      error = IoError::IsLink;
    } else if (kind == RemoveKind::Directory && handleIsLink) {
      error = IoError::IsLink;
    } else if (kind == RemoveKind::Directory && !isDirectory) {
      error = IoError::Other;
    } else if (kind == RemoveKind::FileOrLink && isDirectory && !handleIsLink) {
      // A real directory is never removed as a file.
      error = IoError::AccessDenied;
    } else {
      FILE_DISPOSITION_INFO disposition = {TRUE};
      if (!SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition)) {
        error = LastError();
      }
    }
  }
  return error;
}

}  // namespace nullora::platform::win32
