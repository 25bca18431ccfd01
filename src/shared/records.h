// The few records the whole program shares, gathered in one place. They live for the whole process
// and are touched only on the user-interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace nullora {

// The wipe choice of the options dialog, as read from the settings store.
struct WipeOptionsRecord {
  std::string OpMethod = "1";  // the scheme index as text, "0" to "4"
  int16_t OpRename = 0;        // non-zero: give a file a random name before deleting it
  int16_t OpRandom = 0;        // the "Use Random Binary" choice, carried along
  int16_t OpPasses = 7;        // passes of the DoD and Custom schemes
  int16_t OpVerify = 0;        // non-zero: read each file back after its last pass before deleting it
};

// The main window's settings, as read from the settings store.
struct AppSettingsRecord {
  int16_t AutoCleanMode = 0;  // 0 manual, 1 at shutdown, 2 daily, 3 after the browser closed
  std::string DailyRunTime = "1201PM";
  std::array<int16_t, 9> CleanKeys{};  // clean items 1 to 9; non-zero: selected
  int16_t ShowInfoDialog1 = 0;
  int16_t ShowInfoDialog2 = 0;
  int16_t RunAtStartup = 0;
};

inline WipeOptionsRecord WipeOptions;
inline AppSettingsRecord AppSettings;
// The browsers' items after the nine, by their settings keys ("OpCleanChromeHistory"): -1 selects. And
// the domains whose cookies a clean keeps, as stored ("keep.example;bank.example").
inline std::map<std::string, int16_t> BrowserCleanKeys;
inline std::string CookieKeepSetting;
// The Windows 10 and 11 items, by their settings keys ("OpCleanWinRun"): -1 selects.
inline std::map<std::string, int16_t> WindowsCleanKeys;

// The targets of the wipe jobs, taken whole from the command line.
inline std::string FilePath;
inline std::string FolderPath;
inline std::string DrivePath;

}  // namespace nullora
