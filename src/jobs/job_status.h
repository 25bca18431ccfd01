// The final status line of a wipe job. "Done" only when everything was overwritten as the scheme says
// and deleted; otherwise a line that says what was not wiped and why.
#pragma once

#include <string>

#include "engine/wipe_result.h"

namespace nullora {

inline constexpr char kStatusDone[] = "Done";

// "Done", or for example "Not wiped: the file is in use".
std::string FileOutcomeText(const WipeResult& result);
// The reason part of a failure: "the file is in use", "access denied", "nothing was found there"...
std::string FailureReason(platform::IoError error);
// The status of a job run without a valid scheme.
std::string NoSchemeText();

}  // namespace nullora

namespace nullora {

// What a run over many files left behind.
struct TreeTally {
  size_t files = 0;        // files (and links) found
  size_t filesLeft = 0;    // of those, not overwritten as the scheme says
  size_t foldersLeft = 0;  // folders that could not be removed
  bool Clean() const { return filesLeft == 0 && foldersLeft == 0; }
};

// "Done", or for example "Not all wiped: 2 of 10 files could not be wiped; 1 folder could not be removed".
std::string TreeOutcomeText(const TreeTally& tally);

}  // namespace nullora
