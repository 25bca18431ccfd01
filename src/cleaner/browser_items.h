// The traces of today's browsers, as data: a row per browser (where its profiles are, the processes that
// mark it as running) and, per family, what each of its five items removes from a profile, from a small
// fixed set of actions. One interpreter carries them out.
#pragma once

#include <string>
#include <vector>

#include "cleaner/browser_profiles.h"
#include "cleaner/modClean.h"
#include "platform/platform.h"

namespace nullora {

enum class BrowserFamily { Chromium, Firefox };
enum class BrowserItemKind { Cache, Cookies, History, Sessions, Forms };

struct BrowserItemName {
  BrowserItemKind kind;
  const char* caption;  // "Form Data"
  const char* keyPart;  // "Forms": the settings key is "OpClean" + browser + this
};
inline constexpr BrowserItemName kBrowserItems[] = {
    {BrowserItemKind::Cache, "Cache", "Cache"},       {BrowserItemKind::Cookies, "Cookies", "Cookies"},
    {BrowserItemKind::History, "History", "History"}, {BrowserItemKind::Sessions, "Sessions", "Sessions"},
    {BrowserItemKind::Forms, "Form Data", "Forms"},
};

struct Browser {
  const char* caption;  // "Google Chrome"
  const char* keyPart;  // "Chrome"
  BrowserFamily family;
  std::vector<const char*> processes;  // any letter case
  platform::KnownFolder root;          // where its folder lies
  const char* folder;                  // below `root`: a Chromium user data folder, or Firefox's folder
  // Opera: `folder` is the one profile, its cache below Local AppData; Firefox: its caches' folder.
  bool singleProfile = false;
  const char* localFolder = nullptr;  // below Local AppData
};
const std::vector<Browser>& Browsers();

// The settings key of a browser item: "OpCleanChromeHistory".
std::string BrowserItemKey(const Browser& browser, BrowserItemKind kind);

// The profiles of `browser` on this machine; none when it has none.
std::vector<BrowserProfile> ProfilesOf(const Browser& browser);

// Whether a process of that executable name is one of the browser's (any letter case).
bool IsProgramOf(const Browser& browser, const std::string& processName);
// Whether one of the browser's processes runs, and whether then none of them shows a window (it runs on
// in the background).
enum class BrowserRunState { NotRunning, Running, InBackground };
BrowserRunState RunStateOf(const Browser& browser);

// The domains whose cookies a clean keeps: the setting "OpCookieKeepList", ";"-separated.
std::vector<std::string> CookieKeepList(const std::string& setting);
// Whether a cookie of `host` is kept by `domain`: the host is the domain, ".domain" or ends in ".domain".
bool CookieKept(const std::string& host, const std::vector<std::string>& keep);

// Whether the browser's item is ticked: only a flag of -1 counts, as for the nine.
bool BrowserItemSelected(const Browser& browser, BrowserItemKind kind);

// Removes the item's traces from every profile; files wiped with the user's scheme through `view`.
CleanItemResult CleanBrowserItem(const Browser& browser, BrowserItemKind kind,
                                 const std::vector<BrowserProfile>& profiles,
                                 const std::vector<std::string>& keepDomains, CleanView& view);

}  // namespace nullora
