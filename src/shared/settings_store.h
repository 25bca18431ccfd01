// The per-user settings store: text values under application "Nullora", section "Options".
#pragma once

#include <cstdint>
#include <string>

namespace nullora {

inline constexpr char kSettingsApp[] = "Nullora";
inline constexpr char kSettingsSection[] = "Options";

// The stored text of `key`, or `fallback` when the key is absent.
std::string GetSetting(const std::string& key, const std::string& fallback);
// Creates or replaces the value.
void SaveSetting(const std::string& key, const std::string& value);

// The text as a 16-bit integer the way the settings are read: blanks around it ignored, a fraction
// rounded half to even. Text that is no number, or out of range, gives `fallback`: a hand-edited
// store must not stop the program.
int16_t ToInt16(const std::string& text, int16_t fallback);

// Reads `key` as a 16-bit integer; absent or unreadable gives `fallback`.
int16_t GetIntSetting(const std::string& key, int16_t fallback);

std::string Trim(const std::string& text);

// Reads the wipe options into WipeOptions. `passesDefault` is used when OpPasses is absent or
// unreadable (each job has its own).
void LoadWipeOptions(int16_t passesDefault);

}  // namespace nullora
