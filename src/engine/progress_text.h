#pragma once

#include <string>

namespace nullora {

// "Overwriting ... 3 of 7": the running status of every overwrite.
inline std::string OverwritingText(long pass, long total) {
  return "Overwriting ... " + std::to_string(pass) + " of " + std::to_string(total);
}

}  // namespace nullora
