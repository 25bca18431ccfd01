// What the folder and Recycle Bin jobs share: wiping every file of a tree, then removing its folders
// deepest first, with the two hidden log lists.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "jobs/job_dialog.h"
#include "jobs/job_status.h"
#include "ui/controls/list_box.h"

namespace nullora {

class TreeJobDialog : public JobDialog {
 public:
  TreeJobDialog(std::string name, std::string caption);

  // The logs, out of sight beyond the window's right edge: each file before it is wiped, each folder
  // before it is removed.
  ui::ListBox List1;
  ui::ListBox List2;

  // Told of each file as the tree is done with it, and of each folder that stays: its path, the outcome
  // in the words of a file job, and whether something was left there. The console program's lines.
  std::function<void(const std::string& path, const std::string& outcome, bool left)> ItemDone;

  // Wipes one file with the options loaded for the run, then rewrites the options line.
  std::optional<WipeResult> DoIt(const std::string& The_File);

  // Wipes every file below `folder` (ending in a backslash), removes its subfolders deepest first and,
  // when `removeFolder` is set, the folder itself. Adds what could not be done to `tally`.
  void WipeTree(const std::string& folder, bool removeFolder, TreeTally& tally);
  // One file of a tree below `root`. A link is removed as a link; a file with other hard links is only
  // unlinked (overwriting it would destroy the data under its other names) and counts as not wiped; a
  // file whose folder has been replaced by a link since the listing is not touched.
  void WipeTreeFile(const std::string& root, const std::string& file, TreeTally& tally);
  // Removes an emptied folder; a folder that has become a link is removed as a link.
  bool RemoveTreeFolder(const std::string& folder);

 private:
  void Report(const std::string& path, const std::string& outcome, bool left);
};

}  // namespace nullora
