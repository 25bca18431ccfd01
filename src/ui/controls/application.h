// The process lifetime and the event pump of the form runtime. The process lives while a form is
// loaded: Run() returns when the last one unloads, End() ends it at once.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace nullora::ui {

class Control;
class Form;
class Timer;

// Thrown by the end handler that tests install, so that End() leaves a running handler as it would
// leave the process.
struct ProcessEnded {};

class Application {
 public:
  static Application& Get();

  // Forms create real windows only when bound (the product); tests run head-less.
  void SetBound(bool bound) { bound_ = bound; }
  bool Bound() const { return bound_; }

  const std::vector<Form*>& LoadedForms() const { return loaded_; }
  bool AnyFormLoaded() const { return !loaded_.empty(); }

  // Runs the message loop until no form is loaded. Returns the exit code.
  int Run();
  // Lets pending window messages and due timers run once.
  void DoEvents();
  // Runs `work` from the message loop itself, once the handler that asks for it (and whatever menu or
  // window procedure it runs in) has returned. Not from DoEvents: never inside another handler.
  void Defer(std::function<void()> work);
  // Runs what was deferred; the loop does it, head-less tests call it.
  void RunDeferred();
  // Lets the windows repaint and answer the system, at most once per kBreathIntervalMs of the clock,
  // and takes no input: a click waits for the next DoEvents. Long routines call it often (every block)
  // wherever they may not yield, so that no window goes unanswered while a click waits its turn.
  void Breathe();
  static constexpr uint64_t kBreathIntervalMs = 50;

  // A control whose screen update was held back (progress drawn at most so often) asks to be drawn
  // at the next breath, DoEvents or idle loop.
  void DeferPaint(Control* control);
  void PaintDeferred();
  void ControlDestroyed(Control* control);
  // Ends the process at once; no form receives its unload events. Runs the end hooks first.
  [[noreturn]] void End();

  // Replaces what End() finally does (the default exits the process). Tests install one that throws
  // ProcessEnded; the handler must not return.
  void SetEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }
  // Work that must happen even when the process is ended at once (removing a temporary fill file).
  int AddEndHook(std::function<void()> hook);
  void RemoveEndHook(int id);

  // Head-less state for tests: forget every loaded form and end hook (the end handler stays).
  void Reset();

  // Called by Form and Timer.
  void FormLoaded(Form* form);
  void FormUnloaded(Form* form);
  void TimerChanged(Timer* timer);
  void TimerDestroyed(Timer* timer);

 private:
  void FireDueTimers();
  uint32_t MsUntilNextTimer() const;
  // Asks the platform to fire the timers when the next one is due, from any message loop.
  void ScheduleTick();
  static void Tick();

  bool bound_ = false;
  std::vector<Form*> loaded_;
  std::vector<Control*> deferredPaint_;
  std::vector<std::function<void()>> deferred_;
  uint64_t lastBreathMs_ = 0;
  std::vector<Timer*> timers_;
  std::function<void()> endHandler_;
  std::vector<std::pair<int, std::function<void()>>> endHooks_;
  int nextHookId_ = 1;
};

inline void DoEvents() {
  Application::Get().DoEvents();
}
[[noreturn]] inline void End() {
  Application::Get().End();
}

}  // namespace nullora::ui
