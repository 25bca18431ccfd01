#include "jobs/fFiles.h"

#include "engine/dod_wipe.h"
#include "engine/pass_wipe.h"
#include "engine/wipe_scheme.h"
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
  std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  if (!scheme) return std::nullopt;
  switch (*scheme) {
    case WipeScheme::OneRandomPass: return PassWipeFile(The_File, 1, &ProgressBar1, &lblscheme);
    case WipeScheme::DodScheme: return DodWipeFile(The_File, WipeOptions.OpPasses, &ProgressBar1, &lblscheme);
    case WipeScheme::GutmannScheme: return GM.SecureFileDelete(The_File);
    case WipeScheme::CustomScheme: return PassWipeFile(The_File, WipeOptions.OpPasses, &ProgressBar1, &lblscheme);
    case WipeScheme::DeleteOnly: return PassWipeFile(The_File, 0, &ProgressBar1, &lblscheme);
  }
  return std::nullopt;
}

void fFiles::WipeTheFile(const std::string& The_File) {
  std::optional<WipeResult> result = DoIt(The_File);
  FinishJob(result ? FileOutcomeText(*result) : NoSchemeText());
}

}  // namespace nullora
