// The main window: which traces the cleaner removes (a tree of nine items in two groups), the schedule,
// run at logon, the wipe options, help and support, and a tip. It stays loaded, shown or hidden in the
// tray, for as long as the program runs without a job.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/check_box.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/form.h"
#include "ui/controls/frame.h"
#include "ui/controls/image_list.h"
#include "ui/controls/label.h"
#include "ui/controls/line.h"
#include "ui/controls/menu.h"
#include "ui/controls/option_button.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/progress_bar.h"
#include "ui/controls/timer.h"
#include "ui/controls/tray_icon.h"
#include "ui/controls/tree_view.h"
#include "ui/scheduler.h"
#include "ui/tip_pane.h"

namespace nullora {

class fOptions;
class fInfo;
class fInfo2;
class fReport;
struct Browser;

// "1201PM" from what the three time boxes say, or "" when they do not make a time: an hour 1 to 12, a
// minute 0 to 59 (one or two digits each) and AM or PM in any case, blanks around each ignored.
std::string DailyTimeText(const std::string& hour, const std::string& minute, const std::string& amOrPm);

class fSettings : public ui::Form {
 public:
  fSettings(fOptions& options, fInfo& info, fInfo2& warning, ui::Form& cookieKeep);
  ~fSettings() override;
  fReport& Report();

  ui::TreeView TreeView1;
  ui::ImageList ImageList1{"ImageList1"};
  ui::Frame Frame1;
  ui::CheckBox Check1;
  // Which sites' cookies the browsers' Cookies items keep.
  ui::CommandButton cmdCookies;
  ui::CommandButton cmdOptions;
  ui::CommandButton cmdOk;
  ui::CommandButton cmdHelp;
  ui::CommandButton cmdSupport;
  ui::CommandButton cmdEmailSupport;
  ui::Frame Frame4;
  ui::CommandButton CmdClean;
  ui::CommandButton cmdPreview;
  ui::CommandButton cmdDetails;
  ui::Label LblProgress;
  ui::ProgressBar ProgressBar1;
  ui::Label lblProgress2;
  ui::ProgressBar ProgressBar2;
  ui::Label lblProgress3;
  // After a run that left something: what and why, item by item, where the file's progress shows
  // during a run (the run's last line is longer than LblProgress can show).
  ui::Label lblCleanOutcome;
  ui::Frame Frame2;
  ui::OptionButtonArray Option1;
  ui::ComboBox cboHour;
  ui::ComboBox CboMinute;
  ui::ComboBox cboAMorPM;
  ui::Timer Timer1;
  ui::PictureBox Image1;
  ui::Line Line1;
  TipPane Tips;
  ui::Menu mPopupSys{"mPopupSys", "&systray"};
  ui::MenuItem& mnuNullora;
  ui::MenuItem& mPopRestore;
  ui::MenuItem& mPopExit;
  ui::TrayIcon Tray;

  // The schedule's memory between ticks.
  ScheduleState Schedule;
  bool CleanRunning() const { return running_; }

  void ChangeGroupSettings(int NodeIndex, bool NodeChecked);
  void ReadTreeChecks();
  void ShowTreeChecks();
  void EnableDailyTime();
  void GotoURL(const std::string& URL);

  // The tray menu's Exit: the main window unloads once the menu and the icon's window procedure have
  // returned, never from inside them, and once a clean run in progress has stopped at its next file.
  void RequestExit();
  // One clean run at a time: a run asked for while one goes on waits until it ends. The controls of a
  // manual run are disabled during any run.
  void RunExclusive(bool background);
  // A tick of Timer1.
  void Timer1_Timer();

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Paint() override;
  void Form_Unload(bool& cancel) override;
  void Form_QueryUnload(bool& cancel, ui::UnloadMode mode) override;
  void Form_QueryEndSession(bool closeApp) override;
  void Form_EndSession(bool ending, bool closeApp) override;
  void Form_ShowRequest() override;
  void Form_Help() override { cmdHelp_Click(); }

 private:
  void cmdOk_Click();
  void Check1_Click();
  void Option1_Click(int index);
  void DailyTime_Change();
  void TreeView1_NodeCheck(ui::Node& node);
  void cmdOptions_Click();
  void cmdHelp_Click();
  void cmdSupport_Click();
  void cmdEmailSupport_Click();
  void CmdClean_Click();
  void cmdPreview_Click();
  void cmdDetails_Click();
  // After a run or a preview: the controls back, and the window's end when it was asked for meanwhile
  // (then true).
  bool EndExclusive();
  void SetRunControlsEnabled(bool enabled);
  void AddBrowserNodes();
  void ShowOutcomeDetail(const std::string& outcome);

  fOptions& options_;
  fInfo& info_;
  fInfo2& warning_;
  ui::Form& cookieKeep_;
  bool toldRunAtLogonRefused_ = false;
  bool syncingRunAtLogon_ = false;
  std::vector<const Browser*> shownBrowsers_;
  bool running_ = false;
  bool runPending_ = false;
  bool exitAfterRun_ = false;
  bool loadingTime_ = false;
  std::unique_ptr<fReport> report_;      // the preview's and the report's window
  std::vector<std::string> lastReport_;  // of the last clean, manual or scheduled
};

}  // namespace nullora
