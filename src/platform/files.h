// Files and folders: attributes, the raw file primitives, listing, removal, drives, and paths made full, long
// and case-folded as the system does it. Declared in portable types, defined in win32/ with the real calls
// and in posix/ as the stand-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// <windows.h> defines these names as macros for its A/W functions; the seam's functions keep theirs
// in every file that sees both.
#undef DeleteFile
#undef MoveFile
#undef GetFileAttributes
#undef SetFileAttributes
#undef RemoveDirectory
#undef GetDriveType
#undef GetDiskFreeSpace

namespace nullora::platform {

// File attribute bits, with the values Windows gives them.
inline constexpr uint32_t kAttrReadOnly = 0x1;
inline constexpr uint32_t kAttrHidden = 0x2;
inline constexpr uint32_t kAttrSystem = 0x4;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrNormal = 0x80;
inline constexpr uint32_t kAttrSparse = 0x200;
inline constexpr uint32_t kAttrReparsePoint = 0x400;
inline constexpr uint32_t kAttrCompressed = 0x800;
inline constexpr uint32_t kAttrEncrypted = 0x4000;
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// Why an operation failed. Expected failures are values, never exceptions.
enum class IoError {
  None,
  NotFound,
  AccessDenied,
  InUse,  // another handle holds the file with an incompatible share mode
  DiskFull,
  IsLink,  // the path is a symbolic link or junction and the caller refused to follow it
  AlreadyExists,
  NotAFile,         // a device, a volume or a pipe, not a file on a disk
  HasOtherNames,    // the file has other names (hard links); writing to it would change them too
  ReadBackDiffers,  // what was read back from the medium is not what was written
  Other,
};

// A short lower-case phrase for status texts: "in use", "access denied", "not found"...
const char* Describe(IoError error);

// The attributes of `path`, or kInvalidAttributes when it cannot be queried (it does not exist).
uint32_t GetFileAttributes(const std::string& path);
IoError SetFileAttributes(const std::string& path, uint32_t attributes);

// What the wipe routines need to know about a path before they open it. Links are not followed:
// a symbolic link or junction is reported as a link, whatever it points to.
struct FileInfo {
  uint32_t attributes = 0;
  bool isLink = false;
  bool isDirectory = false;
  uint64_t size = 0;
  uint32_t linkCount = 1;  // hard links
};
std::optional<FileInfo> QueryFileInfo(const std::string& path);
// Whether another handle holds the file so that a wipe could not open it (one writes it, or shares no
// reading). Only looks: the file is opened for reading, or not at all.
bool FileHeldByAnother(const std::string& path);

enum class Access { Write, ReadWrite };
enum Share : unsigned { kShareNone = 0, kShareRead = 1, kShareWrite = 2 };
enum class Disposition {
  OpenExisting,  // fail when absent
  OpenAlways,    // create when absent, keep the content
  CreateAlways,  // create or truncate
};

using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidHandle = -1;

// The raw file primitives. Use File (file.h) rather than these: it closes and reports to observers.
// OsOpen never follows a symbolic link at the last path component: opening a link fails with IsLink,
// also where the platform hides the link and only the opened handle shows that it leads elsewhere.
// It opens only a regular file with no other names (NotAFile, HasOtherNames otherwise), never creates
// anything through a link, and truncates (CreateAlways) only after those checks.
IoError OsOpen(const std::string& path, Access access, unsigned share, Disposition disposition,
               FileHandle* handle);
IoError OsWriteAt(FileHandle handle, uint64_t offset, const void* data, size_t length);
IoError OsLength(FileHandle handle, uint64_t* length);
IoError OsSetLength(FileHandle handle, uint64_t length);
// Writes everything the file holds in the OS cache to the medium (FlushFileBuffers / fsync).
IoError OsFlush(FileHandle handle);
void OsClose(FileHandle handle);

// Opens `path` to read what its medium holds, past the system's cache where the system allows it. It
// shares reading and writing, so the wipe's own handle may stay open; a link is refused as by OsOpen.
IoError OsOpenReadBack(const std::string& path, FileHandle* handle);
// Reads up to `length` bytes at `offset` into `data`; `got` is fewer at the file's end. An uncached read
// needs `offset`, `length` and `data` aligned to kReadBackAlign.
IoError OsReadAt(FileHandle handle, uint64_t offset, void* data, size_t length, size_t* got);
inline constexpr size_t kReadBackAlign = 4096;
// Memory aligned to kReadBackAlign, for uncached reads.
void* OsAllocateAligned(size_t size);
void OsFreeAligned(void* memory);

// Whether the drive that holds `path` incurs a seek penalty: true for a spinning disk, false for a
// solid-state drive; nullopt when the drive does not say (a failed query, a network share).
std::optional<bool> DriveHasSeekPenalty(const std::string& path);

// Removes a file, or a link as a link. A link that cannot be removed without reaching what it points to
// (Wine's host links) is refused with IsLink, and both stay.
IoError DeleteFile(const std::string& path);
// Renames within the file system; fails with AlreadyExists rather than replace the target.
IoError MoveFile(const std::string& from, const std::string& to);

// One entry of a directory listing.
struct DirEntry {
  std::string name;     // the leaf name, never "." or ".."
  uint32_t attributes;  // kAttrDirectory, kAttrHidden, kAttrReparsePoint (links, junctions)...
  uint64_t size;
};

// Lists what `pattern` matches: a directory path followed by a wildcard or a name ("C:\Data\*.*",
// "C:\Data\index.dat"), hidden and system entries included, "." and ".." left out. A link is listed
// as itself, with kAttrReparsePoint. Fails with NotFound when the directory cannot be listed.
IoError ListDirectory(const std::string& pattern, std::vector<DirEntry>* entries);
// Removes an empty directory. A directory link is removed as a link by DeleteFile, never here.
IoError RemoveDirectory(const std::string& path);

// The logical drive roots ("C:"), in letter order.
std::vector<std::string> LogicalDrives();
// The system's drive type of a root: 0 unknown, 1 no such drive, 2 removable, 3 fixed, 4 network,
// 5 CD-ROM, 6 RAM disk.
int GetDriveType(const std::string& root);
struct DiskSpace {
  uint64_t freeToCaller = 0;
  uint64_t total = 0;
  uint64_t totalFree = 0;
};
// The space of the drive that holds `path` (any directory on it).
IoError GetDiskFreeSpace(const std::string& path, DiskSpace* space);

// The bytes of a small file (a tip file), or nullopt when it cannot be read.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit = 1 << 20);
// The first `count` bytes of a file (fewer when it is shorter), read sharing it with every other handle.
std::optional<std::string> ReadFileStart(const std::string& path, size_t count);

// `path` made full against the current directory, as the system does it: "C:" is the current directory
// of drive C, "C:foo" and "foo" lie in a current directory, "\foo" in the current drive's root; "." and
// ".." are resolved. A name the system keeps for a device comes back as a \\.\ path ("\\.\NUL").
// Empty when the path cannot be made full.
std::string FullPathName(const std::string& path);
// A full path with every 8.3 short name in it replaced by the long name (GetLongPathNameW); the path as
// given where it cannot be (a part of it does not exist).
std::string LongPathName(const std::string& path);
// The name under which a library that opens files itself (SQLite) finds `path`: the path as it is on
// Windows, the host's path in the workbench.
std::string LibraryPath(const std::string& path);
// `text` in upper case by the system's own rules for comparing file names, non-ASCII letters included.
std::string FoldCase(const std::string& text);

}  // namespace nullora::platform
