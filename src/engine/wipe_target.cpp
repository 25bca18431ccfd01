#include "engine/wipe_target.h"

#include "engine/file_names.h"
#include "platform/file.h"

namespace nullora {

std::optional<WipeResult> PrepareWipeTarget(const std::string& path, platform::FileInfo* details) {
  using platform::IoError;
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
  if (!info) return NotOverwritten(IoError::NotFound);
  if (info->isLink) {
    // Removing the link is what the user asked for at this path; the data behind it is not theirs to
    // destroy through it.
    IoError error = platform::RemoveFile(path);
    return WipeResult{error == IoError::None, false, error == IoError::None ? IoError::IsLink : error};
  }
  if (info->isDirectory) return NotOverwritten(IoError::AccessDenied);
  if (info->linkCount > 1) {
    // Overwriting would destroy the data under its other names too: only this name goes. Its
    // attributes are those of every name, so a read-only file is left as it is.
    IoError error = platform::RemoveFile(path);
    return WipeResult{error == IoError::None, false, error == IoError::None ? IoError::HasOtherNames : error};
  }
  // Read-only, hidden and system files are wiped like any other.
  constexpr uint32_t kInTheWay = platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem;
  if (info->attributes & kInTheWay) platform::SetFileAttributes(path, platform::kAttrNormal);
  if (details) *details = *info;
  return std::nullopt;
}

WipeResult FinishWipe(const std::string& path, bool rename, uint32_t attributes) {
  std::string target = rename ? RenameToRandomName(path) : path;
  platform::IoError error = platform::RemoveFile(target);
  WipeResult result{error == platform::IoError::None, true, error};
  result.attributes = attributes;
  return result;
}

WipeResult NotOverwritten(platform::IoError error) {
  return WipeResult{false, false, error};
}

}  // namespace nullora
