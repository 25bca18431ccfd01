#include "platform/clock.h"

#include <utility>

#include "platform/platform.h"

namespace nullora::platform {

namespace {

class RealClock : public Clock {
 public:
  uint64_t NowMs() override { return OsTickMs(); }
  void Sleep(uint32_t ms) override { OsSleep(ms); }
  double SecondsSinceMidnight() override { return OsSecondsSinceMidnight(); }
  int64_t LocalDay() override { return OsLocalDay(); }
};

RealClock gRealClock;
Clock* gClock = &gRealClock;

}  // namespace

Clock& GetClock() {
  return *gClock;
}

Clock* SetClock(Clock* clock) {
  Clock* previous = std::exchange(gClock, clock ? clock : &gRealClock);
  return previous == &gRealClock ? nullptr : previous;
}

}  // namespace nullora::platform
