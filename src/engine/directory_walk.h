// The directory walk of the folder and Recycle Bin jobs and of the cleaner. Lists are vectors of full
// Windows-form paths; directory paths have no trailing backslash.
//
// The walk never descends into a link (symbolic link, junction, mount point): what a link points to
// lies outside the tree. ScanDir lists a link to a directory among the files, so that the job removes
// it as a link.
#pragma once

#include <string>
#include <vector>

namespace nullora {

class WipeProgress;

// Trims blanks; empty stays empty; otherwise ensures one trailing backslash.
std::string NormalizeDirPath(const std::string& path);

// With an empty `pattern`, appends every subdirectory of the tree below `path` to `result`; with a
// pattern, every entry of the tree whose name matches it. Siblings come before what lies below them:
// for A and B under the root, A1 and A2 under A, A1x under A1 and B1 under B the order is A, B, A1, A2,
// A1x, B1. Directories whose names begin with a period are skipped. Returns the size of `result`, or
// 0 when `path` cannot be listed.
// The event loop runs once per directory entry, through `progress` when given.
size_t GetFilesInDirs(const std::string& path, const std::string& pattern, std::vector<std::string>& result,
                      bool reset, WipeProgress* progress = nullptr);

// Fills `Directories` with every subdirectory below `DirName` (which ends in a backslash) and `Files`
// with every file in it and below it, hidden and system files included, and with every link found.
// The root (ending in a backslash) and every folder between it and `file` are still real folders: none
// has become a link since the listing. Their entries tell, on Windows and under Wine alike; the file's
// own handle is checked when a routine opens it.
bool FoldersStillReal(const std::string& root, const std::string& file);

void ScanDir(const std::string& DirName, std::vector<std::string>& Directories,
             std::vector<std::string>& Files, WipeProgress* progress = nullptr);

}  // namespace nullora
