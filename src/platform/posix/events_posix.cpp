// The workbench has no windows: the event pump has nothing to dispatch and never waits.
#include "platform/platform.h"

namespace nullora::platform {

bool OsPumpEvents() { return true; }
bool OsWaitEvents(uint32_t ms) {
  (void)ms;
  return true;
}
void OsPostQuit() {}

}  // namespace nullora::platform
