// Directory listing and removal through the W functions. The folder wipe walks trees with these, so
// neither may lead it through a link into a directory that is not part of the tree.
#include "platform/platform.h"

#include <windows.h>

// <windows.h> maps these names to their A/W variants; here they are this seam's own functions.
#undef RemoveDirectory

#include "platform/win32/handle_checks.h"
#include "platform/win32/owned_handles.h"
#include "platform/win32/unicode.h"
#include "platform/win32/win_errors.h"

namespace nullora::platform {

namespace {

using win32::IsSlash;

using win32::FromWin32Error;
using win32::LastError;
using win32::ToLongPathW;
using win32::WideToUtf8;

// The directory part of a listing pattern, as the pattern names it ("C:\Data\*.*" -> "C:\Data").
std::wstring PatternDirectory(const std::wstring& pattern) {
  size_t last = pattern.find_last_of(L"\\/");
  if (last == std::wstring::npos) {
    return pattern.size() >= 2 && pattern[1] == L':' ? pattern.substr(0, 2) : L".";
  }
  std::wstring directory = pattern.substr(0, last);
  // A root keeps its separator: "C:" alone names the current directory of drive C.
  if (directory.empty() || directory.back() == L':' || IsSlash(directory.back())) {
    return pattern.substr(0, last + 1);
  }
  return directory;
}

bool IsDirectory(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

IoError ListDirectory(const std::string& pattern, std::vector<DirEntry>* entries) {
  entries->clear();
  std::wstring widePattern = ToLongPathW(pattern);
  if (widePattern.empty() || IsSlash(widePattern.back())) return IoError::NotFound;

  // The short names are never used, and fetching in large blocks saves round trips on big folders.
  WIN32_FIND_DATAW found;
  win32::UniqueFind search(FindFirstFileExW(widePattern.c_str(), FindExInfoBasic, &found,
                                            FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search.Valid()) {
    DWORD code = GetLastError();
    // Nothing matching in a folder that is there is an empty answer, not a failure.
    if ((code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) &&
        IsDirectory(PatternDirectory(widePattern))) {
      return IoError::None;
    }
    return code == ERROR_NO_MORE_FILES ? IoError::NotFound : FromWin32Error(code);
  }

  IoError error = IoError::None;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    // The attributes go up as the directory gives them. A host link to a directory shows its reparse
    // point here under Wine too; a host link to a file looks like a plain file here, and only a handle
    // opened on it tells (QueryFileInfo and every open ask it).
    entries->push_back({WideToUtf8(found.cFileName), found.dwFileAttributes,
                        (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
  } while (FindNextFileW(search.Get(), &found));
  DWORD code = GetLastError();
  if (code != ERROR_NO_MORE_FILES) error = FromWin32Error(code);
  return error;
}

IoError RemoveDirectory(const std::string& path) {
  // RemoveDirectoryW is not used by name: given a host link to a directory, Wine resolves the link and
  // removes the target. A link is refused here, whatever it points to, and the caller removes it as
  // a link.
  return win32::RemoveThroughHandle(ToLongPathW(path), win32::RemoveKind::Directory);
}

}  // namespace nullora::platform
