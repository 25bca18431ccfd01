#include "cleaner/fInfo2.h"

#include "shared/records.h"
#include "shared/settings_store.h"

namespace nullora {

fInfo2::fInfo2()
    : ui::Form("fInfo2"),
      Label1(*this, nullptr, "Label1"),
      Check1(*this, nullptr, "Check1"),
      Label2(*this, nullptr, "Label2"),
      cmdYes(*this, nullptr, "cmdYes"),
      cmdNo(*this, nullptr, "cmdNo") {
  SetCaption("Nullora - Warning");
  SetSize(5400, 2520);
  SetBackColor(ui::kWindowBackColor);
  Label1.Move(180, 180, 4920, 900);
  Label1.SetBackColor(ui::kWindowBackColor);
  Label1.SetCaption(
      "Warning - It may take some time to run this process.  Also make sure all        browser windows are "
      "closed.    Are you sure you want to proceed?");
  // Only the box shows: its caption is cut off by its width.
  Check1.Move(180, 1200, 255, 255);
  Check1.SetCaption("Don't tell me again.");
  Check1.SetBackColor(ui::kWindowBackColor);
  Label2.Move(480, 1215, 3000, 255);
  Label2.SetBackColor(ui::kWindowBackColor);
  Label2.SetCaption("Don't warn me again.");
  cmdYes.Move(2160, 1560, 1335, 375);
  cmdYes.SetCaption("Continue");
  cmdYes.SetDefault(true);
  cmdNo.Move(3600, 1560, 1335, 375);
  cmdNo.SetCaption("Cancel");
  cmdNo.SetCancel(true);

  Check1.Click = [this] {
    SaveSetting("OpShowInfoDialog2", std::to_string(Check1.Value()));
    AppSettings.ShowInfoDialog2 = static_cast<int16_t>(Check1.Value());
  };
  cmdYes.Click = [this] {
    ProceedWithClean = true;
    Unload();
  };
  cmdNo.Click = [this] {
    ProceedWithClean = false;
    Unload();
  };
}

}  // namespace nullora
