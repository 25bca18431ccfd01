// The engine object of the wipe jobs. Each job dialog owns one and turns its events into progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/wipe_result.h"

namespace nullora {

class Gutmann {
 public:
  // Events, delivered synchronously before the raising call goes on.
  std::function<void(uint8_t bytPassProg, uint8_t pass)> Progress;
  std::function<void(uint8_t bytOverallProg)> OverallProgress;
  std::function<void(uint8_t percent)> progressDisk;
  std::function<void(uint8_t percent)> OverallProgressDisk;
  std::function<void(const std::string& time)> TimeRemainingPass;
  std::function<void(const std::string& time)> TimeRemainingOverall;
  std::function<void(const std::string& status)> statusstring;
  std::function<void(const std::string& status)> statusstringDisk;

  // Wipes the file with the 35 Gutmann passes and deletes it. Every pass covers the file exactly to its
  // end, block by block, and each block reaches the medium before the next overwrites it. A file that
  // cannot be overwritten completely is left in place.
  WipeResult SecureFileDelete(const std::string& file);
};

}  // namespace nullora
