// Real files and directories behind the drive table. POSIX has no share modes, so the stand-in keeps
// its own table of open handles and refuses opens and deletes that Windows would refuse.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/path_names.h"
#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora::platform {

namespace {

struct MappedDrive {
  std::string hostDir;
  int type = 3;
  std::optional<bool> seekPenalty;
};

// By host path.
std::map<std::string, uint32_t>& ExtraAttributes() {
  static std::map<std::string, uint32_t> extra;
  return extra;
}

std::map<char, MappedDrive>& Drives() {
  static std::map<char, MappedDrive> drives;
  return drives;
}

IoError FromErrno(int error) {
  switch (error) {
    case 0:
      return IoError::None;
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return IoError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return IoError::AccessDenied;
    case ETXTBSY:
    case EBUSY:
      return IoError::InUse;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return IoError::DiskFull;
    case ELOOP:
      return IoError::IsLink;
    case ENXIO:
    case ENODEV:
      return IoError::NotAFile;
    case EEXIST:
      return IoError::AlreadyExists;
    default:
      return IoError::Other;
  }
}

struct OpenEntry {
  FileHandle handle;
  dev_t device;
  ino_t inode;
  Access access;
  unsigned share;
};

std::vector<OpenEntry>& OpenFiles() {
  static std::vector<OpenEntry> open;
  return open;
}

bool SharingAllows(const struct stat& st, Access access, unsigned share) {
  for (const OpenEntry& entry : OpenFiles()) {
    if (entry.device != st.st_dev || entry.inode != st.st_ino) continue;
    // Every open here writes; the earlier handle must share writing, and the new one must share what
    // the earlier handle does (both write; ReadWrite also reads).
    if (!(entry.share & kShareWrite)) return false;
    if (!(share & kShareWrite)) return false;
    if ((entry.access == Access::ReadWrite) && !(share & kShareRead)) return false;
    if ((access == Access::ReadWrite) && !(entry.share & kShareRead)) return false;
  }
  return true;
}

bool IsOpen(const struct stat& st) {
  return std::any_of(OpenFiles().begin(), OpenFiles().end(), [&](const OpenEntry& entry) {
    return entry.device == st.st_dev && entry.inode == st.st_ino;
  });
}

uint32_t AttributesOf(const std::string& hostPath, const struct stat& st, bool isLink) {
  uint32_t attributes = 0;
  if (isLink) {
    attributes |= kAttrReparsePoint;
    struct stat target {};
    if (stat(hostPath.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) attributes |= kAttrDirectory;
  } else if (S_ISDIR(st.st_mode)) {
    attributes |= kAttrDirectory;
  }
  if (!(st.st_mode & S_IWUSR) && !isLink) attributes |= kAttrReadOnly;
  size_t slash = hostPath.find_last_of('/');
  std::string name = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= kAttrHidden;
  if (auto extra = ExtraAttributes().find(hostPath); extra != ExtraAttributes().end() && !isLink) {
    attributes |= extra->second;
  }
  return attributes ? attributes : kAttrNormal;
}

}  // namespace

namespace posix {

void MapDrive(char letter, const std::string& hostDir, int type) {
  Drives()[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = {hostDir, type, std::nullopt};
}

void ClearDrives() {
  Drives().clear();
  ExtraAttributes().clear();
}

void SetDriveSeekPenalty(char letter, std::optional<bool> seekPenalty) {
  auto it = Drives().find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  if (it != Drives().end()) it->second.seekPenalty = seekPenalty;
}

void SetExtraAttributes(const std::string& path, uint32_t attributes) {
  if (attributes == 0) {
    ExtraAttributes().erase(ToHostPath(path));
  } else {
    ExtraAttributes()[ToHostPath(path)] = attributes;
  }
}

std::string& CurrentDirectory() {
  static std::string current = "C:\\";
  return current;
}

void SetCurrentDirectory(const std::string& path) {
  CurrentDirectory() = path;
}

std::string ToHostPath(const std::string& path) {
  std::string rest = path;
  std::string base;
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    auto it = Drives().find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
    // An unmapped drive names nothing: give a path that cannot exist rather than a relative one.
    base = it != Drives().end() ? it->second.hostDir : std::string("/nonexistent-drive-") + path[0];
    rest = path.substr(2);
    if (rest.empty() || (rest[0] != '\\' && rest[0] != '/')) rest.insert(rest.begin(), '/');
  }
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return base + rest;
}

}  // namespace posix

std::vector<std::string> LogicalDrives() {
  std::vector<std::string> roots;
  for (const auto& [letter, drive] : Drives()) roots.push_back(std::string(1, letter) + ":\\");
  return roots;
}

int GetDriveType(const std::string& root) {
  if (root.size() < 2 || root[1] != ':') return 1;
  auto it = Drives().find(static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
  return it == Drives().end() ? 1 : it->second.type;
}

uint32_t GetFileAttributes(const std::string& path) {
  std::string host = posix::ToHostPath(path);
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return kInvalidAttributes;
  return AttributesOf(host, st, S_ISLNK(st.st_mode));
}

IoError SetFileAttributes(const std::string& path, uint32_t attributes) {
  std::string host = posix::ToHostPath(path);
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return FromErrno(errno);
  if (S_ISLNK(st.st_mode)) return IoError::None;  // a link has no attributes of its own here
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & kAttrReadOnly) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  return chmod(host.c_str(), mode) == 0 ? IoError::None : FromErrno(errno);
}

std::optional<FileInfo> QueryFileInfo(const std::string& path) {
  std::string host = posix::ToHostPath(path);
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return std::nullopt;
  FileInfo info;
  info.isLink = S_ISLNK(st.st_mode);
  info.attributes = AttributesOf(host, st, info.isLink);
  info.isDirectory = !info.isLink && S_ISDIR(st.st_mode);
  info.size = info.isLink ? 0 : static_cast<uint64_t>(st.st_size);
  info.linkCount = static_cast<uint32_t>(st.st_nlink);
  return info;
}

bool FileHeldByAnother(const std::string& path) {
  struct stat st {};
  if (lstat(posix::ToHostPath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return !SharingAllows(st, Access::Write, kShareRead);
}

IoError OsOpen(const std::string& path, Access access, unsigned share, Disposition disposition,
               FileHandle* handle) {
  *handle = kInvalidHandle;
  std::string host = posix::ToHostPath(path);
  // Non-blocking, so that a pipe without a reader is refused rather than waited on.
  int flags = (access == Access::ReadWrite ? O_RDWR : O_WRONLY) | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
  if (disposition != Disposition::OpenExisting) flags |= O_CREAT;
  int fd = open(host.c_str(), flags, 0644);
  if (fd < 0) {
    // A link at the last component: refuse it as Windows does with a reparse point.
    if (errno == ELOOP) return IoError::IsLink;
    return FromErrno(errno);
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return S_ISDIR(st.st_mode) ? IoError::AccessDenied : IoError::NotAFile;
  }
  if (st.st_nlink > 1) {
    close(fd);
    return IoError::HasOtherNames;
  }
  if (!SharingAllows(st, access, share)) {
    close(fd);
    return IoError::InUse;
  }
  if (disposition == Disposition::CreateAlways && ftruncate(fd, 0) != 0) {
    int error = errno;
    close(fd);
    return FromErrno(error);
  }
  *handle = fd;
  OpenFiles().push_back({fd, st.st_dev, st.st_ino, access, share});
  return IoError::None;
}

IoError OsWriteAt(FileHandle handle, uint64_t offset, const void* data, size_t length) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (length > 0) {
    ssize_t written = pwrite(static_cast<int>(handle), bytes, length, static_cast<off_t>(offset));
    if (written < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno);
    }
    if (written == 0) return IoError::DiskFull;
    bytes += written;
    offset += static_cast<uint64_t>(written);
    length -= static_cast<size_t>(written);
  }
  return IoError::None;
}

IoError OsLength(FileHandle handle, uint64_t* length) {
  struct stat st {};
  if (fstat(static_cast<int>(handle), &st) != 0) return FromErrno(errno);
  *length = static_cast<uint64_t>(st.st_size);
  return IoError::None;
}

IoError OsSetLength(FileHandle handle, uint64_t length) {
  return ftruncate(static_cast<int>(handle), static_cast<off_t>(length)) == 0 ? IoError::None
                                                                              : FromErrno(errno);
}

IoError OsFlush(FileHandle handle) {
  return fsync(static_cast<int>(handle)) == 0 ? IoError::None : FromErrno(errno);
}

IoError OsOpenReadBack(const std::string& path, FileHandle* handle) {
  *handle = kInvalidHandle;
  const std::string host = posix::ToHostPath(path);
  constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
  // Direct reads come from the medium, as unbuffered reads do on Windows. A file system that has no
  // direct reads (tmpfs, whose medium is memory) is read through the cache, its pages dropped first.
  bool direct = true;
  int fd = open(host.c_str(), kFlags | O_DIRECT);
  if (fd < 0 && errno == EINVAL) {
    direct = false;
    fd = open(host.c_str(), kFlags);
  }
  if (fd < 0) return errno == ELOOP ? IoError::IsLink : FromErrno(errno);
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return IoError::NotAFile;
  }
  for (const OpenEntry& entry : OpenFiles()) {
    if (entry.device == st.st_dev && entry.inode == st.st_ino && !(entry.share & kShareRead)) {
      close(fd);
      return IoError::InUse;
    }
  }
  fdatasync(fd);
  if (!direct) posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  *handle = fd;
  return IoError::None;
}

IoError OsReadAt(FileHandle handle, uint64_t offset, void* data, size_t length, size_t* got) {
  // One read, as on Windows: a file gives all it has up to its end at once, and a second read from an
  // unaligned offset would be refused on a direct handle.
  ssize_t n;
  do {
    n = pread(static_cast<int>(handle), data, length, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  if (n < 0) return FromErrno(errno);
  *got = static_cast<size_t>(n);
  return IoError::None;
}

void* OsAllocateAligned(size_t size) {
  void* memory = nullptr;
  return posix_memalign(&memory, kReadBackAlign, size) == 0 ? memory : nullptr;
}

void OsFreeAligned(void* memory) {
  free(memory);
}

std::optional<bool> DriveHasSeekPenalty(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return std::nullopt;
  auto it = Drives().find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
  return it == Drives().end() ? std::nullopt : it->second.seekPenalty;
}

void OsClose(FileHandle handle) {
  std::erase_if(OpenFiles(), [handle](const OpenEntry& entry) { return entry.handle == handle; });
  close(static_cast<int>(handle));
}

IoError DeleteFile(const std::string& path) {
  std::string host = posix::ToHostPath(path);
  // With nothing open there is no share mode to honour: unlink refuses a directory by itself.
  if (OpenFiles().empty()) return unlink(host.c_str()) == 0 ? IoError::None : FromErrno(errno);
  struct stat st {};
  if (lstat(host.c_str(), &st) != 0) return FromErrno(errno);
  if (S_ISDIR(st.st_mode)) return IoError::AccessDenied;
  // Windows refuses to delete a file that is open without delete sharing, and so does the stand-in.
  if (!S_ISLNK(st.st_mode) && IsOpen(st)) return IoError::InUse;
  return unlink(host.c_str()) == 0 ? IoError::None : FromErrno(errno);
}

IoError MoveFile(const std::string& from, const std::string& to) {
  std::string hostFrom = posix::ToHostPath(from);
  std::string hostTo = posix::ToHostPath(to);
  // link + unlink never replaces the target, unlike rename.
  if (link(hostFrom.c_str(), hostTo.c_str()) != 0) {
    if (errno == EEXIST) return IoError::AlreadyExists;
    // Link-less file systems: check, then rename.
    struct stat st {};
    if (lstat(hostTo.c_str(), &st) == 0) return IoError::AlreadyExists;
    return rename(hostFrom.c_str(), hostTo.c_str()) == 0 ? IoError::None : FromErrno(errno);
  }
  if (unlink(hostFrom.c_str()) != 0) {
    int error = errno;
    unlink(hostTo.c_str());
    return FromErrno(error);
  }
  return IoError::None;
}

namespace {

// Resolves "." and ".." after the root, as the system does; a trailing separator stays.
std::string Collapsed(const std::string& full) {
  const std::string root = RootOf(full);
  std::vector<std::string> parts;
  size_t start = root.size();
  while (start <= full.size()) {
    size_t end = full.find_first_of("\\/", start);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result = root;
  for (size_t i = 0; i < parts.size(); ++i) result += (i ? "\\" : "") + parts[i];
  const bool trailing = full.size() > root.size() && (full.back() == '\\' || full.back() == '/');
  if (trailing && !parts.empty()) result += '\\';
  return result;
}

}  // namespace

// The stand-in's current directory is a Windows-form path a test sets; the system's per-drive current
// directories are the drive's root here, but for the current drive.
std::string FullPathName(const std::string& path) {
  if (path.empty()) return {};
  if (NamesDeviceOrVolume(path)) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return path;
    // A device name in any folder is the device itself.
    size_t slash = path.find_last_of("\\/:");
    std::string device = path.substr(slash == std::string::npos ? 0 : slash + 1);
    device = device.substr(0, device.find_first_of(". "));
    for (char& c : device) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "\\\\.\\" + device;
  }
  if (IsFullPath(path)) return Collapsed(path);
  const std::string& current = posix::CurrentDirectory();
  std::string base = current;
  if (!base.empty() && base.back() != '\\') base += '\\';
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    const bool sameDrive = std::toupper(static_cast<unsigned char>(path[0])) ==
                           std::toupper(static_cast<unsigned char>(current.empty() ? 0 : current[0]));
    std::string drive = std::string(1, path[0]) + ":\\";
    return Collapsed((sameDrive ? base : drive) + path.substr(2));
  }
  if (path[0] == '\\' || path[0] == '/') return Collapsed(RootOf(base) + path.substr(1));
  return Collapsed(base + path);
}

}  // namespace nullora::platform
