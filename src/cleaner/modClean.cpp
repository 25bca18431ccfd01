#include "cleaner/modClean.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "cleaner/browser_items.h"
#include "engine/directory_walk.h"
#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/pass_wipe.h"
#include "engine/progress.h"
#include "engine/wipe_roots.h"
#include "engine/wipe_scheme.h"
#include "jobs/fRecycle.h"
#include "platform/clock.h"
#include "platform/file.h"
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

inline constexpr char kCleanStoppedText[] = "Clean stopped.";

// The entries to delete for `mask`: with mask 0 all but cookies and history, else those with every bit.
bool MaskTakes(uint32_t mask, uint32_t type) {
  if (mask == 0) return (type & (kCookieCacheEntry | kUrlHistoryCacheEntry)) == 0;
  return (type & mask) == mask;
}

platform::UrlCacheContainer ContainerFor(uint32_t mask) {
  if (mask & kCookieCacheEntry) return platform::UrlCacheContainer::Cookies;
  if (mask & kUrlHistoryCacheEntry) return platform::UrlCacheContainer::History;
  return platform::UrlCacheContainer::Content;
}

// "1 file", "3 files".
std::string Count(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The folder step of items 3, 4 and 6: a folder the system does not know is nothing to do.
void WipeSpecialFolder(const std::string& folder, CleanView& view, CleanItemResult& result) {
  if (folder.empty()) return;
  FolderWipeTally tally = WipeFolderFiles(folder, view);
  tally.AddTo(result);
}

CleanItemResult CleanRecycleBin(CleanView& view) {
  CleanItemResult result;
  if (IsRecycleBinEmpty()) return result;
  // What the bin holds is wiped with the user's scheme before the shell forgets it.
  size_t unplaced = 0;
  FolderWipeTally tally;
  for (const std::string& path : platform::RecycleBinItemPaths(&unplaced)) {
    if (gStop) break;
    std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
    if (!info) continue;
    if (info->isDirectory && !info->isLink) {
      FolderWipeTally inner = WipeFolderFiles(path, view);
      if (inner.refused) result.Leave("an item was refused, " + *inner.refused);
      tally.Merge(inner);
    } else {
      ++tally.files;
      tally.Count(WipeCleanFile(path, view));
    }
  }
  if (gStop) {
    result.Stop();
    return result;
  }
  // The shell's emptying would take the target of a link left in the bin with it: such a link is what
  // keeps the bin as it is, and is said so.
  const size_t linksLeft = std::exchange(tally.linksLeft, 0);
  tally.AddTo(result);
  if (unplaced > 0) result.Leave(Count(unplaced, "item", "items") + " not found on disk, so not wiped");
  if (linksLeft > 0) {
    result.Leave("not emptied, it holds a link");
  } else if (!EmptyRecycleBin()) {
    result.Leave("not emptied, the shell left items in it");
  }
  return result;
}

// The browsers' ticked items, after the nine: a browser that runs is left whole and named.
void RunBrowserItems(CleanView& view, CleanRunResult& run) {
  const std::vector<std::string> keep = CookieKeepList(CookieKeepSetting);
  for (const Browser& browser : Browsers()) {
    std::vector<BrowserItemKind> ticked;
    for (const BrowserItemName& item : kBrowserItems) {
      if (BrowserItemSelected(browser, item.kind)) ticked.push_back(item.kind);
    }
    if (ticked.empty()) continue;
    const std::vector<BrowserProfile> profiles = ProfilesOf(browser);
    if (profiles.empty()) continue;
    if (const BrowserRunState state = RunStateOf(browser); state != BrowserRunState::NotRunning) {
      CleanItemResult running;
      running.Leave(std::string(browser.caption) +
                    (state == BrowserRunState::Running
                         ? " is running; close it and clean again"
                         : " is still running in the background (its icon in the notification area)"));
      run.items.emplace_back("", std::move(running));
      continue;
    }
    for (BrowserItemKind kind : ticked) {
      if (gStop) return;
      const std::string caption =
          std::string(browser.caption) + ": " + kBrowserItems[static_cast<int>(kind)].caption;
      view.LblProgress.SetCaption("Cleaning " + caption);
      view.LblProgress.Refresh();
      ui::DoEvents();
      if (gStop) return;
      CleanItemResult result = CleanBrowserItem(browser, kind, profiles, keep, view);
      if (gStop) result.Stop();
      run.items.emplace_back(caption, std::move(result));
    }
  }
}

}  // namespace

void CleanItemResult::Leave(std::string reason) {
  if (state != State::Stopped) state = State::Left;
  reasons.push_back(std::move(reason));
}

void FolderWipeTally::Count(const std::optional<WipeResult>& wipe) {
  if (!wipe) {
    ++noScheme;
    return;
  }
  if (wipe->Wiped()) return;
  // A link removed as itself, or a file gone since the listing: nothing of it is left to wipe.
  if (wipe->gone && wipe->error == IoError::IsLink) return;
  if (!wipe->gone && wipe->error == IoError::NotFound) return;
  if (!wipe->gone && wipe->error == IoError::IsLink) {
    ++linksLeft;
  } else if (wipe->gone && wipe->error == IoError::HasOtherNames) {
    ++otherNames;
  } else if (wipe->gone && wipe->overwritten && wipe->grew) {
    ++grew;
  } else {
    ++notWiped[wipe->error == IoError::None ? IoError::Other : wipe->error];
  }
}

void FolderWipeTally::Merge(const FolderWipeTally& other) {
  files += other.files;
  for (const auto& [error, n] : other.notWiped) notWiped[error] += n;
  linksLeft += other.linksLeft;
  otherNames += other.otherNames;
  grew += other.grew;
  noScheme += other.noScheme;
  stopped = stopped || other.stopped;
}

void FolderWipeTally::AddTo(CleanItemResult& result) const {
  if (stopped) result.Stop();
  if (refused) {
    result.Leave("refused, " + *refused);
    return;
  }
  for (const auto& [error, n] : notWiped) {
    if (error == IoError::InUse) {
      result.Leave(nullora::Count(n, "file", "files") + " in use");
    } else {
      result.Leave(nullora::Count(n, "file", "files") + " not wiped: " + platform::Describe(error));
    }
  }
  if (linksLeft > 0)
    result.Leave(nullora::Count(linksLeft, "link", "links") + " left with what it points to");
  if (otherNames > 0) {
    result.Leave(nullora::Count(otherNames, "file", "files") + " with other names only unlinked, not wiped");
  }
  if (grew > 0) result.Leave(nullora::Count(grew, "file", "files") + " grew while being wiped");
  if (noScheme > 0) {
    result.Leave(nullora::Count(noScheme, "file", "files") +
                 " not wiped: the wipe scheme setting is not valid");
  }
}

std::string CleanOutcomeText(const CleanRunResult& run) {
  if (run.stopped) return kCleanStoppedText;
  std::string except;
  for (const auto& [caption, item] : run.items) {
    if (item.state == CleanItemResult::State::Done) continue;
    std::string reasons;
    for (const std::string& reason : item.reasons) reasons += (reasons.empty() ? "" : ", ") + reason;
    except += (except.empty() ? "" : "; ") + (caption.empty() ? reasons : caption + ": " + reasons);
  }
  return except.empty() ? std::string(kCleanCompleteText) : "Clean Complete, except: " + except;
}

bool CleanItemSelected(int k) {
  return k >= 1 && k <= 9 && AppSettings.CleanKeys[static_cast<size_t>(k - 1)] == -1;
}

void StopCleanRun() {
  gStop = true;
}
bool CleanRunStopping() {
  return gStop;
}

CleanRunResult RunClean(bool background, CleanView& view) {
  gStop = false;
  CleanRunResult run;
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
    // Each item ends itself on a failure and says what it left; the run goes on with the next.
    CleanItemResult result;
    switch (item.number) {
      case 1:
        result = CleanRecycleBin(view);
        break;
      case 2:
        result = ClearSearchHistory();
        break;
      case 3:
        WipeSpecialFolder(GetTempFolder(), view, result);
        break;
      case 4:
        WipeSpecialFolder(platform::SpecialFolderPath(kCsidlRecent), view, result);
        break;
      case 5:
        result = ClearCookies();
        break;
      case 6:
        if (size_t left = ClearUrlCache(0); left > 0) {
          result.Leave(Count(left, "cache entry", "cache entries") + " could not be removed");
        }
        WipeSpecialFolder(platform::SpecialFolderPath(kCsidlInternetCache), view, result);
        break;
      case 7:
        result = ClearUrlHistory();
        break;
      case 8:
        result = ClearAutoComplete();
        break;
      case 9:
        result = ClearIndexDatFiles();
        break;
      default:
        break;
    }
    if (gStop) result.Stop();
    run.items.emplace_back(item.caption, std::move(result));
  }
  if (!gStop) RunBrowserItems(view, run);
  run.stopped = gStop;
  if (!run.stopped) view.ProgressBar1.SetValue(100);
  const std::string outcome = CleanOutcomeText(run);
  view.LblProgress.SetCaption(outcome);
  if (background && view.ShowTrayBalloon) {
    view.ShowTrayBalloon(outcome == kCleanCompleteText ? std::string(kBackgroundEndText) : outcome);
  }
  return run;
}

size_t ClearUrlCache(uint32_t mask) {
  const platform::UrlCacheContainer container = ContainerFor(mask);
  // The mask decides every entry, those inside groups too; only the cache item (mask 0) removes
  // groups, and only once they are empty.
  std::vector<int64_t> groups;
  if (!platform::UrlCacheGroups(&groups)) groups.clear();
  size_t left = 0;
  for (int64_t group : groups) {
    bool emptied = true;
    for (const platform::UrlCacheEntry& entry : platform::UrlCacheEntries(group, container)) {
      if (!MaskTakes(mask, entry.type)) {
        emptied = false;
      } else if (!platform::DeleteUrlCacheEntry(entry.url)) {
        emptied = false;
        ++left;
      }
    }
    if (mask == 0 && emptied) platform::DeleteUrlCacheGroup(group);
  }
  for (const platform::UrlCacheEntry& entry : platform::UrlCacheEntries(std::nullopt, container)) {
    if (MaskTakes(mask, entry.type) && !platform::DeleteUrlCacheEntry(entry.url)) ++left;
  }
  return left;
}

CleanItemResult ClearCookies() {
  CleanItemResult result;
  if (size_t left = ClearUrlCache(kCookieCacheEntry); left > 0) {
    result.Leave(Count(left, "cookie", "cookies") + " could not be removed");
  }
  return result;
}

CleanItemResult ClearUrlHistory() {
  CleanItemResult result;
  if (!ClearTypedUrls()) result.Leave("the typed addresses could not be removed");
  ClearUrlCache(kUrlHistoryCacheEntry);
  platform::ClearBrowserHistoryStore();
  // Whichever of the two reached them, what counts is that no history entry is left.
  size_t left = 0;
  for (const platform::UrlCacheEntry& entry :
       platform::UrlCacheEntries(std::nullopt, platform::UrlCacheContainer::History)) {
    if (MaskTakes(kUrlHistoryCacheEntry, entry.type)) ++left;
  }
  if (left > 0) result.Leave(Count(left, "history entry", "history entries") + " could not be removed");
  return result;
}

CleanItemResult ClearAutoComplete() {
  CleanItemResult result;
  platform::ClearAutoCompleteExport();
  // What was typed into forms. Storage2 beside it holds the saved logins: the user's own, never a trace.
  if (!platform::RegistryDeleteTree(RegistryRoot::CurrentUser,
                                    "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1")) {
    result.Leave("the form entries could not be removed");
  }
  return result;
}

CleanItemResult ClearSearchHistory() {
  CleanItemResult result;
  if (!platform::RegistryDeleteTree(RegistryRoot::CurrentUser,
                                    "Software\\Microsoft\\Search Assistant\\ACMru")) {
    result.Leave("the registry key could not be removed");
  }
  return result;
}

bool ClearTypedUrls() {
  return platform::RegistryDeleteTree(RegistryRoot::CurrentUser,
                                      "Software\\Microsoft\\Internet Explorer\\TypedURLs");
}

std::string GetTempFolder() {
  return platform::TempFolderPath();
}

FolderWipeTally WipeFolderFiles(const std::string& folder, CleanView& view) {
  FolderWipeTally tally;
  // TEMP, the shell's folders and the bin can each be pointed anywhere: a folder that holds what is the
  // user's or the system's is never wiped, whatever named it.
  tally.refused = WipeRootRefusal(folder);
  if (tally.refused) return tally;
  std::string root = folder;
  if (!root.empty() && root.back() == '\\') root.pop_back();
  root += '\\';
  std::vector<std::string> directories;
  std::vector<std::string> files;
  ControlProgress walk(nullptr, nullptr);
  ScanDir(root, directories, files, &walk);
  for (const std::string& file : files) {
    // Stopped between two files, never inside one.
    if (gStop) {
      tally.stopped = true;
      break;
    }
    ++tally.files;
    view.lblProgress3.SetCaption(file.substr(file.find_last_of('\\') + 1));
    if (!FoldersStillReal(root, file)) {
      // A folder on the way has become a link, or is gone with the file: nothing is done through it.
      if (platform::GetFileAttributes(file) != platform::kInvalidAttributes)
        ++tally.notWiped[IoError::IsLink];
      continue;
    }
    tally.Count(WipeCleanFile(file, view));
  }
  return tally;
}

std::optional<WipeResult> WipeCleanFile(const std::string& file, CleanView& view) {
  std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  if (!scheme) return std::nullopt;
  ControlProgress progress(&view.ProgressBar2, &view.lblProgress2);
  switch (*scheme) {
    case WipeScheme::OneRandomPass:
      return PassWipeFile(file, 1, &progress);
    case WipeScheme::DodScheme:
      return DodWipeFile(file, SchemePasses(*scheme, WipeOptions.OpPasses), &progress);
    case WipeScheme::GutmannScheme: {
      Gutmann gm;
      gm.progress = &progress;
      return gm.SecureFileDelete(file);
    }
    case WipeScheme::CustomScheme:
      return PassWipeFile(file, SchemePasses(*scheme, WipeOptions.OpPasses), &progress);
    case WipeScheme::DeleteOnly:
      return PassWipeFile(file, 0, &progress);
  }
  return std::nullopt;
}

std::vector<std::string> ListIndexDatFiles(std::vector<std::string>* refused) {
  // Each folder is one the shell names, and may be pointed anywhere: the same rule as for a wipe.
  auto usable = [refused](const std::string& folder, const char* what) {
    if (folder.empty()) return false;
    if (std::optional<std::string> why = WipeRootRefusal(folder)) {
      if (refused) refused->push_back(std::string("refused, ") + what + ": " + *why);
      return false;
    }
    return true;
  };
  std::vector<std::string> paths;
  if (std::string cookies = platform::SpecialFolderPath(kCsidlCookies);
      usable(cookies, "the cookie folder")) {
    paths.push_back(cookies + "\\index.dat");
  }
  if (std::string cache = platform::SpecialFolderPath(kCsidlInternetCache);
      usable(cache, "the cache folder")) {
    paths.push_back(cache + "\\Content.IE5\\index.dat");
  }
  if (std::string history = platform::SpecialFolderPath(kCsidlHistory);
      usable(history, "the history folder")) {
    std::vector<std::string> found;
    ControlProgress walk(nullptr, nullptr);
    GetFilesInDirs(history, "index.dat", found, true, &walk);
    paths.insert(paths.end(), found.begin(), found.end());
  }
  return paths;
}

IoError ZeroFillFile(const std::string& path) {
  // Only a file that is there, and that no other program holds open for writing: the shell and the
  // browser keep these as live databases, and zeros written under them would break them.
  platform::File file = platform::File::Open(path, platform::Access::Write, platform::kShareRead,
                                             platform::Disposition::OpenExisting);
  if (!file.IsOpen()) return file.OpenError();
  uint64_t length = 0;
  if (IoError error = file.Length(&length); error != IoError::None) return error;
  std::vector<uint8_t> zeros(static_cast<size_t>(std::min<uint64_t>(length, 1 << 20)), 0);
  for (uint64_t offset = 0; offset < length;) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(length - offset, zeros.size()));
    if (IoError error = file.WriteAt(offset, {zeros.data(), chunk}); error != IoError::None) return error;
    offset += chunk;
    SilentProgress().Breathe();
  }
  return file.Flush();
}

CleanItemResult ClearIndexDatFiles() {
  CleanItemResult result;
  FolderWipeTally tally;
  std::vector<std::string> refused;
  const std::vector<std::string> paths = ListIndexDatFiles(&refused);
  for (const std::string& reason : refused) result.Leave(reason);
  for (const std::string& path : paths) {
    if (gStop) {
      result.Stop();
      return result;
    }
    // One that is not there is not made.
    if (IoError error = ZeroFillFile(path); error != IoError::None && error != IoError::NotFound) {
      ++tally.notWiped[error];
    }
  }
  tally.AddTo(result);
  return result;
}

}  // namespace nullora
