// What overwriting in place cannot reach. A solid-state drive writes a block anew elsewhere and keeps
// the old one until it erases it; a compressed, encrypted or sparse file has its data laid out by the
// file system, which may write an overwrite to other clusters than the data it replaces.
#pragma once

#include <string>

#include "platform/platform.h"

namespace nullora {

// The line a job's outcome adds under its status when such storage held one of its targets.
inline constexpr char kStorageNoteText[] =
    "Note: on this storage the drive or the file system may keep older copies of the data elsewhere, "
    "which no overwrite reaches; full-disk encryption (or the drive's own sanitize command) protects those.";

// Whether the file at `path`, with the attributes it had before its wipe, lies where an overwrite may miss
// older copies: a drive without seek penalty (a solid-state drive), or a compressed, encrypted or sparse
// file. False where the drive cannot be asked: a failed query says nothing rather than guess.
bool OverwriteMayMissCopies(const std::string& path, uint32_t attributes);
// The same for a drive's free space (`root` like "C:\").
bool FreeSpaceMayHoldCopies(const std::string& root);

}  // namespace nullora
