// The U.S DoD 5200,28-STD overwrite: per cycle three fixed sweeps (0x00; 0xFF; 0xFF blocks with a 0x00
// rest), then as many random cycles, each block one non-zero random byte value.
#pragma once

#include <string>

#include "engine/wipe_result.h"

namespace nullora {

class WipeProgress;

inline constexpr size_t kDodBlockSize = 32768;

// Overwrites the file with `passes` fixed and `passes` random cycles, each sweep flushed to the medium
// before the next, gives it a random name when WipeOptions.OpRename is set, and deletes it. The last
// write of a sweep covers exactly the rest of the file: the file never grows. A file that cannot be
// overwritten completely is left in place. It never lets the event loop run: it only breathes between
// blocks, so the window paints while a click waits until the wipe is over. `progress` may be null.
WipeResult DodWipeFile(const std::string& path, int passes, WipeProgress* progress);

}  // namespace nullora
