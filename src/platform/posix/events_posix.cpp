// The workbench has no windows: the event pump has nothing to dispatch and never waits.
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/posix/head_less.h"

namespace nullora::platform {

namespace {
posix::EventPumpLog gLog;
}  // namespace

namespace posix {
EventPumpLog& PumpLog() {
  return gLog;
}
}  // namespace posix

bool OsPumpEvents() {
  ++gLog.events;
  return true;
}

void OsPumpPaint() {
  gLog.paintTimesMs.push_back(GetClock().NowMs());
}
bool OsWaitEvents(uint32_t ms) {
  (void)ms;
  return true;
}
void OsPostQuit() {}
void OsPostWake() {}
void OsScheduleTick(uint32_t ms, void (*tick)()) {
  (void)ms, (void)tick;
}

}  // namespace nullora::platform
