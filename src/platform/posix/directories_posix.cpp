// Directory listing, drives' space and the Recycle Bin of the workbench build.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>

#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora::platform {

namespace {

// Windows wildcard matching, without case: "*" any run, "?" one character, and "*.*" everything.
bool WildcardMatch(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') {
    for (const char* rest = name;; ++rest) {
      if (WildcardMatch(pattern + 1, rest)) return true;
      if (*rest == '\0') return false;
    }
  }
  if (*name == '\0') return false;
  if (*pattern != '?' &&
      std::tolower(static_cast<unsigned char>(*pattern)) != std::tolower(static_cast<unsigned char>(*name))) {
    return false;
  }
  return WildcardMatch(pattern + 1, name + 1);
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  return WildcardMatch(pattern.c_str(), name.c_str());
}

std::string gRecycleBin;
posix::RecycleBinFaults gBinFaults;
int gBinEmptied = 0;
int gBinIconUpdates = 0;

}  // namespace

namespace posix {
void SetRecycleBin(const std::string& directory) {
  gRecycleBin = directory;
  gBinFaults = {};
}
void SetRecycleBinFaults(const RecycleBinFaults& faults) {
  gBinFaults = faults;
}
int RecycleBinEmptied() {
  return gBinEmptied;
}
int RecycleBinIconUpdates() {
  return gBinIconUpdates;
}
}  // namespace posix

IoError ListDirectory(const std::string& pattern, std::vector<DirEntry>* entries) {
  entries->clear();
  size_t slash = pattern.find_last_of('\\');
  std::string directory = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
  std::string leaf = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  std::string host = posix::ToHostPath(directory.empty() ? "." : directory);
  DIR* dir = opendir(host.c_str());
  if (!dir) return errno == EACCES ? IoError::AccessDenied : IoError::NotFound;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == ".." || !MatchesPattern(leaf, name)) continue;
    std::string path = directory + name;
    std::optional<FileInfo> info = QueryFileInfo(path);
    if (!info) continue;  // gone since the directory was read
    entries->push_back({name, info->attributes, info->size});
  }
  closedir(dir);
  return IoError::None;
}

IoError RemoveDirectory(const std::string& path) {
  std::string host = posix::ToHostPath(path);
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return IoError::NotFound;
  if (S_ISLNK(st.st_mode)) return IoError::IsLink;
  if (!S_ISDIR(st.st_mode)) return IoError::AccessDenied;
  if (rmdir(host.c_str()) == 0) return IoError::None;
  return errno == EACCES || errno == EPERM ? IoError::AccessDenied : IoError::Other;
}

IoError GetDiskFreeSpace(const std::string& path, DiskSpace* space) {
  *space = {};
  struct statvfs fs {};
  if (statvfs(posix::ToHostPath(path).c_str(), &fs) != 0) return IoError::NotFound;
  space->total = static_cast<uint64_t>(fs.f_blocks) * fs.f_frsize;
  space->totalFree = static_cast<uint64_t>(fs.f_bfree) * fs.f_frsize;
  space->freeToCaller = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
  return IoError::None;
}

bool QueryRecycleBin(RecycleBinInfo* info) {
  *info = {};
  if (gBinFaults.queryFails) return false;
  if (gRecycleBin.empty()) return true;
  std::error_code error;
  std::filesystem::path root = posix::ToHostPath(gRecycleBin);
  for (const auto& item : std::filesystem::directory_iterator(root, error)) {
    ++info->items;
    if (item.is_regular_file(error)) info->size += item.file_size(error);
    if (item.is_directory(error) && !item.is_symlink(error)) {
      for (const auto& inner : std::filesystem::recursive_directory_iterator(item.path(), error)) {
        if (inner.is_regular_file(error) && !inner.is_symlink(error)) info->size += inner.file_size(error);
      }
    }
  }
  return true;
}

bool EmptyRecycleBin() {
  ++gBinEmptied;
  if (gBinFaults.emptyFails) return false;
  if (gRecycleBin.empty()) return true;
  std::error_code error;
  std::filesystem::path root = posix::ToHostPath(gRecycleBin);
  for (const auto& item : std::filesystem::directory_iterator(root, error))
    std::filesystem::remove_all(item, error);
  return !error;
}

void UpdateRecycleBinIcon() {
  ++gBinIconUpdates;
}

std::vector<std::string> RecycleBinItemPaths(size_t* unplaced) {
  std::vector<std::string> paths;
  if (unplaced) *unplaced = gBinFaults.unplacedItems;
  if (gRecycleBin.empty()) return paths;
  std::vector<DirEntry> entries;
  std::string directory = gRecycleBin.back() == '\\' ? gRecycleBin : gRecycleBin + "\\";
  if (ListDirectory(directory + "*.*", &entries) != IoError::None) return paths;
  for (const DirEntry& entry : entries) paths.push_back(directory + entry.name);
  return paths;
}

}  // namespace nullora::platform
