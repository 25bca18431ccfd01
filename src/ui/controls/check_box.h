#pragma once

#include <functional>

#include "ui/controls/control.h"

namespace nullora::ui {

inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// A check box. Its Click means "the value changed", whoever changed it: code that sets Value raises it
// too, which the windows rely on to keep dependent controls in step.
class CheckBox : public CaptionedControl {
 public:
  CheckBox(Form& form, Control* container, std::string name)
      : CaptionedControl(form, container, std::move(name), platform::WidgetKind::CheckBox) {}

  int Value() const { return value_; }
  // kUnchecked, kChecked or kGrayed; anything else is held to the nearer one. Raises Click on a change.
  void SetValue(int value);

  // What a user's click does: unchecked becomes checked, checked or grayed becomes unchecked.
  void UserClick() { OnUserClick(); }

  std::function<void()> Click;

 protected:
  void SyncPeer() override;
  void OnUserClick() override;

 private:
  int value_ = kUnchecked;
};

}  // namespace nullora::ui
