#pragma once

#include "ui/controls/control.h"

namespace nullora::ui {

// A picture from the resources (Image and PictureBox alike); a PictureBox may hold other controls.
class PictureBox : public Control {
 public:
  PictureBox(Form& form, Control* container, std::string name, int resourceId = 0)
      : Control(form, container, std::move(name), platform::WidgetKind::PictureBox), resourceId_(resourceId) {
    Style().resourceId = resourceId;
  }
  int ResourceId() const { return resourceId_; }
  // The toolkit's Picture = other.Picture.
  void SetPicture(int resourceId) {
    resourceId_ = resourceId;
    if (Peer()) Peer()->SetPicture(resourceId);
  }

 private:
  int resourceId_;
};

}  // namespace nullora::ui
