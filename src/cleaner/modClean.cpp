#include "cleaner/modClean.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "cleaner/browser_items.h"
#include "cleaner/windows_items.h"
#include "engine/directory_walk.h"
#include "engine/progress.h"
#include "engine/scheme_wipe.h"
#include "engine/wipe_roots.h"
#include "engine/wipe_scheme.h"
#include "jobs/fDrive.h"
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
bool gPreview = false;

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

// What a wipe of `file` would find, seen without opening it for writing.
WipeResult PreviewWipe(const std::string& file) {
  WipeResult result;
  const std::optional<platform::FileInfo> info = platform::QueryFileInfo(file);
  if (!info) {
    result.error = IoError::NotFound;
  } else if (info->isLink) {
    result.gone = true;  // a link goes as itself
    result.error = IoError::IsLink;
  } else if (info->isDirectory) {
    result.error = IoError::AccessDenied;
  } else if (info->linkCount > 1) {
    result.gone = true;
    result.error = IoError::HasOtherNames;
  } else if (platform::FileHeldByAnother(file)) {
    result.error = IoError::InUse;
  } else {
    result.gone = result.overwritten = true;
  }
  return result;
}

// The values of `key` and of every key below it.
size_t CountRegistryValues(RegistryRoot root, const std::string& key) {
  std::optional<platform::RegistryKeyContents> listed = platform::RegistryListKey(root, key);
  if (!listed) return 0;
  size_t n = listed->values.size();
  for (const std::string& subkey : listed->subkeys) n += CountRegistryValues(root, key + "\\" + subkey);
  return n;
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
      tally.Wipe(path, view);
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
  } else if (!gPreview && !EmptyRecycleBin()) {
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

// The Windows 10 and 11 items, after the browsers.
void RunWindowsItems(CleanView& view, CleanRunResult& run) {
  for (const WindowsItem& item : kWindowsItems) {
    if (!WindowsItemSelected(item.kind)) continue;
    if (gStop) return;
    const std::string caption = std::string(kWindowsGroupCaption) + ": " + item.caption;
    view.LblProgress.SetCaption("Cleaning " + caption);
    view.LblProgress.Refresh();
    ui::DoEvents();
    if (gStop) return;
    CleanItemResult result = CleanWindowsItem(item.kind, view);
    if (gStop) result.Stop();
    run.items.emplace_back(item.caption, std::move(result));
  }
}

// "3 files (1.2 MB), 4 registry values, 1,204 pages"; empty when nothing.
std::string CountsText(const CleanCounts& counts) {
  std::vector<std::string> parts;
  auto add = [&](uint64_t n, const char* one, const char* many) {
    if (n > 0) parts.push_back(GroupedNumber(n) + " " + (n == 1 ? one : many));
  };
  add(counts.files, "file", "files");
  if (counts.files > 0) parts.back() += " (" + ByteSize(counts.bytes) + ")";
  add(counts.registryValues, "registry value", "registry values");
  add(counts.cacheEntries, "cache entry", "cache entries");
  for (const RowTally& row : counts.rows) add(row.n, row.one.c_str(), row.many.c_str());
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

}  // namespace

void CleanCounts::AddRows(const std::string& one, const std::string& many, size_t n) {
  for (RowTally& row : rows) {
    if (row.many == many) {
      row.n += n;
      return;
    }
  }
  rows.push_back({one, many, n});
}

void CleanCounts::Add(const CleanCounts& other) {
  files += other.files;
  bytes += other.bytes;
  registryValues += other.registryValues;
  cacheEntries += other.cacheEntries;
  for (const RowTally& row : other.rows) AddRows(row.one, row.many, row.n);
}

std::string ByteSize(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  double size = static_cast<double>(bytes) / 1024;
  int unit = 0;
  while (size >= 1024 && unit < 3) {
    size /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, size < 10 ? "%.1f %s" : "%.0f %s", size, kUnits[unit]);
  return text;
}

std::vector<std::string> CleanReportLines(const CleanRunResult& run, bool preview) {
  std::vector<std::string> lines;
  CleanCounts total;
  size_t leftItems = 0;
  for (const auto& [caption, item] : run.items) {
    total.Add(item.counts);
    std::string text = CountsText(item.counts);
    for (const std::string& note : item.notes) text += (text.empty() ? "" : "; ") + note;
    if (text.empty() && item.reasons.empty()) text = "nothing to remove";
    std::string reasons;
    for (const std::string& reason : item.reasons) reasons += (reasons.empty() ? "" : ", ") + reason;
    if (!reasons.empty()) {
      ++leftItems;
      text += std::string(text.empty() ? "" : "; ") + (preview ? "would leave: " : "left: ") + reasons;
    }
    if (item.state == CleanItemResult::State::Stopped) text += text.empty() ? "stopped" : "; stopped";
    lines.push_back(caption.empty() ? text : caption + ": " + text);
  }
  std::string totals = CountsText(total);
  if (totals.empty()) totals = "nothing";
  std::string last = (preview ? "In all, the clean would remove " : "In all, the clean removed ") + totals;
  if (leftItems > 0)
    last += "; " + std::to_string(leftItems) + (leftItems == 1 ? " item" : " items") +
            (preview ? " would leave something" : " left something");
  if (run.stopped)
    last += preview ? "; the preview was stopped before its end" : "; the clean was stopped before its end";
  lines.push_back(last + ".");
  return lines;
}

void CleanItemResult::Leave(std::string reason) {
  if (state != State::Stopped) state = State::Left;
  reasons.push_back(std::move(reason));
}

void FolderWipeTally::Count(const std::optional<WipeResult>& wipe, uint64_t size) {
  if (!wipe) {
    ++noScheme;
    return;
  }
  if (wipe->Wiped()) {
    ++wiped;
    bytes += size;
    return;
  }
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

void FolderWipeTally::Wipe(const std::string& file, CleanView& view) {
  ++files;
  const std::optional<platform::FileInfo> info = platform::QueryFileInfo(file);
  Count(WipeCleanFile(file, view), info && !info->isLink ? info->size : 0);
}

void FolderWipeTally::Merge(const FolderWipeTally& other) {
  files += other.files;
  wiped += other.wiped;
  bytes += other.bytes;
  for (const auto& [error, n] : other.notWiped) notWiped[error] += n;
  linksLeft += other.linksLeft;
  otherNames += other.otherNames;
  grew += other.grew;
  noScheme += other.noScheme;
  stopped = stopped || other.stopped;
}

void FolderWipeTally::AddTo(CleanItemResult& result) const {
  result.counts.files += wiped;
  result.counts.bytes += bytes;
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
bool CleanRunPreviewing() {
  return gPreview;
}

namespace {

CleanRunResult RunItems(bool background, CleanView& view) {
  CleanRunResult run;
  if (background && view.ShowTrayBalloon) view.ShowTrayBalloon(kBackgroundStartText);
  for (const CleanItem& item : kCleanItems) {
    if (gStop) break;
    view.ProgressBar1.SetValue(10.0 * item.number);
    if (!CleanItemSelected(item.number)) continue;
    view.LblProgress.SetCaption(item.status);
    view.LblProgress.Refresh();
    ui::DoEvents();
    if (!gPreview) PauseBreathing(SilentProgress(), 500);
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
        if (size_t left = ClearUrlCache(0, &result.counts.cacheEntries); left > 0) {
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
  if (!gStop) RunWindowsItems(view, run);
  run.stopped = gStop;
  if (!run.stopped) view.ProgressBar1.SetValue(100);
  const std::string outcome = CleanOutcomeText(run);
  view.LblProgress.SetCaption(outcome);
  if (background && view.ShowTrayBalloon) {
    view.ShowTrayBalloon(outcome == kCleanCompleteText ? std::string(kBackgroundEndText) : outcome);
  }
  return run;
}

}  // namespace

CleanRunResult RunClean(bool background, CleanView& view) {
  gStop = false;
  gPreview = false;
  return RunItems(background, view);
}

CleanRunResult PreviewClean(CleanView& view) {
  gStop = false;
  gPreview = true;
  CleanRunResult run = RunItems(false, view);
  gPreview = false;
  return run;
}

size_t ClearUrlCache(uint32_t mask, size_t* removed) {
  size_t gone = 0;
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
      } else if (gPreview || platform::DeleteUrlCacheEntry(entry.url)) {
        ++gone;
      } else {
        emptied = false;
        ++left;
      }
    }
    if (mask == 0 && emptied && !gPreview) platform::DeleteUrlCacheGroup(group);
  }
  for (const platform::UrlCacheEntry& entry : platform::UrlCacheEntries(std::nullopt, container)) {
    if (!MaskTakes(mask, entry.type)) continue;
    if (gPreview || platform::DeleteUrlCacheEntry(entry.url)) {
      ++gone;
    } else {
      ++left;
    }
  }
  if (removed) *removed += gone;
  return left;
}

CleanItemResult ClearCookies() {
  CleanItemResult result;
  if (size_t left = ClearUrlCache(kCookieCacheEntry, &result.counts.cacheEntries); left > 0) {
    result.Leave(Count(left, "cookie", "cookies") + " could not be removed");
  }
  return result;
}

CleanItemResult ClearUrlHistory() {
  CleanItemResult result;
  if (!ClearTypedUrls(&result.counts)) result.Leave("the typed addresses could not be removed");
  ClearUrlCache(kUrlHistoryCacheEntry, &result.counts.cacheEntries);
  if (gPreview) return result;
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
  if (!gPreview) platform::ClearAutoCompleteExport();
  // What was typed into forms. Storage2 beside it holds the saved logins: the user's own, never a trace.
  if (!ClearRegistryTree("Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage1", result.counts)) {
    result.Leave("the form entries could not be removed");
  }
  return result;
}

CleanItemResult ClearSearchHistory() {
  CleanItemResult result;
  if (!ClearRegistryTree("Software\\Microsoft\\Search Assistant\\ACMru", result.counts)) {
    result.Leave("the registry key could not be removed");
  }
  return result;
}

bool ClearRegistryTree(const std::string& key, CleanCounts& counts) {
  const size_t values = CountRegistryValues(RegistryRoot::CurrentUser, key);
  if (!gPreview && !platform::RegistryDeleteTree(RegistryRoot::CurrentUser, key)) return false;
  counts.registryValues += values;
  return true;
}

bool ClearTypedUrls(CleanCounts* counts) {
  CleanCounts ignored;
  return ClearRegistryTree("Software\\Microsoft\\Internet Explorer\\TypedURLs", counts ? *counts : ignored);
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
    view.lblProgress3.SetCaption(file.substr(file.find_last_of('\\') + 1));
    // A preview writes nothing that a click could interrupt: between two files it takes them, its Stop
    // among them, as the walk before it does between two entries.
    if (gPreview) SilentProgress().Yield();
    if (!FoldersStillReal(root, file)) {
      // A folder on the way has become a link, or is gone with the file: nothing is done through it.
      ++tally.files;
      if (platform::GetFileAttributes(file) != platform::kInvalidAttributes)
        ++tally.notWiped[IoError::IsLink];
      continue;
    }
    tally.Wipe(file, view);
  }
  return tally;
}

std::optional<WipeResult> WipeCleanFile(const std::string& file, CleanView& view) {
  std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  if (!scheme) return std::nullopt;
  if (gPreview) return PreviewWipe(file);
  ControlProgress progress(&view.ProgressBar2, &view.lblProgress2);
  return WipeWithScheme(file, *scheme, WipeOptions.OpPasses, &progress);
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
    const std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
    if (!info) continue;
    IoError error = IoError::None;
    if (!gPreview) {
      error = ZeroFillFile(path);
    } else if (platform::FileHeldByAnother(path)) {
      error = IoError::InUse;
    }
    if (error == IoError::None) {
      ++tally.wiped;
      tally.bytes += info->size;
    } else if (error != IoError::NotFound) {
      ++tally.notWiped[error];
    }
  }
  tally.AddTo(result);
  return result;
}

}  // namespace nullora
