#include "ui/fInfo.h"

#include "shared/settings_store.h"

namespace nullora {

fInfo::fInfo()
    : ui::Form("fInfo"),
      Label1(*this, nullptr, "Label1"),
      Check1(*this, nullptr, "Check1"),
      Label2(*this, nullptr, "Label2"),
      Timer1(*this, "Timer1") {
  SetCaption("Nullora Running on Automatic...");
  SetSize(5400, 2160);
  SetBackColor(ui::kWindowBackColor);
  Label1.Move(180, 180, 4920, 1080);
  Label1.SetBackColor(ui::kWindowBackColor);
  Label1.SetCaption(
      "As Nullora is configured to run in Automatic Mode. It will continue running in the task bar.  "
      "Right-Click on the icon to Exit the utility completely (and cancel automatic actions for this "
      "session)");
  // Only the box shows: its caption is cut off by its width.
  Check1.Move(180, 1350, 255, 255);
  Check1.SetCaption("Don't tell me again.");
  Check1.SetBackColor(ui::kWindowBackColor);
  Label2.Move(480, 1365, 3000, 255);
  Label2.SetBackColor(ui::kWindowBackColor);
  Label2.SetCaption("Don't Tell me this again");
  Timer1.SetInterval(8000);
  Timer1.OnTimer = [this] { Unload(); };
  // Counts from the next start of the program: the notice in this run keeps coming.
  Check1.Click = [this] { SaveSetting("OpShowInfoDialog1", std::to_string(Check1.Value())); };
}

}  // namespace nullora
