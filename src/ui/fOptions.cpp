#include "ui/fOptions.h"

#include "platform/platform.h"
#include "platform/resource_ids.h"
#include "platform/widgets.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "ui/shell_tray.h"

namespace nullora {

namespace {

constexpr int kShowMaximized = 3;  // SW_SHOWMAXIMIZED
constexpr int kPassesLimit = 32767;

// The row of the scheme table: passes proposed (nullptr: the box is emptied), and what is enabled.
struct SchemeRow {
  const char* passes;
  bool passesEnabled;
  bool renameEnabled;
  bool randomEnabled;
  bool verifyEnabled;  // Delete Only writes nothing that could be read back
};
constexpr SchemeRow kRows[] = {
    {"1", false, true, true, true},    {"7", false, true, true, true},   {"35", false, false, false, true},
    {nullptr, true, true, true, true}, {"0", false, true, false, false},
};

}  // namespace

void OpenHelpFile() {
  std::string directory = platform::ApplicationDirectory();
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  platform::ShellOpen(directory + "help.chm", "Open", "", kShowMaximized);
}

fOptions::fOptions()
    : ui::Form("fOptions"),
      L1(*this, nullptr, "L1"),
      cmbSchemes(*this, nullptr, "cmbSchemes", ui::ComboBoxStyle::DropDownList),
      Frame1(*this, nullptr, "Frame1"),
      L2(*this, &Frame1, "L2"),
      txtPasses(*this, &Frame1, "txtPasses"),
      chkRename(*this, &Frame1, "chkRename"),
      chkRandom(*this, &Frame1, "chkRandom"),
      chkVerify(*this, &Frame1, "chkVerify"),
      cmdOk(*this, nullptr, "cmdOk"),
      cmdCancel(*this, nullptr, "cmdCancel"),
      cmdApply(*this, nullptr, "cmdApply"),
      Command1(*this, nullptr, "Command1"),
      Image1(*this, nullptr, "Image1", platform::kJobPicture1),
      Tips(*this, 120, 2520, 6360, 1500) {
  SetCaption("Nullora");
  SetSize(6750, 4560);
  Image1.Move(180, 180, 480, 480);
  L1.Move(840, 240, 1500, 255);
  L1.SetCaption("Delete Scheme:");
  cmbSchemes.Move(2400, 180, 4080, 315);
  Frame1.Move(840, 660, 5640, 1140);
  L2.Move(180, 330, 900, 255);
  L2.SetCaption("Passes :");
  txtPasses.Move(1140, 270, 900, 315);
  chkRename.Move(2400, 270, 3000, 285);
  chkRename.SetCaption("Rename Files");
  chkRandom.Move(2400, 660, 3000, 285);
  chkRandom.SetCaption("Use Random Binary");
  chkVerify.Move(180, 660, 2160, 285);
  chkVerify.SetCaption("Verify after wiping");
  cmdOk.Move(840, 1980, 1335, 375);
  cmdOk.SetCaption("OK");
  cmdOk.SetDefault(true);
  cmdCancel.Move(2280, 1980, 1335, 375);
  cmdCancel.SetCaption("&Cancel");
  cmdCancel.SetCancel(true);
  cmdApply.Move(3720, 1980, 1335, 375);
  cmdApply.SetCaption("&Apply");
  Command1.Move(5160, 1980, 1335, 375);
  Command1.SetCaption("&Help");

  cmbSchemes.Click = [this] { cmbSchemes_Click(); };
  cmdOk.Click = [this] { cmdOk_Click(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
  cmdApply.Click = [this] { cmdApply_Click(); };
  Command1.Click = [this] { Command1_Click(); };
}

void fOptions::Form_Load() {
  cmbSchemes.Clear();
  for (const char* entry : kSchemeEntries) cmbSchemes.AddItem(entry);
  cmbSchemes.SetListIndex(0);
  SetBackColor(ui::kWindowBackColor);
  for (ui::Control* control :
       std::initializer_list<ui::Control*>{&Frame1, &L1, &L2, &chkRename, &chkRandom, &chkVerify, &Image1}) {
    control->SetBackColor(ui::kWindowBackColor);
  }
  LoadOptions();
  Tips.Fill();
}

void fOptions::Form_Paint() {
  TrayClicksEnabled = true;
}

void fOptions::cmbSchemes_Click() {
  const int index = cmbSchemes.ListIndex();
  if (index < 0 || index > 4) return;
  const SchemeRow& row = kRows[index];
  txtPasses.SetText(row.passes ? row.passes : "");
  txtPasses.SetEnabled(row.passesEnabled);
  chkRename.SetEnabled(row.renameEnabled);
  chkRandom.SetEnabled(row.randomEnabled);
  chkVerify.SetEnabled(row.verifyEnabled);
  if (row.passesEnabled && Visible() && txtPasses.Peer()) txtPasses.Peer()->SetFocus();
}

void fOptions::LoadOptions() {
  // A stored scheme that is none of the five (a hand-edited store) shows the default one.
  int scheme = ToInt16(GetSetting("OpMethod", "1"), 1);
  if (scheme < 0 || scheme > 4) scheme = 1;
  cmbSchemes.SetListIndex(-1);
  cmbSchemes.SetListIndex(scheme);
  chkRename.SetValue(ToInt16(GetSetting("OpRename", "0"), 0) != 0 ? ui::kChecked : ui::kUnchecked);
  chkRandom.SetValue(ToInt16(GetSetting("OpRandom", "0"), 0) != 0 ? ui::kChecked : ui::kUnchecked);
  chkVerify.SetValue(ToInt16(GetSetting("OpVerify", "0"), 0) != 0 ? ui::kChecked : ui::kUnchecked);
  txtPasses.SetText(Trim(GetSetting("OpPasses", "7")));
}

std::string fOptions::PassesProblem(const std::string& passesText, int scheme) {
  const std::string text = Trim(passesText);
  bool digits = !text.empty() && text.size() <= 5;
  for (char c : text) digits = digits && c >= '0' && c <= '9';
  const long passes = digits ? std::stol(text) : -1;
  // Delete Only proposes 0 and writes nothing anyway; every other scheme needs a pass at least, or
  // it would turn into a plain delete.
  const long least = scheme == 4 ? 0 : 1;
  if (passes < least || passes > kPassesLimit) {
    return "The number of passes must be a whole number from " + std::to_string(least) + " to " +
           std::to_string(kPassesLimit) + ". Nothing was saved.";
  }
  return {};
}

bool fOptions::SaveOptions() {
  if (Trim(txtPasses.Text()).empty()) txtPasses.SetText("1");
  const int scheme = cmbSchemes.ListIndex();
  if (std::string problem = PassesProblem(txtPasses.Text(), scheme); !problem.empty()) {
    platform::ShowMessage(problem, "Nullora");
    return false;
  }
  SaveSetting("OpMethod", std::to_string(scheme));
  SaveSetting("OpRename", chkRename.Value() == ui::kChecked ? "1" : "0");
  SaveSetting("OpRandom", chkRandom.Value() == ui::kChecked ? "1" : "0");
  SaveSetting("OpVerify", chkVerify.Value() == ui::kChecked ? "1" : "0");
  SaveSetting("OpPasses", Trim(txtPasses.Text()));
  LoadWipeOptions(1);
  return true;
}

void fOptions::cmdOk_Click() {
  SaveSetting("Show Tips at Startup", "1");
  if (!SaveOptions()) return;
  Close();
}

void fOptions::cmdCancel_Click() {
  Close();
}

void fOptions::cmdApply_Click() {
  SaveSetting("Show Tips at Startup", "1");
  SaveOptions();
}

void fOptions::Command1_Click() {
  OpenHelpFile();
}

void fOptions::Close() {
  // Taken before the unload: the window that opened the dialog decides where the user goes back to.
  std::function<void()> back = ReturnToMain;
  ReturnToMain = nullptr;
  Unload();
  if (back) back();
}

}  // namespace nullora
