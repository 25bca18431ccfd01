#include "cleaner/item_ids.h"

#include <cctype>
#include <iterator>

#include "shared/records.h"

namespace nullora {

namespace {

// The nine, in the order of kCleanItems: their captions there are the old browser's words, the ids say
// whose trace each one is.
constexpr const char* kFixedIds[] = {
    "windows.recycle_bin",       "windows.search_history",         "windows.temp",
    "windows.recent_documents",  "internet_explorer.cookies",      "internet_explorer.cache",
    "internet_explorer.history", "internet_explorer.autocomplete", "internet_explorer.index_dat",
};
static_assert(std::size(kFixedIds) == std::size(kCleanItems));

constexpr const char* kWindowsIds[] = {"windows.search_box",   "windows.run_history", "windows.typed_paths",
                                       "windows.recent_lists", "windows.thumbnails",  "windows.clipboard"};
static_assert(std::size(kWindowsIds) == std::size(kWindowsItems));

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<CleanItemId> MakeIds() {
  std::vector<CleanItemId> ids;
  for (size_t i = 0; i < std::size(kCleanItems); ++i) {
    CleanItemId item;
    item.id = kFixedIds[i];
    item.caption = kCleanItems[i].caption;
    item.number = kCleanItems[i].number;
    ids.push_back(item);
  }
  for (const Browser& browser : Browsers()) {
    for (const BrowserItemName& name : kBrowserItems) {
      CleanItemId item;
      item.id = Lower(browser.keyPart) + "." + Lower(name.keyPart);
      item.caption = std::string(browser.caption) + ": " + name.caption;
      item.family = CleanItemId::Family::Browser;
      item.browser = &browser;
      item.browserKind = name.kind;
      ids.push_back(item);
    }
  }
  for (size_t i = 0; i < std::size(kWindowsItems); ++i) {
    CleanItemId item;
    item.id = kWindowsIds[i];
    item.caption = std::string(kWindowsGroupCaption) + ": " + kWindowsItems[i].caption;
    item.family = CleanItemId::Family::Windows;
    item.windowsItem = &kWindowsItems[i];
    ids.push_back(item);
  }
  return ids;
}

}  // namespace

const std::vector<CleanItemId>& CleanItemIds() {
  static const std::vector<CleanItemId> ids = MakeIds();
  return ids;
}

const CleanItemId* FindCleanItemId(const std::string& id) {
  const std::string wanted = Lower(id);
  for (const CleanItemId& item : CleanItemIds()) {
    if (item.id == wanted) return &item;
  }
  return nullptr;
}

void SelectOnlyCleanItems(const std::vector<const CleanItemId*>& items) {
  AppSettings.CleanKeys.fill(0);
  for (auto& [key, value] : BrowserCleanKeys) value = 0;
  for (auto& [key, value] : WindowsCleanKeys) value = 0;
  for (const CleanItemId* item : items) {
    switch (item->family) {
      case CleanItemId::Family::Fixed:
        AppSettings.CleanKeys[static_cast<size_t>(item->number - 1)] = -1;
        break;
      case CleanItemId::Family::Browser:
        BrowserCleanKeys[BrowserItemKey(*item->browser, item->browserKind)] = -1;
        break;
      case CleanItemId::Family::Windows:
        WindowsCleanKeys[item->windowsItem->key] = -1;
        break;
    }
  }
}

}  // namespace nullora
