#include "jobs/fRecycle.h"

#include "engine/file_names.h"
#include "platform/platform.h"
#include "platform/resource_ids.h"
#include "platform/widgets.h"
#include "ui/controls/application.h"

namespace nullora {

bool IsRecycleBinEmpty() {
  platform::RecycleBinInfo info;
  // A bin the shell could not be asked about is not known to be empty.
  if (!platform::QueryRecycleBin(&info)) return false;
  return info.size == 0 && info.items == 0;
}

bool EmptyRecycleBin() {
  bool emptied = platform::EmptyRecycleBin();
  platform::UpdateRecycleBinIcon();
  return emptied;
}

std::string DriveTypeName(int code) {
  switch (code) {
    case 0:
      return "Unknown Drive Type";
    case 1:
      return "Drive does not exist";
    case 2:
      return "Removable Media";
    case 3:
      return "Fixed Drive";
    case 4:
      return "Network Drive";
    case 5:
      return "CD Rom";
    case 6:
      return "Ram Disk";
    default:
      return "";
  }
}

fRecycle::fRecycle()
    : TreeJobDialog("fRecycle", "Nullora - Removing the Recycle Bin"),
      Image3(*this, nullptr, "Image3", platform::kJobPicture2) {
  Image2.SetPicture(platform::kTreeImageFirst + 3);  // the full bin
  Image3.Move(7200, 0, 480, 480);                    // out of sight: only the source of Image2's picture
}

std::string fRecycle::ConfirmText() const {
  return "All the items in the Recycle Bin     will be wipped and then Deleted!";
}

void fRecycle::Form_Load() {
  if (IsRecycleBinEmpty()) {
    platform::ShowMessage("The Recycle bin is empty", "Nullora");
    ui::End();
  }
  TreeJobDialog::Form_Load();
}

void fRecycle::sListAllDrives() {
  DriveList.clear();
  for (const std::string& root : platform::LogicalDrives()) {
    if (DriveTypeName(platform::GetDriveType(root)) == "Fixed Drive") DriveList.push_back(root);
  }
}

void fRecycle::WipeRecycleBin() {
  LoadOptions();
  sListAllDrives();
  TreeTally tally;
  for (const std::string& root : DriveList) {
    List1.Clear();
    List2.Clear();
    const std::string recycled = root + "recycled\\";
    // A "recycled" that is a link or junction leads elsewhere: it is not walked.
    std::optional<platform::FileInfo> info = platform::QueryFileInfo(root + "recycled");
    if (info && info->isDirectory && !info->isLink) WipeTree(recycled, false, tally);
  }
  // Wherever this Windows keeps the bin ("RECYCLER", "$Recycle.Bin\<SID>", or elsewhere), the shell
  // knows where each of its items really lies: wipe them there before the shell forgets them.
  size_t unplaced = 0;
  for (const std::string& item : platform::RecycleBinItemPaths(&unplaced)) {
    std::optional<platform::FileInfo> info = platform::QueryFileInfo(item);
    if (!info) continue;
    if (info->isDirectory && !info->isLink) {
      WipeTree(item + "\\", true, tally);
    } else {
      WipeTreeFile(ParentPath(item), item, tally);
    }
  }
  // The shell's emptying removes a link it cannot open as itself through to its target (Wine): with
  // such a link left in the bin, the bin stays as it is.
  const bool emptied = tally.linksLeft == 0 && EmptyRecycleBin();
  if (emptied) Image2.SetPicture(Image3.ResourceId());
  FinishJob(RecycleOutcomeText(tally, unplaced, emptied));
}

}  // namespace nullora
