// The wipe options dialog: the scheme, the passes, renaming, random data and the read-back, saved to the
// settings store. Opened from the main window and from every job dialog's "Options" button.
#pragma once

#include <functional>
#include <string>

#include "ui/controls/check_box.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/form.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/text_box.h"
#include "ui/tip_pane.h"

namespace nullora {

// The entries of the scheme list, by WipeScheme index.
inline constexpr const char* kSchemeEntries[] = {"One Random Pass", "U.S DoD 5200,28-STD", "Gutmann",
                                                 "Custom", "Delete Only (Not overwriting files)"};

// Opens the help file maximized, as the options dialog's Help does.
void OpenHelpFile();

class fOptions : public ui::Form {
 public:
  fOptions();

  ui::Label L1;
  ui::ComboBox cmbSchemes;
  ui::Frame Frame1;
  ui::Label L2;
  ui::TextBox txtPasses;
  ui::CheckBox chkRename;
  ui::CheckBox chkRandom;
  ui::CheckBox chkVerify;
  ui::CommandButton cmdOk;
  ui::CommandButton cmdCancel;
  ui::CommandButton cmdApply;
  ui::CommandButton Command1;
  ui::PictureBox Image1;
  TipPane Tips;

  // Where OK and Cancel go back to: the main window when it opened the dialog. Opened from a job
  // dialog, OK and Cancel only close it: the job is not to be disturbed in its wipe.
  std::function<void()> ReturnToMain;

  void LoadOptions();
  // False, with the reason told to the user, when the passes are no count the scheme can use; nothing
  // is saved then.
  bool SaveOptions();
  // The reason the passes text cannot be saved with `scheme`, or "" when it can.
  static std::string PassesProblem(const std::string& passesText, int scheme);

 protected:
  void Form_Load() override;
  void Form_Paint() override;
  void Form_Help() override { OpenHelpFile(); }

 private:
  void cmbSchemes_Click();
  void cmdOk_Click();
  void cmdCancel_Click();
  void cmdApply_Click();
  void Command1_Click();
  void Close();
};

}  // namespace nullora
