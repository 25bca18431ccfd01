#pragma once

#include "ui/controls/control.h"

namespace nullora::ui {

// A captioned group box that holds other controls; hiding it hides what it holds.
class Frame : public CaptionedControl {
 public:
  Frame(Form& form, Control* container, std::string name)
      : CaptionedControl(form, container, std::move(name), platform::WidgetKind::Frame) {}
};

}  // namespace nullora::ui
