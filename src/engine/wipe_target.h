// The steps every file-wipe routine takes before it opens a file and after it closed it.
#pragma once

#include <optional>
#include <string>

#include "engine/wipe_result.h"

namespace nullora {

// Looks at `path` without following links. Returns the routine's final result when there is nothing
// to overwrite: the path is missing, or is a directory, or is a link (then removed as a link; what it
// points to is never opened), or is a file with other names (then only this name is removed). Returns nullopt
// for a regular file, whose attributes are then cleared and whose details go to `info` when it is given.
std::optional<WipeResult> PrepareWipeTarget(const std::string& path, platform::FileInfo* info = nullptr);

// After a complete overwrite: gives the file a random name when the options ask for it, then deletes
// it. The result says whether it is gone, and carries the file's `attributes` from before the wipe.
WipeResult FinishWipe(const std::string& path, bool rename, uint32_t attributes = 0);

// The result of a routine whose overwrite stopped on `error`: the file stays where it is.
WipeResult NotOverwritten(platform::IoError error);

}  // namespace nullora
