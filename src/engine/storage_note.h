// What overwriting in place cannot reach. A solid-state drive writes a block anew elsewhere and keeps
// the old one until it erases it; a compressed, encrypted or sparse file has its data laid out by the
// file system, which may write an overwrite to other clusters than the data it replaces.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "engine/wipe_result.h"
#include "engine/wipe_scheme.h"
#include "platform/platform.h"

namespace nullora {

// The line a job's outcome adds under its status when such storage held one of its targets.
inline constexpr char kStorageNoteText[] =
    "Note: on this storage the drive or the file system may keep older copies of the data elsewhere, "
    "which no overwrite reaches; full-disk encryption (or the drive's own sanitize command) protects those.";

// Gathers, over a job, whether one of the files it overwrote (or the free space it filled) lies where an
// overwrite may miss older copies: on a drive without seek penalty (a solid-state drive), or in a
// compressed, encrypted or sparse file. A drive that cannot be asked says nothing: no guess is made.
class StorageNote {
 public:
  // A file the job wiped with `scheme`: counted when its bytes were overwritten (Delete Only writes none),
  // with the attributes it had before its wipe.
  void Wiped(const std::string& path, WipeScheme scheme, const WipeResult& result);
  // The free space of the drive whose root is `root` ("C:\").
  void FilledFreeSpace(const std::string& root);
  bool Needed() const { return needed_; }

 private:
  bool IsSolidState(const std::string& path);
  std::map<std::string, std::optional<bool>> seekPenalty_;  // by drive ("C:")
  bool needed_ = false;
};

}  // namespace nullora
