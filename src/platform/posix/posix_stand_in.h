// What tests of the workbench build set up in the POSIX stand-in: the drive table (like Wine's
// dosdevices), the settings store, the command line.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace nullora::platform::posix {

// Maps drive `letter` ("T") to a host directory; "T:\a\b" then means "<hostDir>/a/b". `type` is
// the drive type the drive reports (3: fixed).
void MapDrive(char letter, const std::string& hostDir, int type = 3);
void ClearDrives();
// What drive `letter` answers when asked whether it incurs a seek penalty (nullopt: the query fails, as
// it does until a test says otherwise).
void SetDriveSeekPenalty(char letter, std::optional<bool> seekPenalty);
// Attribute bits the host cannot show (kAttrCompressed, kAttrEncrypted, kAttrSparse), reported for the
// file at `path` (Windows form) besides its own; 0 removes them.
void SetExtraAttributes(const std::string& path, uint32_t attributes);
// The current directory that relative paths are resolved against, in Windows form ("T:\work").
void SetCurrentDirectory(const std::string& path);
// The host path of a Windows-form path. Paths without a drive letter are relative to the current
// directory, with backslashes turned into slashes.
std::string ToHostPath(const std::string& path);

// The in-memory settings store: "app\section\key" -> value.
std::map<std::string, std::string>& SettingsStoreContents();
void ClearSettings();

void SetCommandLineArgument(const std::string& argument);

// The registry: "HKCR\key\name" (HKCU, HKLM) -> value; an empty name is the key's default value. A root
// made read-only refuses writes, as Windows refuses an ordinary user HKEY_CLASSES_ROOT and HKLM.
std::map<std::string, std::string>& RegistryContents();
void ClearRegistry();
void SetRegistryRootWritable(RegistryRoot root, bool writable);
// Where a key lies in the contents ("HKLM\Software\Wow6432Node\...\"), as for a 32-bit program on
// 64-bit Windows: in the program's own view the keys WOW64 redirects lie below Wow6432Node.
std::string RegistryKeyPath(RegistryRoot root, std::string key, RegistryView view);
// Where the program runs from, in Windows form (default C:\Program Files\Nullora\nullora.exe).
void SetApplicationPath(const std::string& path);
// What the shell was asked to open.
struct ShellOpenCall {
  std::string file;
  std::string verb;
  std::string directory;
  int show = 0;
  bool desktopOwner = false;
};
std::vector<ShellOpenCall>& ShellOpenCalls();

// What the privacy cleaner finds: running processes, special folders, the URL cache; and what it asked.
struct CleanerWorld {
  std::vector<std::string> processes;
  std::vector<std::string> processesWithWindows;         // of those, the ones that show a window
  std::map<int, std::string> specialFolders;             // CSIDL -> Windows-form path
  std::string tempFolder;                                // with its final backslash
  std::map<KnownFolder, std::string> knownFolders;       // the profile, Documents... (Windows form)
  std::vector<UrlCacheEntry> cache;                      // entries outside any group
  std::map<int64_t, std::vector<UrlCacheEntry>> groups;  // group -> its entries
  bool groupsFail = false;
  std::set<std::string> lockedUrls;  // entries in use, which the cache refuses to delete
  std::vector<std::string> calls;
  std::vector<std::string> deletedRegistryPaths;
  std::string shutdownBlockReason;
  bool otherMainInstance = false;  // another copy of the tray program runs in this session
  int mainInstancePublished = 0;
  int showRequests = 0;
  std::string clipboard;       // what the clipboard holds, as one text
  bool clipboardHeld = false;  // another program keeps it open
};
CleanerWorld& Cleaner();

// The Recycle Bin: a directory (Windows form, on a mapped drive) whose entries are the bin's items.
// Empty: no bin at all, which the shell reports as an empty bin.
// Setting the bin clears the faults below.
void SetRecycleBin(const std::string& directory);
// What the shell of a test fails at: the query, the emptying, finding the data of some items.
struct RecycleBinFaults {
  bool queryFails = false;
  bool emptyFails = false;
  size_t unplacedItems = 0;
};
void SetRecycleBinFaults(const RecycleBinFaults& faults);
// How often the bin was emptied and its icon refreshed.
int RecycleBinEmptied();
int RecycleBinIconUpdates();

}  // namespace nullora::platform::posix
