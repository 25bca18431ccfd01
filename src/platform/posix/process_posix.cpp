#include <time.h>

#include <cstdlib>
#include <ctime>
#include <map>

#include "platform/platform.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora::platform {

namespace {
std::string& Argument() {
  static std::string argument;
  return argument;
}

std::string SettingKey(const std::string& app, const std::string& section, const std::string& key) {
  return app + "\\" + section + "\\" + key;
}
}  // namespace

namespace posix {
std::map<std::string, std::string>& SettingsStoreContents() {
  // In memory: the workbench has no user profile to persist to.
  static std::map<std::string, std::string> store;
  return store;
}
void ClearSettings() {
  SettingsStoreContents().clear();
}
void SetCommandLineArgument(const std::string& argument) {
  Argument() = argument;
}
}  // namespace posix

std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                       const std::string& key) {
  auto& store = posix::SettingsStoreContents();
  auto it = store.find(SettingKey(app, section, key));
  if (it == store.end()) return std::nullopt;
  return it->second;
}

bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) {
  posix::SettingsStoreContents()[SettingKey(app, section, key)] = value;
  return true;
}

std::string CommandLineArgument() {
  return Argument();
}

uint64_t OsTickMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1'000'000;
}

void OsSleep(uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1'000'000};
  while (nanosleep(&ts, &ts) != 0) {
  }
}

double OsSecondsSinceMidnight() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm local{};
  localtime_r(&ts.tv_sec, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + ts.tv_nsec / 1e9;
}

int64_t OsLocalDay() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm local{};
  localtime_r(&ts.tv_sec, &local);
  // Days from the civil date, so that the count does not depend on the offset from UTC.
  const int year = local.tm_year + 1900 - (local.tm_mon < 2);
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yearOfEra = year - era * 400;
  const int month = local.tm_mon + 1;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + local.tm_mday - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<int64_t>(era) * 146097 + dayOfEra;
}

void OsExitProcess(int code) {
  std::_Exit(code);
}

}  // namespace nullora::platform
