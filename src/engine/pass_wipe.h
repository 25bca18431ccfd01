// The multi-pass overwrite: random "0"/"1" characters, a number of passes, then the deletion. It
// carries out One Random Pass (1), Custom (OpPasses) and Delete Only (0).
#pragma once

#include <string>

#include "engine/wipe_result.h"

namespace nullora {

class WipeProgress;

inline constexpr size_t kPassBlockSize = 16384;

// Overwrites the file `passes` times in 16384-byte blocks, flushing each pass to the medium, gives it
// a random name when WipeOptions.OpRename is set, and deletes it. A file that cannot be overwritten
// completely is left in place. The status and bar go to `progress` (null: nobody watches); it lets
// the event loop run once per pass and breathes between blocks.
WipeResult PassWipeFile(const std::string& path, int passes, WipeProgress* progress);

}  // namespace nullora
