// The schedule of automatic clean runs: daily at a set time, or after the browser has been closed. The
// main window's one-minute timer asks at each tick whether a background run is due.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nullora {

struct ScheduleState {
  bool BrowserSeen = false;  // the browser was running at an earlier tick
  // The daily runs done, by local date and minute (day * 1440 + minute), the latest last: a minute that
  // comes round again (the clocks set back, summer time ending) does not run twice.
  std::vector<int64_t> dailyRunsDone;
  // The previous tick of the daily mode, by the local clock and by the monotonic one.
  std::optional<int64_t> lastTickLocalMs;
  uint64_t lastTickMs = 0;
  // What the user is to be told, once: a daily time the clock jumped over.
  std::string note;
};

// 7 as "07": the hours and minutes of the daily run time.
std::string TwoDigits(int value);
// The time of day as the daily run time is kept: "1201PM", "1205AM".
std::string DailyTimeOf(double secondsSinceMidnight);
// Whether a browser runs: an executable name whose first twelve characters are exactly "iexplore.exe"
// (case counts: "IEXPLORE.EXE" is not it), or one of today's browsers' programs in any case.
bool BrowserRunning(const std::vector<std::string>& processes);
// "1201PM" as the minute of the day (721); nullopt for a text that is no daily time.
std::optional<int> DailyMinuteOf(const std::string& dailyRunTime);
// Whether this tick starts a background run, for the schedule `mode` (2 daily, 3 after the browser;
// 0 and 1 never). A daily run comes once for its date and minute, however often the clock shows that
// minute; a tick that came late, past the minute, still starts it; a minute the clock itself jumped
// over (summer time starting, the time set forward) starts nothing and leaves a note in `state`.
bool ScheduleTickStartsRun(int mode, const std::string& dailyRunTime, ScheduleState& state);

}  // namespace nullora
