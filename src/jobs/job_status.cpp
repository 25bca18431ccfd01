#include "jobs/job_status.h"

#include <vector>

namespace nullora {

using platform::IoError;

std::string FailureReason(IoError error) {
  switch (error) {
    case IoError::NotFound:
      return "nothing was found there";
    case IoError::AccessDenied:
      return "access denied";
    case IoError::InUse:
      return "the file is in use";
    case IoError::DiskFull:
      return "the disk is full";
    case IoError::IsLink:
      return "it is a link; what it points to was left alone";
    case IoError::NotAFile:
      return "it is a device, not a file";
    case IoError::HasOtherNames:
      return "the file has other names (hard links)";
    case IoError::AlreadyExists:
      return "the name is taken";
    case IoError::ReadBackDiffers:
      return "what was read back differs from what was written";
    case IoError::None:
    case IoError::Other:
      break;
  }
  return "the disk reported an error";
}

std::string FileOutcomeText(const WipeResult& result) {
  if (result.Wiped()) return kStatusDone;
  if (result.gone && result.error == IoError::IsLink) {
    return "Link removed: what it points to was not wiped";
  }
  if (result.gone && result.error == IoError::HasOtherNames) {
    return "Name removed: the file has other names, so its data was not wiped";
  }
  if (result.gone && result.overwritten && result.grew) {
    return "Wiped, but the file grew during the wipe: what was added got fewer passes";
  }
  if (result.overwritten) return "Overwritten but not deleted: " + FailureReason(result.error);
  return "Not wiped: " + FailureReason(result.error);
}

std::string NoSchemeText() {
  return "Not wiped: the wipe scheme setting is not valid";
}

}  // namespace nullora

namespace nullora {

namespace {

std::vector<std::string> TreeProblems(const TreeTally& tally) {
  std::vector<std::string> problems;
  if (tally.filesLeft > 0) {
    problems.push_back(std::to_string(tally.filesLeft) + " of " + std::to_string(tally.files) +
                       " files could not be wiped");
  }
  if (tally.foldersLeft > 0) {
    problems.push_back(std::to_string(tally.foldersLeft) + (tally.foldersLeft == 1 ? " folder" : " folders") +
                       " could not be removed");
  }
  return problems;
}

std::string Outcome(const std::vector<std::string>& problems) {
  if (problems.empty()) return kStatusDone;
  std::string text = "Not all wiped: ";
  for (size_t i = 0; i < problems.size(); ++i) text += (i ? "; " : "") + problems[i];
  return text;
}

}  // namespace

std::string TreeOutcomeText(const TreeTally& tally) {
  return Outcome(TreeProblems(tally));
}

std::string RecycleOutcomeText(const TreeTally& tally, size_t unplacedItems, bool binEmptied) {
  std::vector<std::string> problems = TreeProblems(tally);
  if (unplacedItems > 0) {
    problems.push_back(std::to_string(unplacedItems) + (unplacedItems == 1 ? " item" : " items") +
                       " of the bin could not be found on disk");
  }
  if (tally.linksLeft > 0) {
    problems.push_back("the bin was not emptied, since it holds a link whose target would go with it");
  } else if (!binEmptied) {
    problems.push_back("the bin could not be emptied");
  }
  return Outcome(problems);
}

}  // namespace nullora
