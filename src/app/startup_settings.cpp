#include "app/startup_settings.h"

#include <string>

#include "shared/settings_store.h"
#include "shared/records.h"

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
}

}  // namespace nullora
