// The folder job: every file below a folder wiped, then its folders removed, the folder last.
#pragma once

#include "jobs/tree_job.h"

namespace nullora {

class fFolders : public TreeJobDialog {
 public:
  fFolders();
  void WipeFolder(const std::string& The_Folder);

 protected:
  std::string ConfirmText() const override;
  std::string LocationText() const override { return {}; }
  int16_t PassesDefault() const override { return 7; }
  void RunWipe() override;
};

}  // namespace nullora
