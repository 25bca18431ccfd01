// The one clock behind every pause, timer and time stamp, so tests and benchmarks can take time out.
#pragma once

#include <cstdint>

namespace nullora::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  virtual void Sleep(uint32_t ms) = 0;
  virtual double SecondsSinceMidnight() = 0;
  // The local calendar date as a count of days: the next day is one more.
  virtual int64_t LocalDay() = 0;
};

// The clock in use: the real one unless a test installed another.
Clock& GetClock();
// Installs `clock` (nullptr restores the real clock). Returns the one it replaces.
Clock* SetClock(Clock* clock);

// A clock that only moves when slept on or advanced: pauses cost nothing and are counted.
class VirtualClock : public Clock {
 public:
  uint64_t NowMs() override { return nowMs_; }
  void Sleep(uint32_t ms) override {
    nowMs_ += ms;
    sleptMs_ += ms;
    ++sleeps_;
  }
  double SecondsSinceMidnight() override { return static_cast<double>(LocalMs() % 86'400'000) / 1000.0; }
  int64_t LocalDay() override { return static_cast<int64_t>(LocalMs() / 86'400'000); }
  void Advance(uint64_t ms) { nowMs_ += ms; }
  // Sets the local clock apart from the monotonic one, as a change of the time of day, summer time
  // starting or ending, does: local time is the monotonic time plus `ms`.
  void SetLocalOffset(int64_t ms) { localOffsetMs_ = ms; }
  uint64_t SleptMs() const { return sleptMs_; }
  uint64_t Sleeps() const { return sleeps_; }

 private:
  uint64_t LocalMs() const { return nowMs_ + static_cast<uint64_t>(localOffsetMs_); }

  uint64_t nowMs_ = 1'000'000;
  int64_t localOffsetMs_ = 0;
  uint64_t sleptMs_ = 0;
  uint64_t sleeps_ = 0;
};

// Installs a clock for the life of a scope.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock) : previous_(SetClock(&clock)) {}
  ~ScopedClock() { SetClock(previous_); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

}  // namespace nullora::platform
