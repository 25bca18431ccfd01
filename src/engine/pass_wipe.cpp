#include "engine/pass_wipe.h"

#include <vector>

#include "engine/progress.h"
#include "engine/progress_text.h"
#include "engine/random.h"
#include "engine/read_back.h"
#include "engine/wipe_target.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "shared/records.h"

namespace nullora {

using platform::IoError;

WipeResult PassWipeFile(const std::string& path, int passes, WipeProgress* progress) {
  platform::FileInfo info;
  if (auto early = PrepareWipeTarget(path, &info)) return *early;
  WipeProgress& report = ReporterOf(progress);

  if (passes > 0) {
    // Others may read while we write, never write.
    platform::File file = platform::File::Open(path, platform::Access::Write, platform::kShareRead,
                                               platform::Disposition::OpenExisting);
    if (!file.IsOpen()) return NotOverwritten(file.OpenError());
    uint64_t length = 0;
    if (IoError error = file.Length(&length); error != IoError::None) return NotOverwritten(error);
    const uint64_t blocks = length / kPassBlockSize;
    const uint64_t tail = length % kPassBlockSize;

    report.SetValue(0);
    report.SetMax(static_cast<double>(blocks + 1) * passes);
    std::vector<uint8_t> buffer(kPassBlockSize);
    ReadBack readBack;
    ReadBack* remember = ReadBack::Wanted() ? &readBack : nullptr;
    for (int pass = 1; pass <= passes; ++pass) {
      ReadBack* last = pass == passes ? remember : nullptr;
      report.Status(OverwritingText(pass, passes));
      report.Yield();
      PauseBreathing(report, 50);

      Randomize();
      for (uint64_t k = 1; k <= blocks; ++k) {
        report.SetValue(static_cast<double>((pass - 1) * blocks + (k - 1)));
        FillRandomBitChars(buffer);
        if (IoError error = file.WriteAt((k - 1) * kPassBlockSize, buffer); error != IoError::None) {
          return NotOverwritten(error);
        }
        if (last) last->Wrote((k - 1) * kPassBlockSize, buffer);
        report.Breathe();
      }
      report.SetValue(static_cast<double>(pass * blocks + 1));
      if (tail > 0) {
        std::span<uint8_t> rest(buffer.data(), tail);
        FillRandomBitChars(rest);
        if (IoError error = file.WriteAt(length - tail, rest); error != IoError::None)
          return NotOverwritten(error);
        if (last) last->Wrote(length - tail, rest);
      }
      // The next pass must not overwrite this one in the cache.
      if (IoError error = file.Flush(); error != IoError::None) return NotOverwritten(error);
      report.Breathe();
    }
    if (IoError error = CheckReadBack(path, remember, report); error != IoError::None)
      return NotOverwritten(error);
  }
  return FinishWipe(path, WipeOptions.OpRename != 0, info.attributes);
}

}  // namespace nullora
