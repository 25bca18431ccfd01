#include "ui/controls/application.h"

#include <algorithm>
#include <limits>

#include "platform/clock.h"
#include "platform/platform.h"
#include "ui/controls/control.h"
#include "ui/controls/form.h"
#include "ui/controls/timer.h"

namespace nullora::ui {

Application& Application::Get() {
  static Application application;
  return application;
}

int Application::Run() {
  // The loaded forms alone decide: a quit posted when the last form unloaded only wakes the loop,
  // and a form loaded in the same handler keeps it running.
  while (AnyFormLoaded()) {
    RunDeferred();
    if (!AnyFormLoaded()) break;
    FireDueTimers();
    if (!AnyFormLoaded()) break;
    PaintDeferred();
    platform::OsWaitEvents(MsUntilNextTimer());
  }
  return 0;
}

void Application::DoEvents() {
  PaintDeferred();
  platform::OsPumpEvents();
  FireDueTimers();
}

void Application::Defer(std::function<void()> work) {
  deferred_.push_back(std::move(work));
  platform::OsPostWake();
}

void Application::RunDeferred() {
  std::vector<std::function<void()>> due;
  due.swap(deferred_);
  for (auto& work : due) work();
}

void Application::Breathe() {
  const uint64_t now = platform::GetClock().NowMs();
  if (now - lastBreathMs_ < kBreathIntervalMs) return;
  lastBreathMs_ = now;
  PaintDeferred();
  platform::OsPumpPaint();
}

void Application::DeferPaint(Control* control) {
  if (std::find(deferredPaint_.begin(), deferredPaint_.end(), control) == deferredPaint_.end()) {
    deferredPaint_.push_back(control);
  }
}

void Application::PaintDeferred() {
  // Drawing may defer again; what is deferred now waits for the next call.
  std::vector<Control*> due;
  due.swap(deferredPaint_);
  for (Control* control : due) control->PaintNow();
}

void Application::ControlDestroyed(Control* control) {
  std::erase(deferredPaint_, control);
}

void Application::End() {
  // Hooks may remove themselves while they run.
  auto hooks = endHooks_;
  for (auto& [id, hook] : hooks) hook();
  endHooks_.clear();
  if (endHandler_) endHandler_();
  platform::OsExitProcess(0);
}

int Application::AddEndHook(std::function<void()> hook) {
  endHooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void Application::RemoveEndHook(int id) {
  std::erase_if(endHooks_, [id](const auto& entry) { return entry.first == id; });
}

void Application::Reset() {
  loaded_.clear();
  deferredPaint_.clear();
  deferred_.clear();
  lastBreathMs_ = 0;
  endHooks_.clear();
}

void Application::FormLoaded(Form* form) {
  if (std::find(loaded_.begin(), loaded_.end(), form) == loaded_.end()) loaded_.push_back(form);
  for (Timer* timer : timers_) timer->FormLoaded(*form);
  ScheduleTick();
}

void Application::FormUnloaded(Form* form) {
  std::erase(loaded_, form);
  if (loaded_.empty() && bound_) platform::OsPostQuit();
}

void Application::TimerChanged(Timer* timer) {
  if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) timers_.push_back(timer);
  ScheduleTick();
}

void Application::ScheduleTick() {
  if (!bound_) return;
  if (std::none_of(timers_.begin(), timers_.end(), [](Timer* timer) { return timer->Running(); })) return;
  platform::OsScheduleTick(MsUntilNextTimer(), &Application::Tick);
}

void Application::Tick() {
  Application& application = Get();
  application.FireDueTimers();
  application.ScheduleTick();
}

void Application::TimerDestroyed(Timer* timer) {
  std::erase(timers_, timer);
}

void Application::FireDueTimers() {
  uint64_t now = platform::GetClock().NowMs();
  // A tick may create, enable or destroy timers: take a snapshot and check each is still known.
  std::vector<Timer*> due;
  for (Timer* timer : timers_) {
    if (timer->Running() && timer->DueAtMs() <= now) due.push_back(timer);
  }
  for (Timer* timer : due) {
    if (std::find(timers_.begin(), timers_.end(), timer) != timers_.end() && timer->Running()) timer->Fire();
  }
}

uint32_t Application::MsUntilNextTimer() const {
  uint64_t now = platform::GetClock().NowMs();
  uint64_t wait = 1000;
  for (Timer* timer : timers_) {
    if (!timer->Running()) continue;
    wait = std::min<uint64_t>(wait, timer->DueAtMs() > now ? timer->DueAtMs() - now : 0);
  }
  return static_cast<uint32_t>(wait);
}

}  // namespace nullora::ui
