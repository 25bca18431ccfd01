// The tip pane of the main window and of the options dialog: a picture box holding "Did you know...",
// the tip itself and "Nullora Tips:".
#pragma once

#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"

namespace nullora {

struct TipPane {
  TipPane(ui::Form& form, int left, int top, int width, int height);
  // Shows a random tip of the tip file, or the message that tells how to make one.
  void Fill();

  ui::PictureBox Picture1;
  ui::Label Label2;  // "Nullora Tips:"
  ui::Label Label1;  // "Did you know..."
  ui::Label lblTipText;
};

}  // namespace nullora
