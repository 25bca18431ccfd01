// A timer control. Its Timer event fires from the event pump once Interval milliseconds of the
// clock have passed since it was enabled or last fired.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace nullora::ui {

class Form;

class Timer {
 public:
  Timer(Form& form, std::string name);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Whether the timer runs: enabled, an interval above 0 and its form loaded.
  bool Running() const;
  uint64_t DueAtMs() const { return dueAtMs_; }
  // Called by the application when due.
  void Fire();
  // Called by the application when the timer's form loads: the interval counts from then.
  void FormLoaded(const Form& form) {
    if (&form == &form_) Restart();
  }

  std::function<void()> OnTimer;

 private:
  void Restart();

  Form& form_;
  std::string name_;
  uint32_t interval_ = 0;
  bool enabled_ = true;
  bool firing_ = false;
  uint64_t dueAtMs_ = 0;
};

}  // namespace nullora::ui
