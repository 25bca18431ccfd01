#include <algorithm>
#include <vector>

#include "engine/gutmann.h"
#include "engine/gutmann_patterns.h"
#include "engine/progress.h"
#include "engine/random.h"
#include "engine/read_back.h"
#include "engine/wipe_target.h"
#include "platform/file.h"

namespace nullora {

using platform::IoError;

namespace {

constexpr int kSectionsPerPass = 5;
// Large sections are written from a buffer of this size instead of one allocation per section.
constexpr size_t kWriteChunk = 1 << 20;

IoError FillRange(platform::File& file, uint64_t begin, uint64_t end, uint8_t value,
                  std::vector<uint8_t>& buffer, WipeProgress& report, ReadBack* remember) {
  std::fill(buffer.begin(), buffer.end(), value);
  for (uint64_t offset = begin; offset < end;) {
    size_t length = static_cast<size_t>(std::min<uint64_t>(end - offset, buffer.size()));
    if (IoError error = file.WriteAt(offset, {buffer.data(), length}); error != IoError::None) return error;
    if (remember) remember->Wrote(offset, {buffer.data(), length});
    offset += length;
    report.Breathe();
  }
  return IoError::None;
}

}  // namespace

WipeResult Gutmann::SecureFileDelete(const std::string& path) {
  WipeProgress& report = ReporterOf(progress);
  platform::FileInfo info;
  if (auto early = PrepareWipeTarget(path, &info)) return *early;
  const uint64_t firstLength = info.size;
  uint64_t length = firstLength;

  if (length > 0) {
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<uint64_t>(length, kWriteChunk)));
    BlockValues values{};
    ReadBack readBack;
    ReadBack* remember = ReadBack::Wanted() ? &readBack : nullptr;
    for (int pass = 1; pass <= kGutmannPasses; ++pass) {
      // Nobody else may read or write during a pass.
      platform::File file = platform::File::Open(path, platform::Access::Write, platform::kShareNone,
                                                 platform::Disposition::OpenExisting);
      if (!file.IsOpen()) return NotOverwritten(file.OpenError());
      // The file is closed while the scheme pauses, and may have grown: each pass covers it whole.
      if (uint64_t now = 0; file.Length(&now) == IoError::None) length = std::max(length, now);
      if (IsRandomGutmannPass(pass)) {
        for (auto& value : values) value = RandomRoundedByte();
      } else {
        values = *FixedGutmannValues(pass);
      }
      if (statusstring) {
        statusstring("Block1: 0x" + HexByte(values[0]) + " , Block2: 0x" + HexByte(values[1]) +
                     " , Block3: 0x" + HexByte(values[2]));
      }
      // Five sections that together cover the file exactly; each gets the three blocks in turn.
      for (int k = 1; k <= kSectionsPerPass; ++k) {
        const uint64_t begin = length * (k - 1) / kSectionsPerPass;
        const uint64_t end = length * k / kSectionsPerPass;
        if (begin < end) {
          for (size_t v = 0; v < values.size(); ++v) {
            // The third block value of the last pass is what stays on the medium.
            ReadBack* last = pass == kGutmannPasses && v + 1 == values.size() ? remember : nullptr;
            IoError error = FillRange(file, begin, end, values[v], buffer, report, last);
            if (error == IoError::None) error = file.Flush();
            report.Breathe();
            if (error != IoError::None) return NotOverwritten(error);
          }
        }
        if (Progress) Progress(static_cast<uint8_t>(k * 100 / kSectionsPerPass), static_cast<uint8_t>(pass));
        report.Yield();
      }
      if (OverallProgress) OverallProgress(static_cast<uint8_t>(pass * 100 / kGutmannPasses));
      file.Close();
      // Read back once the handle that shares nothing is closed, before the pause.
      if (pass == kGutmannPasses) {
        if (IoError error = CheckReadBack(path, remember, report); error != IoError::None)
          return NotOverwritten(error);
      }
      PauseBreathing(report, 500);
    }
  }

  // Truncate before deleting, so the file's last length goes with it.
  {
    platform::File file = platform::File::Open(path, platform::Access::Write, platform::kShareNone,
                                               platform::Disposition::OpenExisting);
    if (!file.IsOpen()) return NotOverwritten(file.OpenError());
    if (uint64_t now = 0; file.Length(&now) == IoError::None) length = std::max(length, now);
    if (IoError error = file.SetLength(0); error != IoError::None) return NotOverwritten(error);
    file.Flush();
  }
  WipeResult result = FinishWipe(path, false, info.attributes);
  result.grew = length != firstLength;
  return result;
}

}  // namespace nullora
