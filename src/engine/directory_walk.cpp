#include "engine/directory_walk.h"

#include <unordered_map>

#include "engine/progress.h"
#include "platform/platform.h"

namespace nullora {

namespace {

bool IsLink(const platform::DirEntry& entry) {
  return (entry.attributes & platform::kAttrReparsePoint) != 0;
}
bool IsDirectory(const platform::DirEntry& entry) {
  return (entry.attributes & platform::kAttrDirectory) != 0;
}

// A directory the walk may enter: a real directory now, not a link put in its place since the listing.
// Its entry tells: a link to a directory shows as one by name, on Windows and under Wine alike.
bool StillARealDirectory(const std::string& path) {
  const uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) &&
         !(attributes & platform::kAttrReparsePoint);
}

// A directory path ending in a backslash, without it unless it is a root ("C:\").
std::string DirectoryItself(const std::string& directory) {
  if (directory.size() <= 3 || directory.back() != '\\') return directory;
  return directory.substr(0, directory.size() - 1);
}

// The files (and links) of each directory a walk listed, by the directory's path (ending in a
// backslash): a scan takes them from the walk's own listing instead of listing every directory again.
using FilesByDirectory = std::unordered_map<std::string, std::vector<std::string>>;

bool IsFile(const platform::DirEntry& entry) {
  return !IsDirectory(entry) || IsLink(entry);
}

size_t Walk(const std::string& path, const std::string& pattern, std::vector<std::string>& result, bool reset,
            WipeProgress* progress, FilesByDirectory* files);

}  // namespace

std::string NormalizeDirPath(const std::string& path) {
  size_t first = path.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  std::string trimmed = path.substr(first, path.find_last_not_of(' ') - first + 1);
  if (trimmed.back() != '\\') trimmed += '\\';
  return trimmed;
}

size_t GetFilesInDirs(const std::string& path, const std::string& pattern, std::vector<std::string>& result,
                      bool reset, WipeProgress* progress) {
  return Walk(path, pattern, result, reset, progress, nullptr);
}

namespace {

size_t Walk(const std::string& path, const std::string& pattern, std::vector<std::string>& result, bool reset,
            WipeProgress* progress, FilesByDirectory* files) {
  WipeProgress& report = ReporterOf(progress);
  if (reset) result.clear();
  const std::string directory = NormalizeDirPath(path);
  // The root is checked as every directory below it is: a link given as the root is not walked.
  if (!directory.empty() && !StillARealDirectory(DirectoryItself(directory))) return 0;

  std::vector<platform::DirEntry> entries;
  if (platform::ListDirectory(directory + "*.*", &entries) != platform::IoError::None) return 0;
  std::vector<std::string> subdirectories;
  std::vector<std::string>* filesHere = files ? &(*files)[directory] : nullptr;
  for (const platform::DirEntry& entry : entries) {
    if (IsDirectory(entry) && !IsLink(entry) && entry.name[0] != '.') {
      subdirectories.push_back(directory + entry.name);
    } else if (filesHere && IsFile(entry)) {
      filesHere->push_back(directory + entry.name);
    }
    report.Yield();
  }

  if (pattern.empty()) {
    result.insert(result.end(), subdirectories.begin(), subdirectories.end());
  } else {
    std::vector<platform::DirEntry> matches;
    platform::ListDirectory(directory + pattern, &matches);
    for (const platform::DirEntry& match : matches) {
      result.push_back(directory + match.name);
      report.Yield();
    }
  }

  for (const std::string& subdirectory : subdirectories)
    Walk(subdirectory, pattern, result, false, progress, files);
  return result.size();
}

}  // namespace

bool FoldersStillReal(const std::string& root, const std::string& file) {
  if (file.compare(0, root.size(), root) != 0) return false;
  if (!StillARealDirectory(DirectoryItself(root))) return false;
  for (size_t slash = file.find('\\', root.size()); slash != std::string::npos;
       slash = file.find('\\', slash + 1)) {
    if (!StillARealDirectory(file.substr(0, slash))) return false;
  }
  return true;
}

void ScanDir(const std::string& DirName, std::vector<std::string>& Directories,
             std::vector<std::string>& Files, WipeProgress* progress) {
  Files.clear();
  FilesByDirectory byDirectory;
  Walk(DirName, "", Directories, true, progress, &byDirectory);
  auto take = [&](const std::string& directory) {
    auto found = byDirectory.find(directory);
    if (found == byDirectory.end()) return;
    Files.insert(Files.end(), found->second.begin(), found->second.end());
  };
  take(NormalizeDirPath(DirName));
  for (const std::string& directory : Directories) take(directory + "\\");
}

}  // namespace nullora
