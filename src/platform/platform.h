// The only door to the operating system. Everything here is declared in portable types and defined
// twice: in win32/ with the real calls, and in posix/ as the stand-in of the workbench build.
//
// Paths travel as UTF-8 in Windows form ("C:\Docs\a.txt"). The win32 side converts them to UTF-16 and
// adds the \\?\ prefix where a path is long; the posix side maps drive letters through a drive table.
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
#undef DeleteUrlCacheEntry

namespace nullora::platform {

// File attribute bits, with the values Windows gives them.
inline constexpr uint32_t kAttrReadOnly = 0x1;
inline constexpr uint32_t kAttrHidden = 0x2;
inline constexpr uint32_t kAttrSystem = 0x4;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrNormal = 0x80;
inline constexpr uint32_t kAttrReparsePoint = 0x400;
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
  NotAFile,       // a device, a volume or a pipe, not a file on a disk
  HasOtherNames,  // the file has other names (hard links); writing to it would change them too
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

// The Recycle Bin of all drives, as the shell sees it.
struct RecycleBinInfo {
  uint64_t size = 0;
  uint64_t items = 0;
};
bool QueryRecycleBin(RecycleBinInfo* info);
// Empties it without confirmation, progress window or sound.
bool EmptyRecycleBin();
void UpdateRecycleBinIcon();
// Where the items of the bin really are on disk (files or folders), as the shell reports them.
// `unplaced`, when given, receives the number of items the shell lists whose data could not be found.
std::vector<std::string> RecycleBinItemPaths(size_t* unplaced = nullptr);

// The settings store: per-user text values under application / section / key.
std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                       const std::string& key);
bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value);

// The registry, for the entries Explorer and Windows read (menus, run at logon). `key` is a path below
// `root`; an empty `name` is the key's default value. Writes create missing keys; each says whether it
// was done (an ordinary user may not write HKEY_CLASSES_ROOT or HKEY_LOCAL_MACHINE).
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };
// A 32-bit program on 64-bit Windows is shown copies of some keys (HKCR\CLSID, most of HKLM\Software)
// unless it asks for the 64-bit view, and Explorer and Windows read the 64-bit ones. `System` is the
// 64-bit view where there is one (on 32-bit Windows the only one); `Program` the program's own, where
// a 32-bit build of old left its values. (Wine keeps both views too.)
enum class RegistryView { System, Program };
bool RegistryWriteString(RegistryRoot root, const std::string& key, const std::string& name,
                         const std::string& data, RegistryView view = RegistryView::System);
std::optional<std::string> RegistryReadString(RegistryRoot root, const std::string& key,
                                              const std::string& name,
                                              RegistryView view = RegistryView::System);
// True when the value is gone afterwards (also when it never was there).
bool RegistryDeleteValue(RegistryRoot root, const std::string& key, const std::string& name,
                         RegistryView view = RegistryView::System);

// Deletes `key` with every key and value below it; true when it is gone (also when it never was).
bool RegistryDeleteTree(RegistryRoot root, const std::string& key, RegistryView view = RegistryView::System);

// --- what the privacy cleaner reaches ------------------------------------------------------------------

// The executable names of the running processes ("iexplore.exe"); empty when the list cannot be taken.
std::vector<std::string> RunningProcessNames();
// A shell special folder by its CSIDL number (8 Recent, 32 Internet cache, 33 Cookies, 34 History),
// without a final backslash; empty when the folder is unknown or missing.
std::string SpecialFolderPath(int csidl);
// The user's temporary folder, with its final backslash; empty when there is none.
std::string TempFolderPath();
// The folders of the system and of the user that hold what is theirs, not traces.
enum class KnownFolder {
  Windows,
  System,
  ProgramFiles,  // the program's own view: "Program Files (x86)" for a 32-bit program on 64-bit Windows
  ProgramFilesX86,
  ProgramFiles64,  // the 64-bit "Program Files", where there is one
  ProgramData,
  Profile,
  Documents,
  Desktop,
  Downloads,
  Pictures,
  Music,
  Videos,
  Favorites,
  AppData,
  LocalAppData,
};
// Its path without a final backslash; empty when the system has none.
std::string KnownFolderPath(KnownFolder folder);

// The browser's URL cache. Entry types are the platform's bits (cookie 0x00100000, history 0x00200000).
struct UrlCacheEntry {
  std::string url;
  uint32_t type = 0;
};
// The cache groups; false when they cannot be listed for any reason but there being none.
bool UrlCacheGroups(std::vector<int64_t>* groups);
// The cache keeps three containers, and a walk lists one: Windows gives content entries only when no
// search pattern is named, cookies for "cookie:" and the history for "visited:". (Wine lists all of
// them for no pattern; the type bits still tell them apart.)
enum class UrlCacheContainer { Content, Cookies, History };
// The entries of a group, or with no group the entries the cache lists outside any group.
std::vector<UrlCacheEntry> UrlCacheEntries(std::optional<int64_t> group, UrlCacheContainer container);
bool DeleteUrlCacheEntry(const std::string& url);
// Removes an (empty) group without flushing what it may still hold.
bool DeleteUrlCacheGroup(int64_t group);
// The browser's history store (IUrlHistoryStg2::ClearHistory); false when it cannot be reached.
bool ClearBrowserHistoryStore();
// The shell's AutoComplete clearing export, when the platform has it; false when not.
bool ClearAutoCompleteExport();

// Tells the system, on the program's main window, why the session should wait (a reason the user can
// read while Windows shuts down); an empty reason takes it back.
class Widget;
void SetShutdownBlockReason(Widget* window, const std::string& reason);

// The tray program runs once in a session. True for the first copy that asks (it keeps the claim for
// its life); false when another copy holds it.
bool ClaimMainInstance();
// The first copy names the window that takes a second copy's request to come forward.
void PublishMainInstanceWindow(Widget* window);
// A second copy asks the first one's main window to come forward; false when it cannot be reached.
bool AskMainInstanceToShow();

// The directory of the running program, without a final backslash unless it is a drive root ("C:").
std::string ApplicationDirectory();
// The full path of the running program.
std::string ApplicationPath();

// Opens `file` (a document, a web address, "mailto:...") as the shell does, with `verb` (empty: the
// default) and the working directory `directory` (may be empty); `show` is the SW_ value. `owner` asks
// for the desktop window as the owner. Whether the shell took it.
bool ShellOpen(const std::string& file, const std::string& verb, const std::string& directory, int show,
               bool desktopOwner = false);

// The bytes of a small file (a tip file), or nullopt when it cannot be read.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit = 1 << 20);

// The whole command-line text after the program name, verbatim (not trimmed, quotes kept).
std::string CommandLineArgument();

// `path` made full against the current directory, as the system does it: "C:" is the current directory
// of drive C, "C:foo" and "foo" lie in a current directory, "\foo" in the current drive's root; "." and
// ".." are resolved. A name the system keeps for a device comes back as a \\.\ path ("\\.\NUL").
// Empty when the path cannot be made full.
std::string FullPathName(const std::string& path);
// A full path with every 8.3 short name in it replaced by the long name (GetLongPathNameW); the path as
// given where it cannot be (a part of it does not exist).
std::string LongPathName(const std::string& path);
// `text` in upper case by the system's own rules for comparing file names, non-ASCII letters included.
std::string FoldCase(const std::string& text);

// Milliseconds of a monotonic clock, the real pause, and the local time of day.
uint64_t OsTickMs();
void OsSleep(uint32_t ms);
// Seconds since local midnight, with fractions; it seeds the random generator.
double OsSecondsSinceMidnight();
// The local calendar date as a count of days.
int64_t OsLocalDay();

// Dispatches pending window messages without waiting. Returns false when the quit message was seen.
bool OsPumpEvents();
// Lets the windows repaint and answers what the system and other programs send (a request for a
// window's text, say), but leaves input and posted messages queued for the next OsPumpEvents.
void OsPumpPaint();
// Waits until a window message arrives or `ms` passed, then dispatches what is pending.
// Returns false when the quit message was seen.
bool OsWaitEvents(uint32_t ms);
// Asks the message loop to end.
void OsPostQuit();
// Wakes the message loop if it waits, so that it looks at its own work again.
void OsPostWake();
// Has `tick` called once, from whatever message loop runs `ms` milliseconds from now (a menu's or a
// message box's included), replacing a tick asked for before. The workbench has no loop: it never calls.
void OsScheduleTick(uint32_t ms, void (*tick)());
// Ends the process at once, without unloading anything.
[[noreturn]] void OsExitProcess(int code);

}  // namespace nullora::platform
