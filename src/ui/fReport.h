// What a clean would remove, before anything is removed, and what the last clean did: one window, a line
// per item and a line of totals. A preview is counted while the window shows, can be stopped, and changes
// nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cleaner/modClean.h"
#include "ui/controls/command_button.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/text_box.h"

namespace nullora {

inline constexpr char kPreviewCaption[] = "Nullora - Preview";
inline constexpr char kReportCaption[] = "Nullora - Clean Report";

class fReport : public ui::Form {
 public:
  fReport();

  ui::Label lblStatus;  // the item being counted, then what the lines are
  ui::ProgressBar ProgressBar1;
  ui::Label lblFile;  // the file being looked at
  ui::ProgressBar ProgressBar2;
  ui::Label lblHidden;
  ui::TextBox txtReport;
  ui::CommandButton cmdClose;  // "&Stop" while counting

  // Shows the window and counts a preview in it; returns what it counted (stopped when the user stopped
  // it or closed the window).
  CleanRunResult Preview();
  // Shows the report of a finished clean.
  void ShowReport(const std::vector<std::string>& lines);
  bool Previewing() const { return previewing_; }

 protected:
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override;

 private:
  void ShowLines(const std::vector<std::string>& lines);
  void ShowCounting(bool counting);  // the bar and the file's name, while counting
  void cmdClose_Click();
  bool previewing_ = false;
  bool closeAfterPreview_ = false;
};

}  // namespace nullora
