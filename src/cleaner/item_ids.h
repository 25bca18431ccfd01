// The cleaner's items by the ids a script names them with ("windows.temp", "chrome.history"), in the
// order a clean does them. Made from the item tables themselves: the nine, each browser's five, the
// Windows 10 and 11 group.
#pragma once

#include <string>
#include <vector>

#include "cleaner/browser_items.h"
#include "cleaner/windows_items.h"

namespace nullora {

struct CleanItemId {
  enum class Family { Fixed, Browser, Windows };
  std::string id;
  std::string caption;  // as the main window's tree groups it: "Google Chrome: Form Data"
  Family family = Family::Fixed;
  int number = 0;                    // Fixed: 1 to 9 of kCleanItems
  const Browser* browser = nullptr;  // Browser
  BrowserItemKind browserKind = BrowserItemKind::Cache;
  const WindowsItem* windowsItem = nullptr;  // Windows
};

const std::vector<CleanItemId>& CleanItemIds();
// The item of `id`, in any letter case; null when there is none.
const CleanItemId* FindCleanItemId(const std::string& id);
// Makes `items` the only ones selected, in the in-memory records alone: the stored settings stay.
void SelectOnlyCleanItems(const std::vector<const CleanItemId*>& items);

}  // namespace nullora
