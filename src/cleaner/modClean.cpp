#include "cleaner/modClean.h"

#include <algorithm>
#include <vector>

#include "engine/directory_walk.h"
#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/pass_wipe.h"
#include "engine/progress.h"
#include "engine/wipe_scheme.h"
#include "jobs/fRecycle.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "shared/records.h"
#include "ui/controls/application.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"

namespace nullora {

namespace {

using platform::IoError;
using platform::RegistryRoot;

bool gStop = false;

constexpr int kCsidlRecent = 8;
constexpr int kCsidlInternetCache = 32;
constexpr int kCsidlCookies = 33;
constexpr int kCsidlHistory = 34;

bool SamePath(std::string a, std::string b) {
  auto fold = [](std::string& text) {
    while (text.size() > 3 && text.back() == '\\') text.pop_back();
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  };
  fold(a);
  fold(b);
  return !a.empty() && a == b;
}

// The entries to delete for `mask`: with mask 0 all but cookies and history, else those with every bit.
bool MaskTakes(uint32_t mask, uint32_t type) {
  if (mask == 0) return (type & (kCookieCacheEntry | kUrlHistoryCacheEntry)) == 0;
  return (type & mask) == mask;
}

}  // namespace

bool CleanItemSelected(int k) {
  return k >= 1 && k <= 9 && AppSettings.CleanKeys[static_cast<size_t>(k - 1)] == -1;
}

void StopCleanRun() {
  gStop = true;
}
bool CleanRunStopping() {
  return gStop;
}

void RunClean(bool background, CleanView& view) {
  gStop = false;
  if (background && view.ShowTrayBalloon) view.ShowTrayBalloon(kBackgroundStartText);
  for (const CleanItem& item : kCleanItems) {
    if (gStop) break;
    view.ProgressBar1.SetValue(10.0 * item.number);
    if (!CleanItemSelected(item.number)) continue;
    view.LblProgress.SetCaption(item.status);
    view.LblProgress.Refresh();
    ui::DoEvents();
    PauseBreathing(SilentProgress(), 500);
    if (gStop) break;
    // Each item ends itself on a failure; the run goes on with the next.
    switch (item.number) {
      case 1:
        if (!IsRecycleBinEmpty()) {
          // What the bin holds is wiped with the user's scheme before the shell forgets it.
          bool linkLeft = false;
          for (const std::string& path : platform::RecycleBinItemPaths()) {
            if (gStop) break;
            std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
            if (!info) continue;
            const bool left =
                info->isDirectory && !info->isLink ? WipeFolderFiles(path, view) : WipeCleanFile(path, view);
            linkLeft = linkLeft || left;
          }
          // The shell's emptying would take the target of a link left in the bin with it.
          if (!gStop && !linkLeft) EmptyRecycleBin();
        }
        break;
      case 2:
        ClearSearchHistory();
        break;
      case 3:
        if (std::string folder = GetTempFolder(); !folder.empty()) WipeFolderFiles(folder, view);
        break;
      case 4:
        if (std::string folder = platform::SpecialFolderPath(kCsidlRecent); !folder.empty()) {
          WipeFolderFiles(folder, view);
        }
        break;
      case 5:
        ClearCookies();
        break;
      case 6:
        ClearUrlCache(0);
        if (std::string folder = platform::SpecialFolderPath(kCsidlInternetCache); !folder.empty()) {
          WipeFolderFiles(folder, view);
        }
        break;
      case 7:
        ClearUrlHistory();
        break;
      case 8:
        ClearAutoComplete();
        break;
      case 9:
        ClearIndexDatFiles();
        break;
      default:
        break;
    }
  }
  if (!gStop) {
    view.ProgressBar1.SetValue(100);
    view.LblProgress.SetCaption(kCleanCompleteText);
  }
  if (background && view.ShowTrayBalloon) view.ShowTrayBalloon(kBackgroundEndText);
}

void ClearUrlCache(uint32_t mask) {
  // The mask decides every entry, those inside groups too; only the cache item (mask 0) removes
  // groups, and only once they are empty.
  std::vector<int64_t> groups;
  if (!platform::UrlCacheGroups(&groups)) groups.clear();
  for (int64_t group : groups) {
    bool emptied = true;
    for (const platform::UrlCacheEntry& entry : platform::UrlCacheEntries(group)) {
      if (!MaskTakes(mask, entry.type) || !platform::DeleteUrlCacheEntry(entry.url)) emptied = false;
    }
    if (mask == 0 && emptied) platform::DeleteUrlCacheGroup(group);
  }
  for (const platform::UrlCacheEntry& entry : platform::UrlCacheEntries(std::nullopt)) {
    if (MaskTakes(mask, entry.type)) platform::DeleteUrlCacheEntry(entry.url);
  }
}

void ClearCookies() {
  ClearUrlCache(kCookieCacheEntry);
}

void ClearUrlHistory() {
  ClearTypedUrls();
  ClearUrlCache(kUrlHistoryCacheEntry);
  platform::ClearBrowserHistoryStore();
}

void ClearAutoComplete() {
  platform::ClearAutoCompleteExport();
  // The browser's own store of what was typed into forms and which passwords it keeps.
  for (const char* store : {"Storage1", "Storage2"}) {
    platform::RegistryDeleteTree(
        RegistryRoot::CurrentUser,
        std::string("Software\\Microsoft\\Internet Explorer\\IntelliForms\\") + store);
  }
}

void ClearSearchHistory() {
  platform::RegistryDeleteTree(RegistryRoot::CurrentUser, "Software\\Microsoft\\Search Assistant\\ACMru");
}

void ClearTypedUrls() {
  platform::RegistryDeleteTree(RegistryRoot::CurrentUser,
                               "Software\\Microsoft\\Internet Explorer\\TypedURLs");
}

std::string GetTempFolder() {
  std::string folder = platform::TempFolderPath();
  if (folder.empty()) return {};
  const std::string full = platform::FullPathName(folder);
  // A TEMP that names a drive, the Windows folder or the profile itself would wipe all that is there.
  if (full.empty() || platform::IsRootPath(full) || SamePath(full, platform::WindowsFolderPath()) ||
      SamePath(full, platform::ProfileFolderPath())) {
    return {};
  }
  return folder;
}

bool WipeFolderFiles(const std::string& folder, CleanView& view) {
  std::string root = folder;
  if (!root.empty() && root.back() == '\\') root.pop_back();
  root += '\\';
  std::vector<std::string> directories;
  std::vector<std::string> files;
  ControlProgress walk(nullptr, nullptr);
  ScanDir(root, directories, files, &walk);
  bool linkLeft = false;
  for (const std::string& file : files) {
    // Stopped between two files, never inside one.
    if (gStop) break;
    view.lblProgress3.SetCaption(file.substr(file.find_last_of('\\') + 1));
    if (FoldersStillReal(root, file) && WipeCleanFile(file, view)) linkLeft = true;
  }
  return linkLeft;
}

bool WipeCleanFile(const std::string& file, CleanView& view) {
  std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  if (!scheme) return false;
  ControlProgress progress(&view.ProgressBar2, &view.lblProgress2);
  // A failure of one file leaves it as the routine left it; the next file follows.
  WipeResult result;
  switch (*scheme) {
    case WipeScheme::OneRandomPass:
      result = PassWipeFile(file, 1, &progress);
      break;
    case WipeScheme::DodScheme:
      result = DodWipeFile(file, WipeOptions.OpPasses, &progress);
      break;
    case WipeScheme::GutmannScheme: {
      Gutmann gm;
      gm.progress = &progress;
      result = gm.SecureFileDelete(file);
      break;
    }
    case WipeScheme::CustomScheme:
      result = PassWipeFile(file, WipeOptions.OpPasses, &progress);
      break;
    case WipeScheme::DeleteOnly:
      result = PassWipeFile(file, 0, &progress);
      break;
  }
  return !result.gone && result.error == IoError::IsLink;
}

std::vector<std::string> ListIndexDatFiles() {
  std::vector<std::string> paths;
  if (std::string cookies = platform::SpecialFolderPath(kCsidlCookies); !cookies.empty()) {
    paths.push_back(cookies + "\\index.dat");
  }
  if (std::string cache = platform::SpecialFolderPath(kCsidlInternetCache); !cache.empty()) {
    paths.push_back(cache + "\\Content.IE5\\index.dat");
  }
  if (std::string history = platform::SpecialFolderPath(kCsidlHistory); !history.empty()) {
    std::vector<std::string> found;
    ControlProgress walk(nullptr, nullptr);
    GetFilesInDirs(history, "index.dat", found, true, &walk);
    paths.insert(paths.end(), found.begin(), found.end());
  }
  return paths;
}

void ZeroFillFile(const std::string& path) {
  // Only a file that is there, and that no other program holds open for writing: the shell and the
  // browser keep these as live databases, and zeros written under them would break them.
  platform::File file = platform::File::Open(path, platform::Access::Write, platform::kShareRead,
                                             platform::Disposition::OpenExisting);
  if (!file.IsOpen()) return;
  uint64_t length = 0;
  if (file.Length(&length) != IoError::None) return;
  std::vector<uint8_t> zeros(static_cast<size_t>(std::min<uint64_t>(length, 1 << 20)), 0);
  for (uint64_t offset = 0; offset < length;) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(length - offset, zeros.size()));
    if (file.WriteAt(offset, {zeros.data(), chunk}) != IoError::None) return;
    offset += chunk;
    SilentProgress().Breathe();
  }
  file.Flush();
}

void ClearIndexDatFiles() {
  for (const std::string& path : ListIndexDatFiles()) {
    if (gStop) return;
    ZeroFillFile(path);
  }
}

}  // namespace nullora
