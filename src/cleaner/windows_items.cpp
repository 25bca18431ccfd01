#include "cleaner/windows_items.h"

#include <string>
#include <vector>

#include "engine/wipe_roots.h"
#include "platform/platform.h"
#include "shared/records.h"

namespace nullora {

namespace {

using platform::RegistryRoot;

constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// What an item removes, from the fixed set of actions: the values of keys (the keys stay), whole keys
// with all below them, files by name in a folder of Local AppData, the clipboard.
struct WindowsActions {
  std::vector<std::string> valuesOf;
  std::vector<std::string> trees;
  const char* localFolder = nullptr;  // below Local AppData
  std::vector<const char*> patterns;  // the files in it
  bool clipboard = false;
};

WindowsActions ActionsOf(WindowsItemKind kind) {
  const std::string explorer = kExplorer;
  switch (kind) {
    case WindowsItemKind::SearchBox:
      return {{explorer + "\\WordWheelQuery"}, {}, nullptr, {}, false};
    case WindowsItemKind::RunHistory:
      return {{explorer + "\\RunMRU"}, {}, nullptr, {}, false};
    case WindowsItemKind::TypedPaths:
      return {{explorer + "\\TypedPaths"}, {}, nullptr, {}, false};
    case WindowsItemKind::RecentLists:
      return {{},
              {explorer + "\\RecentDocs", explorer + "\\ComDlg32\\OpenSavePidlMRU",
               explorer + "\\ComDlg32\\LastVisitedPidlMRU"},
              nullptr,
              {},
              false};
    case WindowsItemKind::Thumbnails:
      return {{}, {}, "Microsoft\\Windows\\Explorer", {"thumbcache_*.db", "iconcache_*.db"}, false};
    case WindowsItemKind::Clipboard:
      return {{}, {}, nullptr, {}, true};
  }
  return {};
}

// Deletes the values of `key`, not the key nor what is below it.
void ClearValues(const std::string& key, CleanItemResult& result) {
  std::optional<platform::RegistryKeyContents> listed =
      platform::RegistryListKey(RegistryRoot::CurrentUser, key);
  if (!listed) {
    result.Leave("its registry key could not be read");
    return;
  }
  size_t left = 0;
  for (const std::string& name : listed->values) {
    if (CleanRunPreviewing() || platform::RegistryDeleteValue(RegistryRoot::CurrentUser, key, name)) {
      ++result.counts.registryValues;
    } else {
      ++left;
    }
  }
  if (left > 0) {
    result.Leave(std::to_string(left) + (left == 1 ? " registry value" : " registry values") +
                 " could not be removed");
  }
}

void ClearTree(const std::string& key, CleanItemResult& result) {
  if (!ClearRegistryTree(key, result.counts))
    result.Leave(key.substr(key.find_last_of('\\') + 1) + " could not be removed");
}

// The cache files of the folder, each wiped; one Explorer holds open is left and named.
void WipeCacheFiles(const std::string& folder, const std::vector<const char*>& patterns, CleanView& view,
                    CleanItemResult& result) {
  if (std::optional<std::string> why = WipeRootRefusal(folder)) {
    result.Leave("refused, " + *why);
    return;
  }
  FolderWipeTally tally;
  for (const char* pattern : patterns) {
    // The folder itself only: what lies in folders below it is no cache of these.
    std::vector<platform::DirEntry> entries;
    platform::ListDirectory(folder + "\\" + pattern, &entries);
    for (const platform::DirEntry& entry : entries) {
      if (entry.attributes & platform::kAttrDirectory) continue;
      const std::string file = folder + "\\" + entry.name;
      if (CleanRunStopping()) {
        tally.stopped = true;
        break;
      }
      FolderWipeTally one;
      one.Wipe(file, view);
      if (one.notWiped.count(platform::IoError::InUse)) {
        // Explorer keeps the caches open while it runs: which one is said, and it stays.
        result.Leave(file.substr(file.find_last_of('\\') + 1) + " is in use by Explorer");
        one.notWiped.erase(platform::IoError::InUse);
      }
      tally.Merge(one);
    }
  }
  tally.AddTo(result);
}

}  // namespace

bool WindowsItemSelected(WindowsItemKind kind) {
  for (const WindowsItem& item : kWindowsItems) {
    if (item.kind != kind) continue;
    auto found = WindowsCleanKeys.find(item.key);
    return found != WindowsCleanKeys.end() && found->second == -1;
  }
  return false;
}

CleanItemResult CleanWindowsItem(WindowsItemKind kind, CleanView& view) {
  CleanItemResult result;
  const WindowsActions actions = ActionsOf(kind);
  for (const std::string& key : actions.valuesOf) ClearValues(key, result);
  for (const std::string& key : actions.trees) ClearTree(key, result);
  if (actions.localFolder) {
    if (const std::string local = platform::KnownFolderPath(platform::KnownFolder::LocalAppData);
        !local.empty()) {
      const std::string folder = local + "\\" + actions.localFolder;
      if (std::optional<platform::FileInfo> info = platform::QueryFileInfo(folder); info && info->isLink) {
        result.Leave("its folder is a link, left with what it points to");
      } else if (info) {
        WipeCacheFiles(folder, actions.patterns, view, result);
      }
    }
  }
  if (actions.clipboard) {
    if (CleanRunPreviewing()) {
      result.notes.push_back("emptied whatever it holds; what that is, is not counted");
    } else if (!platform::ClearClipboard()) {
      result.Leave("the clipboard could not be emptied, another program holds it");
    }
  }
  return result;
}

}  // namespace nullora
