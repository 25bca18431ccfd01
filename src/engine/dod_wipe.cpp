#include "engine/dod_wipe.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "engine/progress.h"
#include "engine/progress_text.h"
#include "engine/random.h"
#include "engine/read_back.h"
#include "engine/wipe_target.h"
#include "platform/file.h"
#include "shared/records.h"

namespace nullora {

using platform::IoError;

namespace {

// One sweep over the file from offset 0: the full blocks (only for files above one block), then exactly
// the rest. `blockByte` gives each full block's value, `restByte` the rest's; a fixed sweep fills the
// buffer once, a random one per block. The window breathes after every block. What it writes goes to
// `remember` when it is the last sweep of a wipe that is read back.
template <typename BlockByte, typename RestByte>
IoError Sweep(platform::File& file, uint64_t length, std::vector<uint8_t>& buffer, bool fixed,
              BlockByte blockByte, RestByte restByte, WipeProgress& report, ReadBack* remember = nullptr) {
  uint64_t offset = 0;
  if (length > kDodBlockSize) {
    const uint64_t blocks = length / kDodBlockSize;
    if (fixed) std::memset(buffer.data(), blockByte(), buffer.size());
    for (uint64_t k = 0; k < blocks; ++k, offset += kDodBlockSize) {
      if (!fixed) std::memset(buffer.data(), blockByte(), buffer.size());
      if (IoError error = file.WriteAt(offset, buffer); error != IoError::None) return error;
      if (remember) remember->Wrote(offset, buffer);
      report.Breathe();
    }
  }
  // The rest is below one block, so it fits the buffer and a size_t.
  if (const auto rest = static_cast<size_t>(length - offset); rest > 0) {
    std::memset(buffer.data(), restByte(), rest);
    if (IoError error = file.WriteAt(offset, {buffer.data(), rest}); error != IoError::None) return error;
    if (remember) remember->Wrote(offset, {buffer.data(), rest});
  }
  IoError error = file.Flush();
  report.Breathe();
  return error;
}

}  // namespace

WipeResult DodWipeFile(const std::string& path, int passes, WipeProgress* progress) {
  platform::FileInfo info;
  if (auto early = PrepareWipeTarget(path, &info)) return *early;
  WipeProgress& report = ReporterOf(progress);

  {
    platform::File file =
        platform::File::Open(path, platform::Access::Write, platform::kShareRead | platform::kShareWrite,
                             platform::Disposition::OpenExisting);
    if (!file.IsOpen()) return NotOverwritten(file.OpenError());
    uint64_t length = 0;
    if (IoError error = file.Length(&length); error != IoError::None) return NotOverwritten(error);
    const uint64_t firstLength = length;
    // Others may write while the scheme pauses (the file is shared for writing): every sweep covers
    // the file as long as it is then.
    auto currentLength = [&] {
      uint64_t now = 0;
      if (file.Length(&now) == IoError::None) length = std::max(length, now);
      return length;
    };
    std::vector<uint8_t> buffer(kDodBlockSize);

    // Fixed cycles: 0x00 everywhere; 0xFF everywhere; 0xFF blocks with a 0x00 rest.
    constexpr std::array<std::pair<uint8_t, uint8_t>, 3> kPhases{{{0x00, 0x00}, {0xFF, 0xFF}, {0xFF, 0x00}}};
    for (int cycle = 1; cycle <= passes; ++cycle) {
      for (auto [blockByte, restByte] : kPhases) {
        IoError error = Sweep(
            file, currentLength(), buffer, true, [b = blockByte] { return b; }, [r = restByte] { return r; },
            report);
        if (error != IoError::None) return NotOverwritten(error);
      }
    }

    ReadBack readBack;
    ReadBack* remember = ReadBack::Wanted() ? &readBack : nullptr;
    Randomize();
    for (int cycle = 1; cycle <= passes; ++cycle) {
      IoError error = Sweep(file, currentLength(), buffer, false, RandomNonZeroByte, RandomNonZeroByte,
                            report, cycle == passes ? remember : nullptr);
      if (error != IoError::None) return NotOverwritten(error);
      report.Status(OverwritingText(cycle, passes));
      report.SetValue(0);
      report.SetMax(passes);
      report.SetValue(cycle);
      PauseBreathing(report, 500);
    }
    if (currentLength() != firstLength) {
      // The last pause came after the last sweep: what was added then got none.
      readBack.Begin();
      if (IoError error =
              Sweep(file, length, buffer, false, RandomNonZeroByte, RandomNonZeroByte, report, remember);
          error != IoError::None) {
        return NotOverwritten(error);
      }
      if (IoError error = CheckReadBack(path, remember, report); error != IoError::None)
        return NotOverwritten(error);
      file.Close();
      WipeResult result = FinishWipe(path, WipeOptions.OpRename != 0, info.attributes);
      result.grew = true;
      return result;
    }
    if (IoError error = CheckReadBack(path, remember, report); error != IoError::None)
      return NotOverwritten(error);
  }
  return FinishWipe(path, WipeOptions.OpRename != 0, info.attributes);
}

}  // namespace nullora
