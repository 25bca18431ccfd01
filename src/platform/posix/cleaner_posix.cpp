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

bool RegistryDeleteTree(RegistryRoot root, const std::string& key, RegistryView view) {
  const std::string prefix = posix::RegistryKeyPath(root, key, view);
  auto& contents = posix::RegistryContents();
  for (auto it = contents.lower_bound(prefix);
       it != contents.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
    World().deletedRegistryPaths.push_back(it->first);
    it = contents.erase(it);
  }
  return true;
}

std::optional<RegistryKeyContents> RegistryListKey(RegistryRoot root, const std::string& key,
                                                   RegistryView view) {
  const std::string prefix = posix::RegistryKeyPath(root, key, view);
  const auto& contents = posix::RegistryContents();
  RegistryKeyContents listed;
  for (auto it = contents.lower_bound(prefix);
       it != contents.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
    const std::string rest = it->first.substr(prefix.size());
    const size_t slash = rest.find('\\');
    if (slash == std::string::npos) {
      listed.values.push_back(rest);
    } else if (listed.subkeys.empty() || listed.subkeys.back() != rest.substr(0, slash)) {
      listed.subkeys.push_back(rest.substr(0, slash));
    }
  }
  return listed;
}

bool ClearClipboard() {
  if (World().clipboardHeld) return false;
  World().clipboard.clear();
  return true;
}

std::vector<std::string> RunningProcessNames() {
  return World().processes;
}

std::vector<std::string> ProcessNamesWithWindows() {
  return World().processesWithWindows;
}

std::string SpecialFolderPath(int csidl) {
  auto found = World().specialFolders.find(csidl);
  return found == World().specialFolders.end() ? std::string() : found->second;
}

std::string TempFolderPath() {
  return World().tempFolder;
}

bool UrlCacheGroups(std::vector<int64_t>* groups) {
  groups->clear();
  if (World().groupsFail) return false;
  for (const auto& [group, entries] : World().groups) groups->push_back(group);
  return true;
}

// As on Windows: each container is listed on its own; content is what is neither a cookie nor history.
std::vector<UrlCacheEntry> UrlCacheEntries(std::optional<int64_t> group, UrlCacheContainer container) {
  std::vector<UrlCacheEntry> all;
  if (!group) {
    all = World().cache;
  } else if (auto found = World().groups.find(*group); found != World().groups.end()) {
    all = found->second;
  }
  std::erase_if(all, [container](const UrlCacheEntry& entry) {
    const bool cookie = (entry.type & 0x00100000u) != 0;
    const bool history = (entry.type & 0x00200000u) != 0;
    switch (container) {
      case UrlCacheContainer::Cookies:
        return !cookie;
      case UrlCacheContainer::History:
        return !history;
      case UrlCacheContainer::Content:
        return cookie || history;
    }
    return true;
  });
  return all;
}

bool DeleteUrlCacheEntry(const std::string& url) {
  World().calls.push_back("DeleteUrlCacheEntry " + url);
  if (World().lockedUrls.count(url)) return false;
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

void SetShutdownBlockReason(Widget* window, const std::string& reason) {
  (void)window;
  World().shutdownBlockReason = reason;
}

bool ClaimMainInstance() {
  return !World().otherMainInstance;
}

void PublishMainInstanceWindow(Widget* window) {
  (void)window;
  ++World().mainInstancePublished;
}

bool AskMainInstanceToShow() {
  ++World().showRequests;
  return World().otherMainInstance;
}

}  // namespace nullora::platform
