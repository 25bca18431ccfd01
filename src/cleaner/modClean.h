// The privacy cleaner: one clean run over the nine clean items, in their fixed order, each done only when
// selected, and the removal of each trace: the Recycle Bin, the search history, temporary files, recent
// documents, cookies, temporary internet files, the URL history, AutoComplete and the index.dat files.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/wipe_result.h"
#include "platform/platform.h"

namespace nullora {

namespace ui {
class Label;
class ProgressBar;
}  // namespace ui

// A clean item: its number (1 to 9), tree key, caption and status text.
struct CleanItem {
  int number;
  const char* key;
  const char* caption;
  const char* status;
};
inline constexpr CleanItem kCleanItems[] = {
    {1, "CleanKey1", "Recycle Bin", "Emptying Recycle Bin"},
    {2, "CleanKey2", "Search History", "Cleaning Search History"},
    {3, "CleanKey3", "Temporary Files", "Deleting Temporary Files"},
    {4, "CleanKey4", "Recent Documents", "Deleting Recent Documents"},
    {5, "CleanKey5", "Cookies", "Deleting Cookies"},
    {6, "CleanKey6", "Temporary Internet Files", "Deleting Temp Internet Files"},
    {7, "CleanKey7", "URL History", "Deleting URL History"},
    {8, "CleanKey8", "Autocomplete", "Deleting AutoComplete Entries"},
    {9, "CleanKey9", "Index.dat Files", "Deleting Index.dat Files"},
};

// Rows of a database, by what they hold.
struct RowTally {
  std::string one;   // "page"
  std::string many;  // "pages"
  size_t n = 0;
  bool operator==(const RowTally&) const = default;
};

// What an item removed, or in a preview would remove.
struct CleanCounts {
  size_t files = 0;    // files wiped
  uint64_t bytes = 0;  // their size before the wipe
  size_t registryValues = 0;
  size_t cacheEntries = 0;
  std::vector<RowTally> rows;  // database rows by what they hold: {"page", "pages", 1204}
  void AddRows(const std::string& one, const std::string& many, size_t n);
  void Add(const CleanCounts& other);
};

// What one item did: all of it, or not all (with the reasons, in short), or it was stopped.
struct CleanItemResult {
  enum class State { Done, Left, Stopped };
  State state = State::Done;
  std::vector<std::string> reasons;  // "3 files in use", "refused, the folder is a drive root"
  CleanCounts counts;
  std::vector<std::string> notes;  // what the report says beside the counts ("not counted: ...")
  void Leave(std::string reason);
  void Stop() { state = State::Stopped; }
};

// What a run did: the result of each selected item, in the run's order, under the name the last line
// gives it ("Temporary Files", "Google Chrome: History"; none where the reason says it all).
struct CleanRunResult {
  std::vector<std::pair<std::string, CleanItemResult>> items;
  bool stopped = false;
};
// The run's last line: "Clean Complete." when every selected item was done, "Clean Complete, except: "
// and each item's reasons ("Temporary Files: 3 files in use; Recycle Bin: not emptied, it holds a
// link") otherwise, "Clean stopped." when the run was ended before its end.
std::string CleanOutcomeText(const CleanRunResult& run);
// The whole report of a run or a preview: a line per item with what it removed (or would remove) and
// what it left and why, then a line with the totals.
std::vector<std::string> CleanReportLines(const CleanRunResult& run, bool preview);
// "3.4 MB".
std::string ByteSize(uint64_t bytes);

struct CleanView;

// What a wipe of the files below a folder left, by why.
struct FolderWipeTally {
  std::optional<std::string> refused;  // the folder may not be wiped at all: why
  size_t files = 0;
  size_t wiped = 0;                              // of those, the files wiped
  uint64_t bytes = 0;                            // and their size
  std::map<platform::IoError, size_t> notWiped;  // files left, by the first failure
  size_t linksLeft = 0;   // links that cannot be removed as themselves (Wine's host links)
  size_t otherNames = 0;  // files whose name went but whose data stays under their other names
  size_t grew = 0;        // files that grew during the wipe
  size_t noScheme = 0;    // files left since the stored scheme is none of the five
  bool stopped = false;
  // Adds what was left to `result`, in short.
  void AddTo(CleanItemResult& result) const;
  void Count(const std::optional<WipeResult>& wipe, uint64_t size = 0);
  // Wipes one file with the user's scheme and counts what became of it.
  void Wipe(const std::string& file, CleanView& view);
  // Adds what another wipe left (its refusal is the caller's to say).
  void Merge(const FolderWipeTally& other);
};

inline constexpr char kBackgroundStartText[] = "Performing background clean...";
inline constexpr char kBackgroundEndText[] = "Finished performing background clean.";
inline constexpr char kCleanCompleteText[] = "Clean Complete.";

inline constexpr uint32_t kCookieCacheEntry = 0x00100000;
inline constexpr uint32_t kUrlHistoryCacheEntry = 0x00200000;

// What a clean run shows its progress in: the main window's controls, handed over by it.
struct CleanView {
  ui::ProgressBar& ProgressBar1;  // the run, 0 to 100
  ui::Label& LblProgress;         // the current item
  ui::ProgressBar& ProgressBar2;  // the file being wiped
  ui::Label& lblProgress2;
  ui::Label& lblProgress3;  // the name of the file being wiped
  std::function<void(const std::string&)> ShowTrayBalloon;
};

// Whether item k (1 to 9) is selected: only a flag of -1 counts.
bool CleanItemSelected(int k);

// One clean run. It ends early only when StopCleanRun() was asked for, at the next file or item
// boundary, never inside a file's overwrite. Its last line is in LblProgress, and in the closing balloon
// of a background run.
CleanRunResult RunClean(bool background, CleanView& view);
// The same run over the same items, counting only: nothing is changed, written or opened for writing,
// and each item says what it would remove and what it would leave. StopCleanRun() ends it too.
CleanRunResult PreviewClean(CleanView& view);
void StopCleanRun();
bool CleanRunStopping();
// Whether the run is a preview: each item then counts instead of removing.
bool CleanRunPreviewing();

// The items (numbers as above); each says what it left.
// Deletes the entries of the URL cache the mask takes (0: neither cookie nor history) from the cache
// container that holds them; returns how many such entries are still there afterwards.
// In a preview, nothing is deleted and `removed` counts what would be.
size_t ClearUrlCache(uint32_t mask, size_t* removed = nullptr);
CleanItemResult ClearCookies();
CleanItemResult ClearUrlHistory();
CleanItemResult ClearAutoComplete();
CleanItemResult ClearSearchHistory();
bool ClearTypedUrls(CleanCounts* counts = nullptr);
// Removes a key of the current user's with all below it, counting its values; a preview only counts.
// False when it could not be removed.
bool ClearRegistryTree(const std::string& key, CleanCounts& counts);
// The user's temporary folder, with its final backslash; empty when there is none.
std::string GetTempFolder();
// Wipes every file below `folder` with the user's scheme, unless the folder is one that may not be
// wiped (see engine/wipe_roots.h); directories stay.
FolderWipeTally WipeFolderFiles(const std::string& folder, CleanView& view);
// Wipes one file with the user's scheme; nullopt when the stored scheme is none of the five. In a
// preview, what the wipe would find: a file another program holds is in use, a link goes as itself.
std::optional<WipeResult> WipeCleanFile(const std::string& file, CleanView& view);
// The index.dat files below the cookie, cache and history folders; a folder that may not be wiped
// (engine/wipe_roots.h) is not looked in, and why goes to `refused`.
std::vector<std::string> ListIndexDatFiles(std::vector<std::string>* refused = nullptr);
// Overwrites an existing index.dat with zero bytes in place; a file another program has open is left
// (InUse), a missing one is not made (NotFound).
platform::IoError ZeroFillFile(const std::string& path);
CleanItemResult ClearIndexDatFiles();

}  // namespace nullora
