// The engine object of the wipe jobs. Each job dialog owns one and turns its events into progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/wipe_result.h"

namespace nullora {

struct FreeSpaceResult {
  bool completed = false;  // every pass ran and its fill file is gone
  platform::IoError error = platform::IoError::None;
  bool invalidPasses = false;  // the pass count is outside 0 to 255
  bool filledEarly = false;    // the drive was full before the last step of some pass
  // The fill file stopped growing while the drive still had room (a file system that ends a file at
  // 4 GiB): that much free space was not overwritten.
  bool filledInPart = false;
  uint64_t leftFree = 0;
  uint64_t bytesWritten = 0;  // by the last pass
};

// The name of the temporary fill file in the root of a drive.
inline constexpr char kFillFileName[] = "WNXTEMP.000";

class WipeProgress;

class Gutmann {
 public:
  // Where the wipes breathe and yield (the events carry what they report); null: nobody watches.
  WipeProgress* progress = nullptr;

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

  // Overwrites the free space of the drive whose letter is the first character of `DriveLetter`:
  // per pass a fill file "WNXTEMP.000" in its root grows in 1,000 steps to about `FreeSpace` bytes,
  // each step written with the pass's three block values in turn, each reaching the medium before
  // the next; then the file is truncated and deleted. A drive that fills up early ends that pass's
  // filling. The fill file is never left behind, not even when the process is ended during a pass.
  FreeSpaceResult SecureFreeSpaceWipe(const std::string& DriveLetter, int64_t FreeSpace, int Passes);
};

}  // namespace nullora
