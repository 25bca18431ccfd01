#include "app/startup_settings.h"

#include <string>

#include "cleaner/browser_items.h"
#include "cleaner/windows_items.h"
#include "shared/records.h"
#include "shared/settings_store.h"

namespace nullora {

void ReadStartupSettings() {
  AppSettings.AutoCleanMode = GetIntSetting("AutoClean Mode", 0);
  AppSettings.DailyRunTime = Trim(GetSetting("Daily Run Time", "1201PM"));
  for (int k = 1; k <= 9; ++k) {
    AppSettings.CleanKeys[k - 1] = GetIntSetting("OpCleanKey" + std::to_string(k), 0);
  }
  LoadWipeOptions(7);
  AppSettings.ShowInfoDialog1 = GetIntSetting("OpShowInfoDialog1", 0);
  AppSettings.ShowInfoDialog2 = GetIntSetting("OpShowInfoDialog2", 0);
  AppSettings.RunAtStartup = GetIntSetting("OpRunAtStartup", 0);
  BrowserCleanKeys.clear();
  for (const Browser& browser : Browsers()) {
    for (const BrowserItemName& item : kBrowserItems) {
      const std::string key = BrowserItemKey(browser, item.kind);
      BrowserCleanKeys[key] = GetIntSetting(key, 0);
    }
  }
  CookieKeepSetting = GetSetting("OpCookieKeepList", "");
  WindowsCleanKeys.clear();
  for (const WindowsItem& item : kWindowsItems) WindowsCleanKeys[item.key] = GetIntSetting(item.key, 0);
}

}  // namespace nullora
