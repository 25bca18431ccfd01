// The privacy cleaner: one clean run over the nine clean items, in their fixed order, each done only when
// selected, and the removal of each trace: the Recycle Bin, the search history, temporary files, recent
// documents, cookies, temporary internet files, the URL history, AutoComplete and the index.dat files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nullora {

namespace ui {
class Label;
class ProgressBar;
}  // namespace ui

// A clean item: its number (1 to 9), tree key and status text.
struct CleanItem {
  int number;
  const char* key;
  const char* status;
};
inline constexpr CleanItem kCleanItems[] = {
    {1, "CleanKey1", "Emptying Recycle Bin"},     {2, "CleanKey2", "Cleaning Search History"},
    {3, "CleanKey3", "Deleting Temporary Files"}, {4, "CleanKey4", "Deleting Recent Documents"},
    {5, "CleanKey5", "Deleting Cookies"},         {6, "CleanKey6", "Deleting Temp Internet Files"},
    {7, "CleanKey7", "Deleting URL History"},     {8, "CleanKey8", "Deleting AutoComplete Entries"},
    {9, "CleanKey9", "Deleting Index.dat Files"},
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
// boundary, never inside a file's overwrite.
void RunClean(bool background, CleanView& view);
void StopCleanRun();
bool CleanRunStopping();

// The items (numbers as above).
void ClearUrlCache(uint32_t mask);
void ClearCookies();
void ClearUrlHistory();
void ClearAutoComplete();
void ClearSearchHistory();
void ClearTypedUrls();
// The user's temporary folder, with its final backslash; empty when it is none that may be wiped (a
// drive root, the Windows folder or the profile folder itself, from a misconfigured TEMP).
std::string GetTempFolder();
// Both say whether they left a link that cannot be removed as itself (Wine's host links): whatever
// removes it by name, the shell's emptying of the bin included, would remove what it points to.
bool WipeFolderFiles(const std::string& folder, CleanView& view);
bool WipeCleanFile(const std::string& file, CleanView& view);
std::vector<std::string> ListIndexDatFiles();
// Overwrites an existing index.dat with zero bytes in place; a file another program has open is left.
void ZeroFillFile(const std::string& path);
void ClearIndexDatFiles();

}  // namespace nullora
