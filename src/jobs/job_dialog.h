// The shape every wipe job dialog shares: a confirmation view and, in the same place, a progress view;
// a Stop button that becomes Exit; the Options button; the engine object whose events drive progress.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "engine/gutmann.h"
#include "engine/progress.h"
#include "engine/storage_note.h"
#include "engine/wipe_result.h"
#include "ui/controls/command_button.h"
#include "ui/controls/form.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/text_box.h"

namespace nullora {

class JobDialog : public ui::Form {
 public:
  enum class State { Confirm, Wiping, Done };

  JobDialog(std::string name, std::string caption);

  State CurrentState() const { return state_; }
  // The final status the job ended with, without the note that may stand under it.
  const std::string& FinalStatus() const { return finalStatus_; }
  // Whether a file or the free space the job overwrote lies where older copies may survive.
  bool StorageNoteNeeded() const { return storageNote_.Needed(); }

  // Opens the wipe options dialog; set by start-up once that dialog exists.
  std::function<void()> ShowOptionsDialog;

  // The controls, named as the dialogs name them.
  ui::Frame Frame1;
  ui::PictureBox Image1;
  ui::Label Label1;
  ui::Label Label2;
  ui::CommandButton cmdYes;
  ui::CommandButton cmdCancel;
  ui::CommandButton cmdOptions;
  ui::Frame Frame2;
  ui::PictureBox Image2;
  ui::TextBox lblLocation;
  ui::ProgressBar ProgressBar1;
  ui::Label lblscheme;
  ui::Label lblOptions;
  ui::CommandButton Command6;

  Gutmann GM;
  // What the wipe routines report through: the progress bar and the status label of the progress view.
  ControlProgress Progress{&ProgressBar1, &lblscheme};

  // Reads the wipe options afresh (each job has its own OpPasses default) and shows them.
  void LoadOptions();
  // "Scheme : <name>.  Passes: <n>." in lblOptions.
  void PrintOptions();
  // Runs the loaded scheme on one file; nullopt when the stored scheme is none of the five.
  std::optional<WipeResult> RunScheme(const std::string& path);

 protected:
  void Form_Load() override;
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override;

  // What each job differs in.
  virtual std::string ConfirmText() const = 0;
  virtual std::string LocationText() const = 0;
  virtual int16_t PassesDefault() const = 0;
  // The wipe after "Yes"; runs inside the click and ends in the Done state.
  virtual void RunWipe() = 0;

  // The common end of every job: the final status, the location cleared, Stop turned into Exit. When the
  // job overwrote something where older copies may survive, a line under the status says so.
  void FinishJob(const std::string& status);

  // What the job overwrote, for the line on storage that no overwrite fully reaches.
  StorageNote storageNote_;

  void cmdYes_Click();
  void cmdCancel_Click();
  void cmdOptions_Click();
  void Command6_Click();
  virtual void GM_Progress(uint8_t bytPassProg, uint8_t pass);

 private:
  State state_ = State::Confirm;
  std::string finalStatus_;
};

}  // namespace nullora
