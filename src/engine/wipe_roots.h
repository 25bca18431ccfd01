// Which folders the cleaner may wipe everything below. The shell, TEMP and the registry name the trace
// folders, and any of them can be set to a place that holds the user's own files; a folder is wiped
// only when it is none of the system's or the user's folders, nor a folder above one of them.
#pragma once

#include <optional>
#include <string>

namespace nullora {

// Why `folder` may not be wiped ("the folder is a drive root", "the folder holds Documents"), or
// nullopt when it may.
std::optional<std::string> WipeRootRefusal(const std::string& folder);

}  // namespace nullora
