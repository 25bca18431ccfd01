// The shell: the Recycle Bin, the special and known folders, the program's own place, and opening a document
// or an address as the shell does. Declared in portable types, defined in win32/ with the real calls and in
// posix/ as the stand-in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nullora::platform {

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

// The directory of the running program, without a final backslash unless it is a drive root ("C:").
std::string ApplicationDirectory();
// The full path of the running program.
std::string ApplicationPath();

// Opens `file` (a document, a web address, "mailto:...") as the shell does, with `verb` (empty: the
// default) and the working directory `directory` (may be empty); `show` is the SW_ value. `owner` asks
// for the desktop window as the owner. Whether the shell took it.
bool ShellOpen(const std::string& file, const std::string& verb, const std::string& directory, int show,
               bool desktopOwner = false);

// Empties the clipboard of every program's data; false when it could not be had (another program held it
// open the whole time) or not emptied.
bool ClearClipboard();

}  // namespace nullora::platform
