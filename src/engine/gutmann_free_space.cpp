#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/gutmann.h"
#include "engine/gutmann_patterns.h"
#include "engine/random.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "ui/controls/application.h"

namespace nullora {

using platform::IoError;

namespace {

constexpr int kSteps = 1000;
// Blocks are written from a buffer of at most this size: a block is a thousandth of the free space,
// a gigabyte on a large drive, far more than a 32-bit process can hold.
constexpr size_t kFillChunk = 1 << 20;

IoError FillBlock(platform::File& file, uint64_t offset, uint64_t length, std::vector<uint8_t>& buffer, uint8_t value,
                  uint64_t* written) {
  std::fill(buffer.begin(), buffer.end(), value);
  uint64_t done = 0;
  while (done < length) {
    auto chunk = static_cast<size_t>(std::min<uint64_t>(length - done, buffer.size()));
    if (IoError error = file.WriteAt(offset + done, {buffer.data(), chunk}); error != IoError::None) {
      *written = std::max(*written, offset + done);
      return error;
    }
    done += chunk;
  }
  *written = std::max(*written, offset + length);
  return IoError::None;
}

// Truncates and deletes the fill file; what it held must not stay in its clusters' last state either,
// but it only ever held pattern bytes.
IoError RemoveFillFile(const std::string& path) {
  if (!platform::QueryFileInfo(path)) return IoError::None;
  {
    platform::File file =
        platform::File::Open(path, platform::Access::Write, platform::kShareNone, platform::Disposition::OpenExisting);
    if (file.IsOpen()) file.SetLength(0);
  }
  return platform::RemoveFile(path);
}

}  // namespace

FreeSpaceResult Gutmann::SecureFreeSpaceWipe(const std::string& DriveLetter, int64_t FreeSpace, int Passes) {
  FreeSpaceResult result;
  const uint64_t blockLength =
      FreeSpace > 0 ? static_cast<uint64_t>(std::nearbyint(static_cast<double>(FreeSpace) / kSteps)) : 0;
  if (OverallProgressDisk) OverallProgressDisk(0);
  if (Passes < 0 || Passes > 255) {
    result.invalidPasses = true;
    result.error = IoError::Other;
    return result;
  }
  if (DriveLetter.empty()) {
    result.error = IoError::NotFound;
    return result;
  }
  const std::string fillFile = DriveLetter.substr(0, 1) + ":\\" + kFillFileName;

  // Stop ends the process inside a pass: the fill file is closed and goes first.
  platform::File file;
  auto& application = ui::Application::Get();
  const int hook = application.AddEndHook([&file, fillFile] {
    file.Close();
    RemoveFillFile(fillFile);
  });
  struct HookGuard {
    ui::Application& application;
    int hook;
    ~HookGuard() { application.RemoveEndHook(hook); }
  } guard{application, hook};

  std::vector<uint8_t> buffer(static_cast<size_t>(std::clamp<uint64_t>(blockLength, 1, kFillChunk)));
  BlockValues values{};
  for (int pass = 1; pass <= Passes; ++pass) {
    file = platform::File::Open(fillFile, platform::Access::ReadWrite, platform::kShareNone,
                                platform::Disposition::OpenAlways);
    if (!file.IsOpen()) {
      result.error = file.OpenError();
      RemoveFillFile(fillFile);
      return result;
    }
    if (IsRandomGutmannPass(pass)) {
      Randomize();
      for (auto& value : values) value = RandomRoundedByte();
    } else if (auto fixed = FixedGutmannValues(pass)) {
      values = *fixed;
    }  // passes above 35 keep the values of the pass before
    if (statusstringDisk) {
      statusstringDisk("Block1(): 0x" + HexByte(values[0]) + " , Block2(): 0x" + HexByte(values[1]) +
                       " , Block3: 0x" + HexByte(values[2]));
    }

    uint64_t written = 0;
    bool full = false;
    for (int step = 1; step <= kSteps && !full; ++step) {
      const uint64_t offset = static_cast<uint64_t>(step - 1) * blockLength;
      for (uint8_t value : values) {
        IoError error = blockLength > 0 ? FillBlock(file, offset, blockLength, buffer, value, &written) : IoError::None;
        // Each block must reach the medium before the next one overwrites it.
        if (error == IoError::None && blockLength > 0) error = file.Flush();
        if (error == IoError::DiskFull) {
          // The drive had less room than measured: what was written is the free space.
          full = true;
          result.filledEarly = true;
          file.Flush();
          break;
        }
        if (error != IoError::None) {
          result.error = error;
          file.Close();
          RemoveFillFile(fillFile);
          return result;
        }
      }
      const auto percent = static_cast<uint8_t>(full ? 100 : step * 100 / kSteps);
      if (Progress) Progress(percent, static_cast<uint8_t>(pass));
      ui::DoEvents();
      if (progressDisk) progressDisk(percent);
      if (TimeRemainingPass) TimeRemainingPass("MyTimeRemaining");
      ui::DoEvents();
    }
    result.bytesWritten = written;
    if (TimeRemainingOverall) TimeRemainingOverall("MyTimeRemaining2");
    if (OverallProgressDisk) OverallProgressDisk(static_cast<uint8_t>(pass * 100 / Passes));

    file.Close();
    if (IoError error = RemoveFillFile(fillFile); error != IoError::None) {
      result.error = error;
      return result;
    }
    platform::GetClock().Sleep(500);
  }
  result.completed = true;
  return result;
}

}  // namespace nullora
