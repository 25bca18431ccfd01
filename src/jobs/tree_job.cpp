#include "jobs/tree_job.h"

#include <vector>

#include "engine/directory_walk.h"
#include "platform/file.h"
#include "platform/platform.h"

namespace nullora {

namespace {

// Every folder between `root` (ending in a backslash) and `file` is still a real folder.
bool NoLinkBetween(const std::string& root, const std::string& file) {
  if (file.compare(0, root.size(), root) != 0) return false;
  for (size_t slash = file.find('\\', root.size()); slash != std::string::npos; slash = file.find('\\', slash + 1)) {
    std::optional<platform::FileInfo> info = platform::QueryFileInfo(file.substr(0, slash));
    if (!info || info->isLink || !info->isDirectory) return false;
  }
  return true;
}

}  // namespace

TreeJobDialog::TreeJobDialog(std::string name, std::string caption)
    : JobDialog(std::move(name), std::move(caption)), List1(*this, nullptr, "List1"), List2(*this, nullptr, "List2") {
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
    if (platform::RemoveFile(file) != platform::IoError::None) ++tally.filesLeft;
    return;
  }
  if (!info->isDirectory && info->linkCount > 1) {
    platform::SetFileAttributes(file, platform::kAttrNormal);
    platform::RemoveFile(file);
    ++tally.filesLeft;
    return;
  }
  std::optional<WipeResult> result = DoIt(file);
  if (!result || !result->Wiped()) ++tally.filesLeft;
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
  ScanDir(folder, directories, files);
  for (const std::string& file : files) WipeTreeFile(folder, file, tally);
  for (auto it = directories.rbegin(); it != directories.rend(); ++it) {
    if (!RemoveTreeFolder(*it)) ++tally.foldersLeft;
  }
  if (removeFolder && !RemoveTreeFolder(folder.substr(0, folder.size() - 1))) ++tally.foldersLeft;
}

}  // namespace nullora
