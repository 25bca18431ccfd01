#include "jobs/job_status.h"

namespace nullora {

using platform::IoError;

std::string FailureReason(IoError error) {
  switch (error) {
    case IoError::NotFound: return "nothing was found there";
    case IoError::AccessDenied: return "access denied";
    case IoError::InUse: return "the file is in use";
    case IoError::DiskFull: return "the disk is full";
    case IoError::IsLink: return "it is a link";
    case IoError::AlreadyExists: return "the name is taken";
    case IoError::None:
    case IoError::Other: break;
  }
  return "the disk reported an error";
}

std::string FileOutcomeText(const WipeResult& result) {
  if (result.Wiped()) return kStatusDone;
  if (result.gone && result.error == IoError::IsLink) {
    return "Link removed: what it points to was not wiped";
  }
  if (result.overwritten) return "Overwritten but not deleted: " + FailureReason(result.error);
  return "Not wiped: " + FailureReason(result.error);
}

std::string NoSchemeText() { return "Not wiped: the wipe scheme setting is not valid"; }

}  // namespace nullora

namespace nullora {

std::string TreeOutcomeText(const TreeTally& tally) {
  if (tally.Clean()) return kStatusDone;
  std::string text = "Not all wiped: ";
  if (tally.filesLeft > 0) {
    text += std::to_string(tally.filesLeft) + " of " + std::to_string(tally.files) + " files could not be wiped";
    if (tally.foldersLeft > 0) text += "; ";
  }
  if (tally.foldersLeft > 0) {
    text += std::to_string(tally.foldersLeft) + (tally.foldersLeft == 1 ? " folder" : " folders") +
            " could not be removed";
  }
  return text;
}

}  // namespace nullora
