#pragma once

#include <functional>

#include "ui/controls/control.h"

namespace nullora::ui {

class CommandButton : public CaptionedControl {
 public:
  CommandButton(Form& form, Control* container, std::string name)
      : CaptionedControl(form, container, std::move(name), platform::WidgetKind::CommandButton) {}

  void SetDefault(bool isDefault) { Style().isDefault = isDefault; }
  void SetCancel(bool isCancel) { Style().isCancel = isCancel; }

  // What a user's click does; ignored while the button is disabled or hidden, as on screen.
  void UserClick() { OnUserClick(); }

  std::function<void()> Click;

 protected:
  void OnUserClick() override {
    if (Enabled() && Visible() && Click) Click();
  }
};

}  // namespace nullora::ui
