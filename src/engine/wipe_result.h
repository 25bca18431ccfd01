// What a file-wipe routine reports: whether the file is gone, and whether its bytes were overwritten
// as the scheme says before it went. A job shows "Done" only for a file that is both.
#pragma once

#include "platform/platform.h"

namespace nullora {

struct WipeResult {
  bool gone = false;         // nothing is left at the path
  bool overwritten = false;  // every pass of the scheme reached the medium (trivially true for none)
  platform::IoError error = platform::IoError::None;  // the first failure, when there was one
  // The file grew while the scheme paused: each pass covered the length it found, so what was added
  // late got fewer passes than the scheme says.
  bool grew = false;
  // The file's attributes before its wipe (compressed, encrypted, sparse...); 0 when it was not looked at.
  uint32_t attributes = 0;

  bool Wiped() const { return gone && overwritten && !grew; }
};

}  // namespace nullora
