#pragma once

#include "ui/controls/control.h"

namespace nullora::ui {

class Label : public CaptionedControl {
 public:
  Label(Form& form, Control* container, std::string name)
      : CaptionedControl(form, container, std::move(name), platform::WidgetKind::Label) {}
  // Set before the window is made.
  void SetOneLine(bool oneLine) { Style().oneLine = oneLine; }
};

}  // namespace nullora::ui
