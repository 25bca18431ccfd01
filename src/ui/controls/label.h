#pragma once

#include "ui/controls/control.h"

namespace nullora::ui {

class Label : public CaptionedControl {
 public:
  Label(Form& form, Control* container, std::string name)
      : CaptionedControl(form, container, std::move(name), platform::WidgetKind::Label) {}
};

}  // namespace nullora::ui
