#include "ui/controls/option_button.h"

#include "ui/controls/form.h"

namespace nullora::ui {

void OptionButton::SetValue(bool value) {
  if (!value) {
    if (value_) Mark(false);
    return;
  }
  if (value_) return;
  for (Control* control : Owner().Controls()) {
    auto* other = dynamic_cast<OptionButton*>(control);
    if (other && other != this && other->Container() == Container() && other->value_) other->Mark(false);
  }
  Mark(true);
  if (Click) Click();
}

void OptionButton::Mark(bool value) {
  value_ = value;
  if (Peer()) Peer()->SetValue(value_ ? 1 : 0);
}

void OptionButton::SyncPeer() {
  CaptionedControl::SyncPeer();
  Peer()->SetValue(value_ ? 1 : 0);
}

void OptionButton::OnUserClick() {
  if (Enabled() && Visible()) SetValue(true);
}

OptionButtonArray::OptionButtonArray(Form& form, Control* container, const std::string& name, int count) {
  for (int index = 0; index < count; ++index) {
    buttons_.push_back(std::make_unique<OptionButton>(form, container, name, index));
    buttons_.back()->Click = [this, index] {
      if (Click) Click(index);
    };
  }
}

int OptionButtonArray::Selected() const {
  for (const auto& button : buttons_) {
    if (button->Value()) return button->Index();
  }
  return OptionButton::kNoIndex;
}

}  // namespace nullora::ui
