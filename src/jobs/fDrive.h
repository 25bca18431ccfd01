// The drive job: the free space of a drive overwritten through a temporary fill file.
#pragma once

#include <cstdint>
#include <string>

#include "jobs/job_dialog.h"

namespace nullora {

// 1234567 as "1,234,567".
std::string GroupedNumber(uint64_t value);
// The final status of a free-space wipe.
std::string FreeSpaceOutcomeText(const FreeSpaceResult& result, int64_t freeBytes);

class fDrive : public JobDialog {
 public:
  fDrive();

  int64_t FreeBytes = 0;
  uint64_t TotalBytes = 0;
  // Whether the drive's figures could be read at load; shown as 0 when not.
  bool SpaceKnown = false;
  // The passes of the fill: the stored count, at least one (the console program's too).
  static int FillPasses();

 protected:
  void Form_Load() override;
  std::string ConfirmText() const override;
  std::string LocationText() const override;
  int16_t PassesDefault() const override { return 1; }
  void RunWipe() override;
  void GM_Progress(uint8_t bytPassProg, uint8_t pass) override;
  void GM_progressDisk(uint8_t percent);
};

}  // namespace nullora
