// The domains whose cookies a clean keeps, edited in a small dialog from the main window: one domain a
// line here, stored ";"-separated. A domain keeps the cookies of its own host and of every host below it.
#pragma once

#include "ui/controls/command_button.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/text_box.h"

namespace nullora {

class fCookieKeep : public ui::Form {
 public:
  fCookieKeep();

  ui::Label Label1;
  ui::TextBox txtDomains;
  ui::CommandButton cmdOk;
  ui::CommandButton cmdCancel;

 protected:
  void Form_Load() override;

 private:
  void cmdOk_Click();
};

}  // namespace nullora
