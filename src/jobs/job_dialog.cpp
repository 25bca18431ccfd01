#include "jobs/job_dialog.h"

#include "engine/gutmann_patterns.h"
#include "engine/progress_text.h"
#include "engine/scheme_wipe.h"
#include "engine/wipe_scheme.h"
#include "platform/resource_ids.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "ui/controls/application.h"

namespace nullora {

namespace {
// The window shows the confirmation view only; the progress view waits below it until "Yes".
constexpr int kDialogWidth = 7050;
constexpr int kDialogHeight = 2800;
constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 60;
constexpr int kFrameWidth = 6720;
constexpr int kFrameHeight = 2160;
// What the progress view grows by to show the note on storage an overwrite may not fully reach.
constexpr int kNoteGrowth = 480;
}  // namespace

JobDialog::JobDialog(std::string name, std::string caption)
    : ui::Form(std::move(name)),
      Frame1(*this, nullptr, "Frame1"),
      Image1(*this, &Frame1, "Image1", platform::kJobPicture1),
      Label1(*this, &Frame1, "Label1"),
      Label2(*this, &Frame1, "Label2"),
      cmdYes(*this, &Frame1, "cmdYes"),
      cmdCancel(*this, &Frame1, "cmdCancel"),
      cmdOptions(*this, &Frame1, "cmdOptions"),
      Frame2(*this, nullptr, "Frame2"),
      Image2(*this, &Frame2, "Image2", platform::kJobPicture2),
      lblLocation(*this, &Frame2, "lblLocation"),
      ProgressBar1(*this, &Frame2, "ProgressBar1"),
      lblscheme(*this, &Frame2, "lblscheme"),
      lblOptions(*this, &Frame2, "lblOptions"),
      Command6(*this, &Frame2, "Command6") {
  SetCaption(caption);
  Frame1.Move(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight);
  Image1.Move(180, 300, 480, 480);
  Label1.Move(840, 300, 5700, 720);
  Label2.Move(840, 1080, 4000, 255);
  Label2.SetCaption("Continue this operation?");
  cmdYes.Move(2280, 1560, 1335, 375);
  cmdYes.SetCaption("Yes");
  cmdYes.SetDefault(true);
  cmdCancel.Move(3720, 1560, 1335, 375);
  cmdCancel.SetCaption("Cancel");
  cmdCancel.SetCancel(true);
  cmdOptions.Move(5160, 1560, 1335, 375);
  cmdOptions.SetCaption("Options");

  Frame2.Move(kFrameLeft, kFrameTop + kFrameHeight + 120, kFrameWidth, kFrameHeight);
  Frame2.SetVisible(false);
  Image2.Move(180, 300, 480, 480);
  lblLocation.Move(840, 300, 5700, 315);
  lblLocation.SetLocked(true);
  ProgressBar1.Move(840, 720, 5700, 255);
  // Room for three lines: an outcome that says what was left and why is longer than "Done".
  lblscheme.Move(840, 1020, 5700, 600);
  lblOptions.Move(840, 1680, 4300, 255);
  Command6.Move(5160, 1620, 1335, 375);
  Command6.SetCaption("Stop");
  // A routine may report every block of a large file: the screen follows at most every breath.
  for (ui::Control* control : std::initializer_list<ui::Control*>{&ProgressBar1, &lblscheme, &lblLocation}) {
    control->SetPaintThrottled(true);
  }
  GM.progress = &Progress;

  cmdYes.Click = [this] { cmdYes_Click(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
  cmdOptions.Click = [this] { cmdOptions_Click(); };
  Command6.Click = [this] { Command6_Click(); };
  GM.Progress = [this](uint8_t percent, uint8_t pass) { GM_Progress(percent, pass); };
}

void JobDialog::Form_Load() {
  // The pictures are transparent around their drawing: their boxes take the window's colour too.
  const std::initializer_list<ui::Control*> painted{&Frame1,      &Frame2,    &Label1, &Label2, &lblOptions,
                                                    &lblLocation, &lblscheme, &Image1, &Image2};
  for (ui::Control* control : painted) control->SetBackColor(ui::kWindowBackColor);
  SetBackColor(ui::kWindowBackColor);
  lblscheme.SetCaption("");
  lblLocation.SetText("");
  lblOptions.SetCaption("");
  SetSize(kDialogWidth, kDialogHeight);
  Label1.SetCaption(ConfirmText());
  // Until an options dialog is attached the button would do nothing.
  cmdOptions.SetEnabled(static_cast<bool>(ShowOptionsDialog));
}

void JobDialog::Form_QueryUnload(bool& cancel, ui::UnloadMode mode) {
  (void)cancel;
  // Closing the window in the middle of a wipe is the Stop button: the wipe must not go on behind a
  // window that is gone.
  if (state_ == State::Wiping && mode == ui::UnloadMode::FormControlMenu) Command6_Click();
}

void JobDialog::LoadOptions() {
  LoadWipeOptions(PassesDefault());
  PrintOptions();
}

void JobDialog::PrintOptions() {
  std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  std::string name = scheme ? SchemeJobName(*scheme) : "";
  lblOptions.SetCaption("Scheme : " + name + "." +
                        "  Passes: " + std::to_string(ShownPasses(scheme, WipeOptions.OpPasses)) + ".");
}

std::optional<WipeResult> JobDialog::RunScheme(const std::string& path) {
  std::optional<WipeScheme> scheme = SchemeFromText(WipeOptions.OpMethod);
  if (!scheme) return std::nullopt;
  WipeResult result = WipeWithScheme(path, *scheme, WipeOptions.OpPasses, &Progress, &GM);
  storageNote_.Wiped(path, *scheme, result);
  return result;
}

void JobDialog::cmdYes_Click() {
  if (state_ != State::Confirm) return;
  state_ = State::Wiping;
  storageNote_ = {};
  Frame1.SetVisible(false);
  Frame2.Move(Frame1.Left(), Frame1.Top());
  Frame2.SetVisible(true);
  lblLocation.SetText(LocationText());
  // Some routines never yield while they write: paint the progress view before the wipe starts.
  Refresh();
  RunWipe();
}

void JobDialog::FinishJob(const std::string& status) {
  finalStatus_ = status;
  if (storageNote_.Needed()) {
    // The note takes three lines more than the status: the view grows to hold them.
    lblscheme.Move(lblscheme.Left(), lblscheme.Top(), lblscheme.Width(), lblscheme.Height() + kNoteGrowth);
    for (ui::Control* below : std::initializer_list<ui::Control*>{&lblOptions, &Command6}) {
      below->Move(below->Left(), below->Top() + kNoteGrowth);
    }
    Frame2.Move(Frame2.Left(), Frame2.Top(), Frame2.Width(), Frame2.Height() + kNoteGrowth);
    SetSize(Width(), Height() + kNoteGrowth);
  }
  lblscheme.SetCaption(storageNote_.Needed() ? status + "\r\n" + kStorageNoteText : status);
  lblscheme.Refresh();
  lblLocation.SetText("");
  Command6.SetCaption("&Exit");
  Command6.Refresh();
  state_ = State::Done;
}

void JobDialog::cmdCancel_Click() {
  Unload();
}

void JobDialog::cmdOptions_Click() {
  if (ShowOptionsDialog) ShowOptionsDialog();
}

void JobDialog::Command6_Click() {
  ui::End();
}

void JobDialog::GM_Progress(uint8_t bytPassProg, uint8_t pass) {
  (void)bytPassProg;
  // The Gutmann scheme always runs its 35 passes, whatever the stored pass count says.
  lblscheme.SetCaption(OverwritingText(pass, kGutmannPasses));
  ProgressBar1.SetValue(static_cast<float>(pass * 100.0 / kGutmannPasses));
}

}  // namespace nullora
