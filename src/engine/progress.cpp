#include "engine/progress.h"

#include <algorithm>

#include "platform/clock.h"
#include "ui/controls/application.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"

namespace nullora {

namespace {

class Silent : public WipeProgress {
 public:
  void Status(const std::string&) override {}
  void SetMax(double) override {}
  void SetValue(double) override {}
  void Breathe() override { ui::Application::Get().Breathe(); }
  void Yield() override { ui::DoEvents(); }
};

}  // namespace

WipeProgress& SilentProgress() {
  static Silent silent;
  return silent;
}

void PauseBreathing(WipeProgress& progress, uint32_t ms) {
  constexpr uint32_t kSlice = static_cast<uint32_t>(ui::Application::kBreathIntervalMs);
  while (ms > 0) {
    const uint32_t slice = std::min(ms, kSlice);
    platform::GetClock().Sleep(slice);
    ms -= slice;
    progress.Breathe();
  }
}

void ControlProgress::Status(const std::string& text) {
  if (!label_) return;
  label_->SetCaption(text);
  label_->Refresh();
}

void ControlProgress::SetMax(double maximum) {
  if (bar_) bar_->SetMax(maximum);
}

void ControlProgress::SetValue(double value) {
  if (bar_) bar_->SetValue(value);
}

void ControlProgress::Breathe() {
  ui::Application::Get().Breathe();
}

void ControlProgress::Yield() {
  ui::DoEvents();
}

}  // namespace nullora
