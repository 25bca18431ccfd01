// One file wiped with a scheme: the one place that turns a scheme and a stored pass count into the
// routine that overwrites the file. The job dialogs, the cleaner and the console program all call it.
#pragma once

#include <string>

#include "engine/wipe_result.h"
#include "engine/wipe_scheme.h"

namespace nullora {

class Gutmann;
class WipeProgress;

// Overwrites `path` as `scheme` says (DoD and Custom with `storedPasses`, see SchemePasses) and deletes
// it. The Gutmann scheme runs on `gutmann` when given, so that its events reach the caller.
WipeResult WipeWithScheme(const std::string& path, WipeScheme scheme, int storedPasses,
                          WipeProgress* progress, Gutmann* gutmann = nullptr);

}  // namespace nullora
