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

void ProgressBar::SyncPeer() { Push(); }

void ProgressBar::Push() {
  if (!Peer()) return;
  // The common control counts in 32-bit integers; large byte counts are scaled to its range.
  constexpr double kSteps = 10000.0;
  double span = max_ - min_;
  int position = span > 0 ? static_cast<int>(std::lround((value_ - min_) / span * kSteps)) : 0;
  Peer()->SetRange(0, static_cast<int>(kSteps));
  Peer()->SetValue(position);
}

}  // namespace nullora::ui
