// The Recycle Bin job: what the bin holds is wiped, then the shell empties it.
#pragma once

#include <string>
#include <vector>

#include "jobs/tree_job.h"
#include "ui/controls/picture_box.h"

namespace nullora {

// Whether the shell's bin holds nothing at all (no bytes and no items).
bool IsRecycleBinEmpty();
// Empties the bin of every drive through the shell and refreshes its icon; false when items are left.
bool EmptyRecycleBin();
// The display name of a drive type code ("Fixed Drive"...), empty for an unknown code.
std::string DriveTypeName(int code);

class fRecycle : public TreeJobDialog {
 public:
  fRecycle();

  // The roots of the fixed drives ("C:\"), in letter order; room for all 26.
  std::vector<std::string> DriveList;
  ui::PictureBox Image3;

  void sListAllDrives();
  void WipeRecycleBin();

 protected:
  void Form_Load() override;
  std::string ConfirmText() const override;
  std::string LocationText() const override { return {}; }
  int16_t PassesDefault() const override { return 1; }
  void RunWipe() override { WipeRecycleBin(); }
};

}  // namespace nullora
