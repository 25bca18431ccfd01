#include "jobs/tree_job.h"

#include <vector>

#include "engine/directory_walk.h"
#include "platform/file.h"
#include "platform/platform.h"

namespace nullora {

namespace {
constexpr char kFolderLeftText[] = "Folder not removed: something in it was left, or it could not be removed";
}  // namespace

TreeJobDialog::TreeJobDialog(std::string name, std::string caption)
    : JobDialog(std::move(name), std::move(caption)),
      List1(*this, nullptr, "List1"),
      List2(*this, nullptr, "List2") {
  // Beyond the right edge of the client area. A line per file: drawn in batches.
  List1.Move(6975, 120, 2000, 1000);
  List2.Move(6975, 1200, 2000, 1000);
  List1.SetPaintThrottled(true);
  List2.SetPaintThrottled(true);
}

void TreeJobDialog::Report(const std::string& path, const std::string& outcome, bool left) {
  if (ItemDone) ItemDone(path, outcome, left);
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
  // Delete Only writes nothing and never yields: the window breathes between files.
  Progress.Breathe();
  if (!FoldersStillReal(root, file)) {
    // A folder on the way has become a link (nothing is done through it) or is gone, with the file.
    const bool left = platform::GetFileAttributes(file) != platform::kInvalidAttributes;
    if (left) ++tally.filesLeft;
    Report(file,
           FileOutcomeText({false, false, left ? platform::IoError::IsLink : platform::IoError::NotFound}),
           left);
    return;
  }
  // The routine removes a link as a link, only unlinks a file with other names (its data is theirs
  // too: not wiped), and leaves a link it cannot remove as itself with what it points to.
  std::optional<WipeResult> result = DoIt(file);
  if (!result) {
    ++tally.filesLeft;
    Report(file, NoSchemeText(), true);
    return;
  }
  const bool linkRemoved = result->gone && result->error == platform::IoError::IsLink;
  // Gone since the listing: nothing of it was left to wipe.
  const bool vanished = !result->gone && result->error == platform::IoError::NotFound;
  const bool left = !result->Wiped() && !linkRemoved && !vanished;
  if (left) ++tally.filesLeft;
  Report(file, FileOutcomeText(*result), left);
  // Whatever removes such a link by name (the shell emptying the bin, under Wine) removes its target.
  if (!result->gone && result->error == platform::IoError::IsLink) ++tally.linksLeft;
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
  auto remove = [&](const std::string& path) {
    if (RemoveTreeFolder(path)) return;
    ++tally.foldersLeft;
    Report(path, kFolderLeftText, true);
  };
  for (auto it = directories.rbegin(); it != directories.rend(); ++it) remove(*it);
  if (removeFolder) remove(folder.substr(0, folder.size() - 1));
}

}  // namespace nullora
