// The file job: one file, confirmed, wiped with the chosen scheme, deleted.
#pragma once

#include <optional>
#include <string>

#include "jobs/job_dialog.h"

namespace nullora {

class fFiles : public JobDialog {
 public:
  fFiles();

  // Runs the selected scheme on one path; nullopt when the stored scheme is none of the five.
  std::optional<WipeResult> DoIt(const std::string& The_File);
  void WipeTheFile(const std::string& The_File);

 protected:
  std::string ConfirmText() const override;
  std::string LocationText() const override;
  int16_t PassesDefault() const override { return 7; }
  void RunWipe() override;
};

}  // namespace nullora
