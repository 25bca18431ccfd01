// The schedule of automatic clean runs: daily at a set time, or after the browser has been closed. The
// main window's one-minute timer asks at each tick whether a background run is due.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nullora {

struct ScheduleState {
  bool BrowserSeen = false;     // the browser was running at an earlier tick
  int64_t lastDailyRunMs = -1;  // when the last daily run started, by the clock
};

// 7 as "07": the hours and minutes of the daily run time.
std::string TwoDigits(int value);
// The time of day as the daily run time is kept: "1201PM", "1205AM".
std::string DailyTimeOf(double secondsSinceMidnight);
// Whether the browser runs: an executable name whose first twelve characters are exactly
// "iexplore.exe" (case counts: "IEXPLORE.EXE" is not it).
bool BrowserRunning(const std::vector<std::string>& processes);
// Whether this tick starts a background run, for the schedule `mode` (2 daily, 3 after the browser;
// 0 and 1 never), at most once for a daily minute even when two ticks fall into it.
bool ScheduleTickStartsRun(int mode, const std::string& dailyRunTime, ScheduleState& state);

}  // namespace nullora
