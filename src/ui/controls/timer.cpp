#include "ui/controls/timer.h"

#include "platform/clock.h"
#include "ui/controls/application.h"
#include "ui/controls/form.h"

namespace nullora::ui {

Timer::Timer(Form& form, std::string name) : form_(form), name_(std::move(name)) {
  Application::Get().TimerChanged(this);
}

Timer::~Timer() { Application::Get().TimerDestroyed(this); }

void Timer::SetInterval(uint32_t ms) {
  interval_ = ms;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

bool Timer::Running() const { return enabled_ && interval_ > 0 && form_.Loaded(); }

void Timer::Restart() {
  dueAtMs_ = platform::GetClock().NowMs() + interval_;
  Application::Get().TimerChanged(this);
}

void Timer::Fire() {
  // A tick that runs DoEvents must not fire the same timer again inside itself.
  if (firing_) return;
  firing_ = true;
  dueAtMs_ = platform::GetClock().NowMs() + interval_;
  if (OnTimer) OnTimer();
  firing_ = false;
}

}  // namespace nullora::ui
