#include "ui/scheduler.h"

#include "platform/clock.h"
#include "platform/platform.h"

namespace nullora {

std::string TwoDigits(int value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string DailyTimeOf(double secondsSinceMidnight) {
  const int minutes = static_cast<int>(secondsSinceMidnight / 60) % (24 * 60);
  const int hour24 = minutes / 60;
  const int minute = minutes % 60;
  const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
  return TwoDigits(hour12) + TwoDigits(minute) + (hour24 < 12 ? "AM" : "PM");
}

bool BrowserRunning(const std::vector<std::string>& processes) {
  for (const std::string& name : processes) {
    if (name.compare(0, 12, "iexplore.exe") == 0) return true;
  }
  return false;
}

bool ScheduleTickStartsRun(int mode, const std::string& dailyRunTime, ScheduleState& state) {
  if (mode == 3) {
    if (BrowserRunning(platform::RunningProcessNames())) {
      state.BrowserSeen = true;
      return false;
    }
    if (!state.BrowserSeen) return false;
    state.BrowserSeen = false;
    return true;
  }
  if (mode == 2) {
    platform::Clock& clock = platform::GetClock();
    if (DailyTimeOf(clock.SecondsSinceMidnight()) != dailyRunTime) return false;
    // A late tick and an on-time one may fall into the same minute: one run for it.
    const auto now = static_cast<int64_t>(clock.NowMs());
    if (state.lastDailyRunMs >= 0 && now - state.lastDailyRunMs < 2 * 60000) return false;
    state.lastDailyRunMs = now;
    return true;
  }
  return false;
}

}  // namespace nullora
