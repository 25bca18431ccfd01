// The notice that the program keeps running in the tray on its schedule; it goes by itself after eight
// seconds.
#pragma once

#include "ui/controls/check_box.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/timer.h"

namespace nullora {

class fInfo : public ui::Form {
 public:
  fInfo();

  ui::Label Label1;
  ui::CheckBox Check1;
  ui::Label Label2;
  ui::Timer Timer1;
};

}  // namespace nullora
