#pragma once

#include "ui/controls/control.h"

namespace nullora::ui {

// A decorative etched line between groups of controls; it hears nothing.
class Line : public Control {
 public:
  Line(Form& form, Control* container, std::string name)
      : Control(form, container, std::move(name), platform::WidgetKind::Line) {}
};

}  // namespace nullora::ui
