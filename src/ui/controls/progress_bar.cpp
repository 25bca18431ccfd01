#include "ui/controls/progress_bar.h"

#include <algorithm>
#include <cmath>

namespace nullora::ui {

void ProgressBar::SetMin(double minimum) {
  min_ = minimum;
  if (max_ < min_) max_ = min_;
  value_ = std::clamp(value_, min_, max_);
  Push();
}

void ProgressBar::SetMax(double maximum) {
  max_ = std::max(maximum, min_);
  value_ = std::clamp(value_, min_, max_);
  Push();
}

void ProgressBar::SetValue(double value) {
  value_ = std::clamp(value, min_, max_);
  Push();
}

namespace {
// The common control counts in 32-bit integers; large byte counts are scaled to its range, which is
// finer than any bar is wide.
constexpr int kSteps = 10000;
}  // namespace

int ProgressBar::DrawnPosition() const {
  double span = max_ - min_;
  return span > 0 ? static_cast<int>(std::lround((value_ - min_) / span * kSteps)) : 0;
}

void ProgressBar::SyncPeer() {
  pushedPosition_ = -1;
  PushPending();
}

void ProgressBar::Push() {
  // Only a change of what is drawn goes to the screen, and a throttled bar only so often: a routine
  // may report every block of a large file.
  if (!Peer() || DrawnPosition() == pushedPosition_) return;
  if (MayPaintNow()) PushPending();
}

void ProgressBar::PushPending() {
  if (!Peer()) return;
  const int position = DrawnPosition();
  if (pushedPosition_ < 0) Peer()->SetRange(0, kSteps);
  if (position != pushedPosition_) Peer()->SetValue(position);
  pushedPosition_ = position;
}

}  // namespace nullora::ui
