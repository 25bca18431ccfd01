#include "shared/settings_store.h"

#include <cmath>
#include <cstdlib>

#include "platform/platform.h"
#include "shared/records.h"

namespace nullora {

std::string GetSetting(const std::string& key, const std::string& fallback) {
  return platform::ReadSetting(kSettingsApp, kSettingsSection, key).value_or(fallback);
}

void SaveSetting(const std::string& key, const std::string& value) {
  platform::WriteSetting(kSettingsApp, kSettingsSection, key, value);
}

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

int16_t ToInt16(const std::string& text, int16_t fallback) {
  std::string number = Trim(text);
  if (number.empty()) return fallback;
  // Digits with an optional sign and an optional fraction, and nothing else.
  size_t i = (number[0] == '+' || number[0] == '-') ? 1 : 0;
  size_t digits = 0;
  bool point = false;
  for (; i < number.size(); ++i) {
    if (number[i] >= '0' && number[i] <= '9') {
      ++digits;
    } else if (number[i] == '.' && !point) {
      point = true;
    } else {
      return fallback;
    }
  }
  if (digits == 0) return fallback;
  double value = std::nearbyint(std::strtod(number.c_str(), nullptr));
  if (value < -32768.0 || value > 32767.0) return fallback;
  return static_cast<int16_t>(value);
}

int16_t GetIntSetting(const std::string& key, int16_t fallback) {
  std::optional<std::string> stored = platform::ReadSetting(kSettingsApp, kSettingsSection, key);
  return stored ? ToInt16(*stored, fallback) : fallback;
}

void LoadWipeOptions(int16_t passesDefault) {
  WipeOptions.OpMethod = GetSetting("OpMethod", "1");
  WipeOptions.OpRename = GetIntSetting("OpRename", 0);
  WipeOptions.OpRandom = GetIntSetting("OpRandom", 0);
  WipeOptions.OpPasses = GetIntSetting("OpPasses", passesDefault);
  WipeOptions.OpVerify = GetIntSetting("OpVerify", 0);
}

}  // namespace nullora
