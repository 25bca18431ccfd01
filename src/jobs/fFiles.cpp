#include "jobs/fFiles.h"

#include "jobs/job_status.h"
#include "shared/records.h"

namespace nullora {

fFiles::fFiles() : JobDialog("fFiles", "Nullora - Removing a File") {}

std::string fFiles::ConfirmText() const { return "The File: " + FilePath + " will be wiped then deleted!"; }

std::string fFiles::LocationText() const { return FilePath; }

void fFiles::RunWipe() { WipeTheFile(FilePath); }

std::optional<WipeResult> fFiles::DoIt(const std::string& The_File) {
  LoadOptions();
  PrintOptions();
  return RunScheme(The_File);
}

void fFiles::WipeTheFile(const std::string& The_File) {
  std::optional<WipeResult> result = DoIt(The_File);
  FinishJob(result ? FileOutcomeText(*result) : NoSchemeText());
}

}  // namespace nullora
