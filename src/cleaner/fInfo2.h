// The warning before a manual clean run: it may take a while, and the browser should be closed.
#pragma once

#include <functional>
#include <utility>

#include "ui/controls/check_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"

namespace nullora {

// The answer of the warning. Only "Continue" says yes: a warning closed any other way (its close box,
// Esc) starts no destructive run.
inline bool ProceedWithClean = false;

class fInfo2 : public ui::Form {
 public:
  fInfo2();

  ui::Label Label1;
  ui::CheckBox Check1;
  ui::Label Label2;
  ui::CommandButton cmdYes;
  ui::CommandButton cmdNo;

  // Told when the warning goes, whichever way it went.
  std::function<void()> Closed;

 protected:
  void Form_Unload(bool& cancel) override {
    (void)cancel;
    if (auto closed = std::exchange(Closed, nullptr)) closed();
  }
};

}  // namespace nullora
