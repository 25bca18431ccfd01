#pragma once

#include "ui/controls/control.h"

namespace nullora::ui {

// A progress bar. Values outside Min..Max are held at the nearer end instead of failing, so a
// routine that sets the value before the maximum never stops on it.
class ProgressBar : public Control {
 public:
  ProgressBar(Form& form, Control* container, std::string name)
      : Control(form, container, std::move(name), platform::WidgetKind::ProgressBar) {}

  double Min() const { return min_; }
  double Max() const { return max_; }
  double Value() const { return value_; }
  void SetMin(double minimum);
  void SetMax(double maximum);
  void SetValue(double value);

 protected:
  void SyncPeer() override;
  void PushPending() override;

 private:
  void Push();
  int DrawnPosition() const;

  double min_ = 0;
  double max_ = 100;
  double value_ = 0;
  int pushedPosition_ = -1;  // what the widget shows, in its own steps; -1: nothing sent yet
};

}  // namespace nullora::ui
