#include "ui/fReport.h"

#include <utility>

#include "ui/controls/application.h"

namespace nullora {

fReport::fReport()
    : ui::Form("fReport"),
      lblStatus(*this, nullptr, "lblStatus"),
      ProgressBar1(*this, nullptr, "ProgressBar1"),
      lblFile(*this, nullptr, "lblFile"),
      ProgressBar2(*this, nullptr, "ProgressBar2"),
      lblHidden(*this, nullptr, "lblHidden"),
      txtReport(*this, nullptr, "txtReport"),
      cmdClose(*this, nullptr, "cmdClose") {
  SetCaption(kPreviewCaption);
  SetSize(8400, 5400);
  SetBackColor(ui::kWindowBackColor);
  lblStatus.Move(180, 120, 7920, 255);
  lblStatus.SetBackColor(ui::kWindowBackColor);
  lblStatus.SetOneLine(true);
  ProgressBar1.Move(180, 420, 7920, 195);
  lblFile.Move(180, 660, 7920, 255);
  lblFile.SetBackColor(ui::kWindowBackColor);
  lblFile.SetOneLine(true);
  // The file's own progress means nothing while only counting; the run's view needs one all the same.
  ProgressBar2.SetVisible(false);
  lblHidden.SetVisible(false);
  txtReport.SetMultiLine(true);
  txtReport.SetLocked(true);
  txtReport.Move(180, 960, 7920, 3480);
  cmdClose.Move(6765, 4560, 1335, 375);
  cmdClose.SetCaption("Close");
  cmdClose.SetCancel(true);
  // The file being looked at changes faster than anyone reads it: the screen follows at most every breath.
  for (ui::Control* control : std::initializer_list<ui::Control*>{&ProgressBar1, &lblFile})
    control->SetPaintThrottled(true);
  cmdClose.Click = [this] { cmdClose_Click(); };
}

CleanRunResult fReport::Preview() {
  SetCaption(kPreviewCaption);
  txtReport.SetText("");
  lblStatus.SetCaption("Counting what a clean would remove...");
  lblFile.SetCaption("");
  ProgressBar1.SetValue(0);
  ShowCounting(true);
  cmdClose.SetCaption("&Stop");
  previewing_ = true;
  closeAfterPreview_ = false;
  Show();
  ui::DoEvents();
  CleanView view{ProgressBar1, lblStatus, ProgressBar2, lblHidden, lblFile, nullptr};
  CleanRunResult run = PreviewClean(view);
  previewing_ = false;
  cmdClose.SetCaption("Close");
  if (std::exchange(closeAfterPreview_, false)) {
    Unload();
    return run;
  }
  lblStatus.SetCaption(run.stopped
                           ? "The preview was stopped; what it counted until then:"
                           : "What a clean of the ticked items would remove (nothing has been changed):");
  ShowLines(CleanReportLines(run, true));
  return run;
}

void fReport::ShowReport(const std::vector<std::string>& lines) {
  SetCaption(kReportCaption);
  lblStatus.SetCaption("What the last clean did:");
  ShowLines(lines);
  Show();
}

void fReport::ShowLines(const std::vector<std::string>& lines) {
  ShowCounting(false);
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  txtReport.SetText(text);
}

void fReport::ShowCounting(bool counting) {
  for (ui::Control* control : std::initializer_list<ui::Control*>{&ProgressBar1, &lblFile})
    control->SetVisible(counting);
}

void fReport::cmdClose_Click() {
  if (previewing_) {
    StopCleanRun();
    return;
  }
  Unload();
}

void fReport::Form_QueryUnload(bool& cancel, ui::UnloadMode mode) {
  (void)mode;
  // Closed while counting: the count stops at its next file, and then the window goes.
  if (previewing_) {
    cancel = true;
    closeAfterPreview_ = true;
    StopCleanRun();
  }
}

}  // namespace nullora
