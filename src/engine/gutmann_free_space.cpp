#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/gutmann.h"
#include "engine/gutmann_patterns.h"
#include "engine/progress.h"
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
// The block of the last filling, when the thousandth of the free space is smaller: a sector, so that
// a file system of 1 KiB clusters with three clusters left still takes them one by one.
constexpr uint64_t kMinRemainderBlock = 512;
constexpr int kMaxSpillFiles = 8;

IoError FillBlock(platform::File& file, uint64_t offset, uint64_t length, std::vector<uint8_t>& buffer,
                  uint8_t value, uint64_t* written, WipeProgress& report) {
  std::fill(buffer.begin(), buffer.end(), value);
  uint64_t done = 0;
  while (done < length) {
    auto chunk = static_cast<size_t>(std::min<uint64_t>(length - done, buffer.size()));
    if (IoError error = file.WriteAt(offset + done, {buffer.data(), chunk}); error != IoError::None) {
      *written = std::max(*written, offset + done);
      return error;
    }
    done += chunk;
    report.Breathe();
  }
  *written = std::max(*written, offset + length);
  return IoError::None;
}

// Whether an open failed because the name is not a plain file of the wipe's own: a link (also one the
// platform hides), a file with other names, a device. Such a name is neither written nor removed.
bool NotOurs(IoError error) {
  return error == IoError::IsLink || error == IoError::HasOtherNames || error == IoError::NotAFile;
}

// Truncates and deletes the fill file; what it held must not stay in its clusters' last state either,
// but it only ever held pattern bytes.
IoError RemoveFillFile(const std::string& path) {
  if (!platform::QueryFileInfo(path)) return IoError::None;
  {
    platform::File file = platform::File::Open(path, platform::Access::Write, platform::kShareNone,
                                               platform::Disposition::OpenExisting);
    if (!file.IsOpen() && NotOurs(file.OpenError())) return file.OpenError();
    if (file.IsOpen()) file.SetLength(0);
  }
  return platform::RemoveFile(path);
}

}  // namespace

FreeSpaceResult Gutmann::SecureFreeSpaceWipe(const std::string& DriveLetter, int64_t FreeSpace, int Passes) {
  WipeProgress& report = ReporterOf(progress);
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
  const std::string root = DriveLetter.substr(0, 1) + ":\\";
  const std::string fillFile = root + kFillFileName;

  // Stop ends the process inside a pass: the fill file is closed and goes first.
  platform::File file;
  std::vector<std::string> spillFiles;
  auto& application = ui::Application::Get();
  const int hook = application.AddEndHook([&file, &spillFiles, fillFile] {
    file.Close();
    RemoveFillFile(fillFile);
    for (const std::string& spillFile : spillFiles) RemoveFillFile(spillFile);
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
    // Writes the pass's three values over [offset, offset + length), each reaching the medium before
    // the next overwrites it. False on a failure other than a full drive, which ends the wipe.
    auto writeTo = [&](platform::File& target, uint64_t offset, uint64_t length, uint64_t& end,
                       bool& isFull) {
      for (uint8_t value : values) {
        IoError error =
            length > 0 ? FillBlock(target, offset, length, buffer, value, &end, report) : IoError::None;
        if (error == IoError::None && length > 0) error = target.Flush();
        report.Breathe();
        if (error == IoError::DiskFull) {
          // The drive had less room than measured: what was written is the free space.
          isFull = true;
          target.Flush();
          return true;
        }
        if (error != IoError::None) {
          result.error = error;
          return false;
        }
      }
      return true;
    };
    auto writeStep = [&](uint64_t offset, uint64_t length) {
      return writeTo(file, offset, length, written, full);
    };
    auto fail = [&] {
      file.Close();
      RemoveFillFile(fillFile);
      for (const std::string& spillFile : spillFiles) RemoveFillFile(spillFile);
      return result;
    };

    for (int step = 1; step <= kSteps && !full; ++step) {
      if (!writeStep(static_cast<uint64_t>(step - 1) * blockLength, blockLength)) return fail();
      if (full) result.filledEarly = true;
      const auto percent = static_cast<uint8_t>(full ? 100 : step * 100 / kSteps);
      if (Progress) Progress(percent, static_cast<uint8_t>(pass));
      report.Yield();
      if (progressDisk) progressDisk(percent);
      if (TimeRemainingPass) TimeRemainingPass("MyTimeRemaining");
      report.Yield();
    }
    // The free space was measured before the pass: what rounding to a thousandth, or the file system's
    // own bookkeeping, left free at the end is filled too, as long as it is such a remainder and not
    // room that others freed since.
    const uint64_t remainderLimit = std::max<uint64_t>(blockLength, kMinRemainderBlock) * 100;
    auto smallRemainder = [&] {
      platform::DiskSpace space;
      return platform::GetDiskFreeSpace(root, &space) == IoError::None && space.totalFree > 0 &&
                     space.totalFree <= remainderLimit
                 ? space.totalFree
                 : uint64_t{0};
    };
    if (const uint64_t remainder = full ? 0 : smallRemainder(); remainder > 0) {
      const uint64_t step = std::max<uint64_t>(blockLength, kMinRemainderBlock);
      const uint64_t end = written + remainder + step;
      for (uint64_t offset = written; offset < end && !full; offset += step) {
        if (!writeStep(offset, step)) return fail();
      }
    }
    // A file system that needs a block of its own bookkeeping for the fill file's next block reports
    // the drive full while single blocks are still free: small files of their own take those.
    for (int spill = 1; full && spill <= kMaxSpillFiles && smallRemainder() > 0; ++spill) {
      spillFiles.push_back(root + "WNXTEMP.00" + std::to_string(spill));
      platform::File spillFile =
          platform::File::Open(spillFiles.back(), platform::Access::ReadWrite, platform::kShareNone,
                               platform::Disposition::CreateAlways);
      if (!spillFile.IsOpen()) break;
      uint64_t spillEnd = 0;
      bool spillFull = false;
      for (uint64_t offset = 0; !spillFull && offset <= remainderLimit; offset += kMinRemainderBlock) {
        if (!writeTo(spillFile, offset, kMinRemainderBlock, spillEnd, spillFull)) spillFull = true;
      }
      if (spillEnd == 0) break;
    }
    if (full) {
      // Full, or only the fill file could not grow? Room left beyond a remainder was not overwritten.
      platform::DiskSpace space;
      if (platform::GetDiskFreeSpace(root, &space) == IoError::None && space.totalFree > remainderLimit) {
        result.filledInPart = true;
        result.leftFree = std::max(result.leftFree, space.totalFree);
      }
    }
    result.bytesWritten = written;
    if (TimeRemainingOverall) TimeRemainingOverall("MyTimeRemaining2");
    if (OverallProgressDisk) OverallProgressDisk(static_cast<uint8_t>(pass * 100 / Passes));

    file.Close();
    for (const std::string& spillFile : spillFiles) RemoveFillFile(spillFile);
    spillFiles.clear();
    if (IoError error = RemoveFillFile(fillFile); error != IoError::None) {
      result.error = error;
      return result;
    }
    PauseBreathing(report, 500);
  }
  result.completed = true;
  return result;
}

}  // namespace nullora
