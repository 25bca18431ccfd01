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
  size_t linksLeft = 0;    // of the files left, links that could not be removed as links
  bool Clean() const { return filesLeft == 0 && foldersLeft == 0; }
};

// "Done", or for example "Not all wiped: 2 of 10 files could not be wiped; 1 folder could not be removed".
std::string TreeOutcomeText(const TreeTally& tally);
// The Recycle Bin job's: the tree's, and the items whose data could not be found, and whether the
// shell emptied the bin (it is not asked to while a link that cannot be removed as itself is in it).
std::string RecycleOutcomeText(const TreeTally& tally, size_t unplacedItems, bool binEmptied);

}  // namespace nullora
