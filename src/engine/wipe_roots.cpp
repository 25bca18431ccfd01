#include "engine/wipe_roots.h"

#include "platform/path_compare.h"
#include "platform/path_names.h"
#include "platform/platform.h"

namespace nullora {

namespace {

using platform::KnownFolder;

struct Protected {
  KnownFolder folder;
  const char* name;
};
constexpr Protected kProtected[] = {
    {KnownFolder::Windows, "the Windows folder"},
    {KnownFolder::System, "the system folder"},
    {KnownFolder::ProgramFiles, "Program Files"},
    {KnownFolder::ProgramFilesX86, "Program Files"},
    {KnownFolder::ProgramFiles64, "Program Files"},
    {KnownFolder::ProgramData, "ProgramData"},
    {KnownFolder::Profile, "the profile folder"},
    {KnownFolder::Documents, "Documents"},
    {KnownFolder::Desktop, "Desktop"},
    {KnownFolder::Downloads, "Downloads"},
    {KnownFolder::Pictures, "Pictures"},
    {KnownFolder::Music, "Music"},
    {KnownFolder::Videos, "Videos"},
    {KnownFolder::Favorites, "Favorites"},
    {KnownFolder::AppData, "AppData"},
    {KnownFolder::LocalAppData, "Local AppData"},
};

}  // namespace

std::optional<std::string> WipeRootRefusal(const std::string& folder) {
  const std::string full = platform::ComparablePath(folder);
  if (full.empty()) return "no folder is set";
  if (platform::IsRootPath(full)) {
    return full.size() >= 2 && full[1] == ':' ? "the folder is a drive root" : "the folder is a share root";
  }
  for (const Protected& entry : kProtected) {
    const std::string known = platform::KnownFolderPath(entry.folder);
    if (known.empty()) continue;
    if (platform::SamePath(full, known)) return std::string("the folder is ") + entry.name;
  }
  for (const Protected& entry : kProtected) {
    const std::string known = platform::KnownFolderPath(entry.folder);
    if (!known.empty() && platform::IsBelow(known, full))
      return std::string("the folder holds ") + entry.name;
  }
  return std::nullopt;
}

}  // namespace nullora
