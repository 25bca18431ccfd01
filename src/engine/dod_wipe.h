// The U.S DoD 5200,28-STD overwrite: per cycle three fixed sweeps (0x00; 0xFF; 0xFF blocks with a 0x00
// rest), then as many random cycles, each block one non-zero random byte value.
#pragma once

#include <string>

#include "engine/wipe_result.h"

namespace nullora {

namespace ui {
class ProgressBar;
class Label;
}  // namespace ui

inline constexpr size_t kDodBlockSize = 32768;

// Overwrites the file with `passes` fixed and `passes` random cycles, each sweep flushed to the medium
// before the next, gives it a random name when WipeOptions.OpRename is set, and deletes it. The last
// write of a sweep covers exactly the rest of the file: the file never grows. A file that cannot be
// overwritten completely is left in place. `progress` and `status` may be null.
WipeResult DodWipeFile(const std::string& path, int passes, ui::ProgressBar* progress, ui::Label* status);

}  // namespace nullora
