#include "ui/scheduler.h"

#include <algorithm>
#include <utility>

#include "cleaner/browser_items.h"
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
    for (const Browser& browser : Browsers()) {
      if (IsProgramOf(browser, name)) return true;
    }
  }
  return false;
}

std::optional<int> DailyMinuteOf(const std::string& dailyRunTime) {
  if (dailyRunTime.size() != 6) return std::nullopt;
  for (int i = 0; i < 4; ++i) {
    if (dailyRunTime[i] < '0' || dailyRunTime[i] > '9') return std::nullopt;
  }
  const int hour = std::stoi(dailyRunTime.substr(0, 2));
  const int minute = std::stoi(dailyRunTime.substr(2, 2));
  const std::string half = dailyRunTime.substr(4);
  if (hour < 1 || hour > 12 || minute > 59 || (half != "AM" && half != "PM")) return std::nullopt;
  return (hour % 12 + (half == "PM" ? 12 : 0)) * 60 + minute;
}

namespace {

constexpr int64_t kMinuteMs = 60000;
constexpr int64_t kDayMinutes = 24 * 60;
// Ticks come a minute apart; one that came more than this after the last is no sign of the time
// having passed by tick (the timer was off).
constexpr uint64_t kRegularTickGapMs = 5 * kMinuteMs;
// The local clock ran ahead of the monotonic one by more than a tick's slack: it was set forward.
constexpr int64_t kClockJumpMs = 90000;

bool DailyTick(const std::string& dailyRunTime, ScheduleState& state) {
  platform::Clock& clock = platform::GetClock();
  const double seconds = clock.SecondsSinceMidnight();
  const int64_t day = clock.LocalDay();
  const int64_t localMs = day * kDayMinutes * kMinuteMs + static_cast<int64_t>(seconds * 1000);
  const uint64_t nowMs = clock.NowMs();
  const std::optional<int64_t> lastLocalMs = std::exchange(state.lastTickLocalMs, localMs);
  const uint64_t lastMs = std::exchange(state.lastTickMs, nowMs);

  std::optional<int64_t> due;
  if (DailyTimeOf(seconds) == dailyRunTime) {
    due = localMs / kMinuteMs;
  } else if (std::optional<int> minute = DailyMinuteOf(dailyRunTime);
             minute && lastLocalMs && nowMs - lastMs <= kRegularTickGapMs) {
    // The minute passed between the last tick and this one without a tick inside it.
    for (int64_t d : {day - 1, day}) {
      const int64_t candidate = d * kDayMinutes + *minute;
      if (*lastLocalMs / kMinuteMs < candidate && candidate < localMs / kMinuteMs) due = candidate;
    }
    if (due && (localMs - *lastLocalMs) - static_cast<int64_t>(nowMs - lastMs) > kClockJumpMs &&
        std::find(state.dailyRunsDone.begin(), state.dailyRunsDone.end(), *due) ==
            state.dailyRunsDone.end()) {
      state.note = "The daily clean at " + dailyRunTime.substr(0, 2) + ":" + dailyRunTime.substr(2, 2) + " " +
                   dailyRunTime.substr(4) + " did not run today: the clock skipped that time.";
      state.dailyRunsDone.push_back(*due);
      return false;
    }
  }
  if (!due) return false;
  if (std::find(state.dailyRunsDone.begin(), state.dailyRunsDone.end(), *due) != state.dailyRunsDone.end()) {
    return false;
  }
  state.dailyRunsDone.push_back(*due);
  if (state.dailyRunsDone.size() > 16) state.dailyRunsDone.erase(state.dailyRunsDone.begin());
  return true;
}

}  // namespace

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
  if (mode == 2) return DailyTick(dailyRunTime, state);
  return false;
}

}  // namespace nullora
