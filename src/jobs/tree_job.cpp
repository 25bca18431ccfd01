#include "jobs/tree_job.h"

#include <vector>

#include "engine/directory_walk.h"
#include "platform/file.h"
#include "platform/platform.h"

namespace nullora {

namespace {

bool IsRealFolder(const std::string& path) {
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
  return info && info->isDirectory && !info->isLink;
}

// The root (ending in a backslash) and every folder between it and `file` are still real folders.
bool NoLinkBetween(const std::string& root, const std::string& file) {
  if (file.compare(0, root.size(), root) != 0) return false;
  if (!IsRealFolder(root.size() > 3 ? root.substr(0, root.size() - 1) : root)) return false;
  for (size_t slash = file.find('\\', root.size()); slash != std::string::npos;
       slash = file.find('\\', slash + 1)) {
    if (!IsRealFolder(file.substr(0, slash))) return false;
  }
  return true;
}

}  // namespace

TreeJobDialog::TreeJobDialog(std::string name, std::string caption)
    : JobDialog(std::move(name), std::move(caption)),
      List1(*this, nullptr, "List1"),
      List2(*this, nullptr, "List2") {
  // Beyond the right edge of the client area.
  List1.Move(6975, 120, 2000, 1000);
  List2.Move(6975, 1200, 2000, 1000);
}

std::optional<WipeResult> TreeJobDialog::DoIt(const std::string& The_File) {
  std::optional<WipeResult> result = RunScheme(The_File);
  PrintOptions();
  return result;
}

void TreeJobDialog::WipeTreeFile(const std::string& root, const std::string& file, TreeTally& tally) {
  ++tally.files;
  List1.AddItem(file);
  lblLocation.SetText(file);
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(file);
  if (!info) return;  // gone since the listing: nothing of it is left to wipe
  if (!NoLinkBetween(root, file)) {
    ++tally.filesLeft;
    return;
  }
  if (info->isLink) {
    platform::IoError error = platform::RemoveFile(file);
    if (error != platform::IoError::None) ++tally.filesLeft;
    // A link that could not be removed as itself: whatever removes it by name removes its target.
    if (error == platform::IoError::IsLink) ++tally.linksLeft;
    return;
  }
  // A file with other names is only unlinked by the routine (its data is theirs too) and counts as not
  // wiped; a link the platform hid until the file was opened stays, with what it points to.
  std::optional<WipeResult> result = DoIt(file);
  if (!result || !result->Wiped()) ++tally.filesLeft;
  if (result && !result->gone && result->error == platform::IoError::IsLink) ++tally.linksLeft;
}

bool TreeJobDialog::RemoveTreeFolder(const std::string& folder) {
  List2.AddItem(folder);
  platform::IoError error = platform::RemoveDirectory(folder);
  if (error == platform::IoError::IsLink) error = platform::RemoveFile(folder);
  return error == platform::IoError::None;
}

void TreeJobDialog::WipeTree(const std::string& folder, bool removeFolder, TreeTally& tally) {
  std::vector<std::string> directories;
  std::vector<std::string> files;
  ScanDir(folder, directories, files, &Progress);
  for (const std::string& file : files) WipeTreeFile(folder, file, tally);
  for (auto it = directories.rbegin(); it != directories.rend(); ++it) {
    if (!RemoveTreeFolder(*it)) ++tally.foldersLeft;
  }
  if (removeFolder && !RemoveTreeFolder(folder.substr(0, folder.size() - 1))) ++tally.foldersLeft;
}

}  // namespace nullora
