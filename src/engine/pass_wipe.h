// The multi-pass overwrite: random "0"/"1" characters, a number of passes, then the deletion. It
// carries out One Random Pass (1), Custom (OpPasses) and Delete Only (0).
#pragma once

#include <string>

#include "engine/wipe_result.h"

namespace nullora {

namespace ui {
class ProgressBar;
class Label;
}  // namespace ui

inline constexpr size_t kPassBlockSize = 16384;

// Overwrites the file `passes` times in 16384-byte blocks, flushing each pass to the medium, gives it
// a random name when WipeOptions.OpRename is set, and deletes it. A file that cannot be overwritten
// completely is left in place. `progress` and `status` may be null.
WipeResult PassWipeFile(const std::string& path, int passes, ui::ProgressBar* progress, ui::Label* status);

}  // namespace nullora
