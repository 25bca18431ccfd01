// The traces Windows 10 and 11 keep of what the user searched, ran, typed, opened and copied, as data: an
// item per trace with its caption, settings key and tree picture, carried out by one interpreter.
#pragma once

#include "cleaner/modClean.h"

namespace nullora {

enum class WindowsItemKind { SearchBox, RunHistory, TypedPaths, RecentLists, Thumbnails, Clipboard };

struct WindowsItem {
  WindowsItemKind kind;
  const char* caption;  // "Run Dialog History"
  const char* key;      // its settings key and tree key: "OpCleanWinRun"
  int picture;          // its picture in the main window's tree
};
inline constexpr WindowsItem kWindowsItems[] = {
    {WindowsItemKind::SearchBox, "Explorer Search Box", "OpCleanWinSearch", 5},
    {WindowsItemKind::RunHistory, "Run Dialog History", "OpCleanWinRun", 5},
    {WindowsItemKind::TypedPaths, "Typed Paths", "OpCleanWinTypedPaths", 5},
    {WindowsItemKind::RecentLists, "Recent Lists", "OpCleanWinRecentLists", 7},
    {WindowsItemKind::Thumbnails, "Thumbnail Cache", "OpCleanWinThumbnails", 6},
    {WindowsItemKind::Clipboard, "Clipboard", "OpCleanWinClipboard", 6},
};
inline constexpr char kWindowsGroupKey[] = "GroupWindows";
inline constexpr char kWindowsGroupCaption[] = "Windows 10 and 11";

// Whether the item is ticked: only a flag of -1 counts, as for the nine.
bool WindowsItemSelected(WindowsItemKind kind);

// Removes the item's traces (in a preview, counts them); files are wiped with the user's scheme.
CleanItemResult CleanWindowsItem(WindowsItemKind kind, CleanView& view);

}  // namespace nullora
