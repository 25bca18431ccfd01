#include "jobs/fFolders.h"

#include "platform/file.h"
#include "shared/records.h"

namespace nullora {

fFolders::fFolders() : TreeJobDialog("fFolders", "Nullora - Removing a Folder") {}

std::string fFolders::ConfirmText() const {
  return "Folder: " + FolderPath + "\r\n" + "will be wiped then deleted!";
}

void fFolders::RunWipe() {
  WipeFolder(FolderPath);
}

void fFolders::WipeFolder(const std::string& The_Folder) {
  LoadOptions();
  List1.Clear();
  List2.Clear();
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(The_Folder);
  // A link or junction given as the folder is removed as a link, never walked: the tree it points to is
  // not the user's target.
  if (info && info->isLink) {
    platform::IoError error = platform::RemoveFile(The_Folder);
    FinishJob(FileOutcomeText({error == platform::IoError::None, false,
                               error == platform::IoError::None ? platform::IoError::IsLink : error}));
    return;
  }
  if (!info || !info->isDirectory) {
    FinishJob(FileOutcomeText(
        {false, false, info ? platform::IoError::AccessDenied : platform::IoError::NotFound}));
    return;
  }
  TreeTally tally;
  WipeTree(The_Folder + "\\", true, tally);
  FinishJob(TreeOutcomeText(tally));
}

}  // namespace nullora
