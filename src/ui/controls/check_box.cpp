#include "ui/controls/check_box.h"

#include <algorithm>

namespace nullora::ui {

void CheckBox::SetValue(int value) {
  value = std::clamp(value, kUnchecked, kGrayed);
  if (value == value_) return;
  value_ = value;
  if (Peer()) Peer()->SetValue(value_);
  if (Click) Click();
}

void CheckBox::SyncPeer() {
  CaptionedControl::SyncPeer();
  Peer()->SetValue(value_);
}

void CheckBox::OnUserClick() {
  if (!Enabled() || !Visible()) return;
  // SetValue pushes the new value back, so the widget ends up showing what is held here, whatever its
  // own click handling did.
  SetValue(value_ == kUnchecked ? kChecked : kUnchecked);
}

}  // namespace nullora::ui
