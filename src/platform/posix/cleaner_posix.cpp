// The stand-in of what the privacy cleaner reaches: a process list, special folders and a URL cache that
// tests set up, and a record of what was asked of them.
#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora::platform {

namespace posix {
CleanerWorld& Cleaner() {
  static CleanerWorld world;
  return world;
}
}  // namespace posix

namespace {
posix::CleanerWorld& World() {
  return posix::Cleaner();
}
}  // namespace

bool RegistryDeleteTree(RegistryRoot root, const std::string& key) {
  static const char* const kRoots[] = {"HKCR", "HKCU", "HKLM"};
  const std::string prefix = std::string(kRoots[static_cast<int>(root)]) + "\\" + key + "\\";
  auto& contents = posix::RegistryContents();
  for (auto it = contents.lower_bound(prefix);
       it != contents.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
    World().deletedRegistryPaths.push_back(it->first);
    it = contents.erase(it);
  }
  return true;
}

std::vector<std::string> RunningProcessNames() {
  return World().processes;
}

std::string SpecialFolderPath(int csidl) {
  auto found = World().specialFolders.find(csidl);
  return found == World().specialFolders.end() ? std::string() : found->second;
}

std::string TempFolderPath() {
  return World().tempFolder;
}
std::string ProfileFolderPath() {
  return World().profileFolder;
}
std::string WindowsFolderPath() {
  return World().windowsFolder;
}

bool UrlCacheGroups(std::vector<int64_t>* groups) {
  groups->clear();
  if (World().groupsFail) return false;
  for (const auto& [group, entries] : World().groups) groups->push_back(group);
  return true;
}

std::vector<UrlCacheEntry> UrlCacheEntries(std::optional<int64_t> group) {
  if (!group) return World().cache;
  auto found = World().groups.find(*group);
  return found == World().groups.end() ? std::vector<UrlCacheEntry>{} : found->second;
}

bool DeleteUrlCacheEntry(const std::string& url) {
  World().calls.push_back("DeleteUrlCacheEntry " + url);
  auto drop = [&](std::vector<UrlCacheEntry>& entries) {
    return std::erase_if(entries, [&](const UrlCacheEntry& entry) { return entry.url == url; }) > 0;
  };
  bool dropped = drop(World().cache);
  for (auto& [group, entries] : World().groups) dropped = drop(entries) || dropped;
  return dropped;
}

bool DeleteUrlCacheGroup(int64_t group) {
  World().calls.push_back("DeleteUrlCacheGroup " + std::to_string(group));
  return World().groups.erase(group) > 0;
}

bool ClearBrowserHistoryStore() {
  World().calls.push_back("ClearHistory");
  return true;
}

bool ClearAutoCompleteExport() {
  World().calls.push_back("AutoComplete");
  return true;
}

void SetShutdownBlockReason(const std::string& reason) {
  World().shutdownBlockReason = reason;
}

}  // namespace nullora::platform
