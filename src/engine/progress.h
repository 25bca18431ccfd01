// How a long routine reports while it works: what it is doing, how far it is, and that it is alive.
// The file wipes, the free-space wipe and the directory walk report through it; each front end (a job
// dialog, the main window, a test) decides how often its screen is touched.
#pragma once

#include <cstdint>
#include <string>

namespace nullora {

namespace ui {
class Label;
class ProgressBar;
}  // namespace ui

class WipeProgress {
 public:
  virtual ~WipeProgress() = default;
  // The running status ("Overwriting ... 3 of 7"), shown at once.
  virtual void Status(const std::string& text) = 0;
  virtual void SetMax(double maximum) = 0;
  virtual void SetValue(double value) = 0;
  // Called often while the routine writes (every block or chunk) wherever it may not yield: the
  // window may repaint and answer the system, but takes no input.
  virtual void Breathe() = 0;
  // Where the routine lets the event loop run, the user's clicks included.
  virtual void Yield() = 0;
};

// The progress of a routine nobody watches: nothing is shown, but windows still breathe and the event
// loop still runs where the routine yields.
WipeProgress& SilentProgress();
inline WipeProgress& ReporterOf(WipeProgress* progress) {
  return progress ? *progress : SilentProgress();
}

// A fixed pause of `ms` milliseconds that yields nothing, taken in short slices with a breath between
// them, so that the window still paints.
void PauseBreathing(WipeProgress& progress, uint32_t ms);

// Reports into a form's progress bar and status label (either may be null): the label repainted at
// each status, the bar drawn as the controls see fit, breaths and yields through the application.
class ControlProgress : public WipeProgress {
 public:
  ControlProgress(ui::ProgressBar* bar, ui::Label* label) : bar_(bar), label_(label) {}
  void Status(const std::string& text) override;
  void SetMax(double maximum) override;
  void SetValue(double value) override;
  void Breathe() override;
  void Yield() override;

 private:
  ui::ProgressBar* bar_;
  ui::Label* label_;
};

}  // namespace nullora
