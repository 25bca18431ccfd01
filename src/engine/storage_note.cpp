#include "engine/storage_note.h"

#include "platform/platform.h"

namespace nullora {

void StorageNote::Wiped(const std::string& path, WipeScheme scheme, const WipeResult& result) {
  if (scheme == WipeScheme::DeleteOnly || !result.overwritten || result.attributes == 0) return;
  const uint32_t attributes = result.attributes;
  constexpr uint32_t kLaidOutByTheFileSystem =
      platform::kAttrCompressed | platform::kAttrEncrypted | platform::kAttrSparse;
  if (attributes != platform::kInvalidAttributes && (attributes & kLaidOutByTheFileSystem)) needed_ = true;
  if (!needed_ && IsSolidState(path)) needed_ = true;
}

void StorageNote::FilledFreeSpace(const std::string& root) {
  if (IsSolidState(root)) needed_ = true;
}

bool StorageNote::IsSolidState(const std::string& path) {
  // A share or any path without a drive letter is not asked: its drive is not this machine's to query.
  if (path.size() < 2 || path[1] != ':') return false;
  const std::string drive = platform::FoldCase(path.substr(0, 2));
  auto known = seekPenalty_.find(drive);
  if (known == seekPenalty_.end())
    known = seekPenalty_.emplace(drive, platform::DriveHasSeekPenalty(path)).first;
  return known->second.has_value() && !*known->second;
}

}  // namespace nullora
