#include "ui/fSettings.h"

#include <cctype>
#include <string_view>
#include <utility>

#include "cleaner/browser_items.h"
#include "cleaner/fInfo2.h"
#include "cleaner/modClean.h"
#include "cleaner/windows_items.h"
#include "platform/platform.h"
#include "platform/resource_ids.h"
#include "platform/widgets.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "shared/support.h"
#include "shared/system_entries.h"
#include "ui/controls/application.h"
#include "ui/fInfo.h"
#include "ui/fOptions.h"
#include "ui/fReport.h"
#include "ui/shell_tray.h"

namespace nullora {

namespace {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
constexpr char kShutdownReason[] = "Nullora is cleaning up before Windows shuts down.";

// A whole number of at most two digits from `text` (blanks around it ignored), or -1.
int SmallNumber(const std::string& text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty() || trimmed.size() > 2) return -1;
  for (char c : trimmed) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
  }
  return std::stoi(trimmed);
}

// The twelve nodes of the tree: key, text, parent key, picture.
struct TreeRow {
  const char* key;
  const char* text;
  const char* parent;
  int picture;
};
constexpr TreeRow kTree[] = {
    {"key1", "My Computer", nullptr, 1},
    {"key2", "Windows", "key1", 2},
    {"key3", "Internet Explorer", "key1", 3},
    {"CleanKey1", "Recycle Bin", "key2", 4},
    {"CleanKey2", "Search History", "key2", 5},
    {"CleanKey3", "Temporary Files", "key2", 6},
    {"CleanKey4", "Recent Documents", "key2", 7},
    {"CleanKey5", "Cookies", "key3", 8},
    {"CleanKey6", "Temporary Internet Files", "key3", 9},
    {"CleanKey7", "URL History", "key3", 10},
    {"CleanKey8", "Autocomplete", "key3", 11},
    {"CleanKey9", "Index.dat Files", "key3", 7},
};

}  // namespace

std::string DailyTimeText(const std::string& hour, const std::string& minute, const std::string& amOrPm) {
  const int h = SmallNumber(hour);
  const int m = SmallNumber(minute);
  std::string half = Trim(amOrPm);
  for (char& c : half) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (h < 1 || h > 12 || m < 0 || m > 59 || (half != "AM" && half != "PM")) return {};
  return TwoDigits(h) + TwoDigits(m) + half;
}

fSettings::fSettings(fOptions& options, fInfo& info, fInfo2& warning, ui::Form& cookieKeep)
    : ui::Form("fSettings"),
      TreeView1(*this, nullptr, "TreeView1"),
      Frame1(*this, nullptr, "Frame1"),
      Check1(*this, &Frame1, "Check1"),
      cmdCookies(*this, &Frame1, "cmdCookies"),
      cmdOptions(*this, &Frame1, "cmdOptions"),
      cmdOk(*this, &Frame1, "cmdOk"),
      cmdHelp(*this, &Frame1, "cmdHelp"),
      cmdSupport(*this, &Frame1, "cmdSupport"),
      cmdEmailSupport(*this, &Frame1, "cmdEmailSupport"),
      Frame4(*this, nullptr, "Frame4"),
      CmdClean(*this, &Frame4, "CmdClean"),
      cmdPreview(*this, &Frame4, "cmdPreview"),
      cmdDetails(*this, &Frame4, "cmdDetails"),
      LblProgress(*this, &Frame4, "LblProgress"),
      ProgressBar1(*this, &Frame4, "ProgressBar1"),
      lblProgress2(*this, &Frame4, "lblProgress2"),
      ProgressBar2(*this, &Frame4, "ProgressBar2"),
      lblProgress3(*this, &Frame4, "lblProgress3"),
      lblCleanOutcome(*this, &Frame4, "lblCleanOutcome"),
      Frame2(*this, nullptr, "Frame2"),
      Option1(*this, &Frame2, "Option1", 4),
      cboHour(*this, &Frame2, "cboHour"),
      CboMinute(*this, &Frame2, "CboMinute"),
      cboAMorPM(*this, &Frame2, "cboAMorPM"),
      Timer1(*this, "Timer1"),
      Image1(*this, nullptr, "Image1", platform::kJobPicture1),
      Line1(*this, nullptr, "Line1"),
      Tips(*this, 120, 5400, 9240, 1560),
      mnuNullora(mPopupSys.AddItem("mnuNullora", "Nullora")),
      mPopRestore(mPopupSys.AddItem("mPopRestore", "&Restore")),
      mPopExit(mPopupSys.AddItem("mPopExit", "E&xit")),
      options_(options),
      info_(info),
      warning_(warning),
      cookieKeep_(cookieKeep) {
  SetCaption("Nullora");
  SetSize(9600, 7680);
  TreeView1.Move(120, 120, 3600, 5160);
  TreeView1.SetCheckBoxes(true);
  for (int picture = 0; picture < 11; ++picture) ImageList1.Add(platform::kTreeImageFirst + picture);
  ImageList1.SetImageSize(16, 16);
  ImageList1.SetMaskColor(0x00C0C0C0);

  Frame2.Move(3840, 60, 5520, 2100);
  Frame2.SetCaption("Scheduling");
  const char* const kModes[] = {"Do not schedule - Manual", "Automatic - At system Shutdown",
                                "Automatic - Daily at :", "Automatic - After Closing Browser"};
  for (int index = 0; index < 4; ++index) {
    // The daily button leaves room for the time boxes beside it.
    Option1[index].Move(180, 300 + index * 420, index == 2 ? 2340 : 5160, 315);
    Option1[index].SetCaption(kModes[index]);
  }
  cboHour.Move(2580, 1110, 795, 315);
  CboMinute.Move(3435, 1110, 795, 315);
  CboMinute.SetText("01");
  cboAMorPM.Move(4290, 1110, 795, 315);
  cboAMorPM.SetText("AM");

  Frame1.Move(3840, 2220, 5520, 1440);
  Frame1.SetCaption("Options");
  Check1.Move(180, 300, 3000, 285);
  Check1.SetCaption("Run at Windows Startup");
  cmdCookies.Move(3300, 255, 2040, 375);
  cmdCookies.SetCaption("Cookies to &Keep...");
  cmdOptions.Move(180, 660, 2520, 375);
  cmdOptions.SetCaption("&Deletion Scheme Options");
  cmdOk.Move(2820, 660, 2520, 375);
  cmdOk.SetCaption("&Apply Settings");
  cmdHelp.Move(180, 1005, 1500, 375);
  cmdHelp.SetCaption("&Help File");
  cmdSupport.Move(1740, 1005, 2040, 375);
  cmdSupport.SetCaption("&Online Support Forum");
  cmdEmailSupport.Move(3840, 1005, 1500, 375);
  cmdEmailSupport.SetCaption("&Email Support");

  Frame4.Move(3840, 3720, 5520, 1560);
  Frame4.SetCaption("Progress");
  CmdClean.Move(180, 300, 2100, 375);
  CmdClean.SetCaption("Secure Delete Now !!");
  cmdPreview.Move(180, 735, 1020, 345);
  cmdPreview.SetCaption("&Preview");
  cmdDetails.Move(1260, 735, 1020, 345);
  cmdDetails.SetCaption("De&tails");
  cmdDetails.SetEnabled(false);  // until a clean has a report
  // The statuses of the items are long ("Deleting AutoComplete Entries"): each line has the width.
  LblProgress.Move(2400, 270, 2940, 255);
  LblProgress.SetCaption("Overall Progress:");
  ProgressBar1.Move(2400, 540, 2940, 195);
  lblProgress2.Move(2400, 810, 2940, 255);
  lblProgress2.SetCaption("Current File:");
  ProgressBar2.Move(2400, 1080, 2940, 195);
  lblProgress3.Move(180, 1140, 2100, 390);
  LblProgress.SetOneLine(true);
  // A wipe reports every block of a large file (a database's journal, a cache): each bar moving
  // repaints it at once, so the screen follows at most every breath, as in the job dialogs.
  for (ui::Control* control :
       std::initializer_list<ui::Control*>{&ProgressBar1, &ProgressBar2, &lblProgress3}) {
    control->SetPaintThrottled(true);
  }
  // What a clean left takes the place of the file's progress; the whole report is behind "Details".
  lblCleanOutcome.Move(2400, 810, 2940, 690);
  lblCleanOutcome.SetVisible(false);
  Image1.Move(8880, 6480, 480, 480);
  Image1.SetVisible(false);
  Line1.Move(120, 5340, 9240, 15);

  Timer1.SetInterval(60000);
  Timer1.SetEnabled(false);
  Timer1.OnTimer = [this] { Timer1_Timer(); };

  TreeView1.NodeCheck = [this](ui::Node& node) { TreeView1_NodeCheck(node); };
  Check1.Click = [this] { Check1_Click(); };
  Option1.Click = [this](int index) { Option1_Click(index); };
  for (ui::ComboBox* box : {&cboHour, &CboMinute, &cboAMorPM}) {
    box->Click = [this] { DailyTime_Change(); };
    box->Change = [this] { DailyTime_Change(); };
  }
  cmdOk.Click = [this] { cmdOk_Click(); };
  cmdOptions.Click = [this] { cmdOptions_Click(); };
  cmdCookies.Click = [this] { cookieKeep_.Show(); };
  cmdHelp.Click = [this] { cmdHelp_Click(); };
  cmdSupport.Click = [this] { cmdSupport_Click(); };
  cmdEmailSupport.Click = [this] { cmdEmailSupport_Click(); };
  CmdClean.Click = [this] { CmdClean_Click(); };
  cmdPreview.Click = [this] { cmdPreview_Click(); };
  cmdDetails.Click = [this] { cmdDetails_Click(); };
  mPopRestore.Click = [this] { Show(); };
  mPopExit.Click = [this] { RequestExit(); };
  Tray.MouseEvent = [this](platform::TrayMouse event) {
    if (!TrayClicksEnabled) return;
    if (event == platform::TrayMouse::RightUp) PopupMenu(mPopupSys);
    if (event == platform::TrayMouse::LeftDoubleClick) Show();
  };
}

void fSettings::Form_Load() {
  SetBackColor(ui::kWindowBackColor);
  for (ui::Control* control :
       std::initializer_list<ui::Control*>{&Frame1, &Frame2, &Frame4, &Check1, &LblProgress, &lblProgress2,
                                           &lblProgress3, &lblCleanOutcome}) {
    control->SetBackColor(ui::kWindowBackColor);
  }
  for (int index = 0; index < 4; ++index) Option1[index].SetBackColor(ui::kWindowBackColor);
  Tips.Fill();

  for (int index = 0; index < 4; ++index) Option1[index].SetValue(index == AppSettings.AutoCleanMode);
  EnableDailyTime();
  // Showing the stored time is no choice of the user's: it must not rewrite the time half way.
  loadingTime_ = true;
  const std::string time = AppSettings.DailyRunTime;
  cboAMorPM.Clear();
  cboAMorPM.AddItem("AM");
  cboAMorPM.AddItem("PM");
  cboAMorPM.SetText(time.size() >= 2 ? time.substr(time.size() - 2) : "");
  cboHour.Clear();
  for (int hour = 1; hour <= 12; ++hour) cboHour.AddItem(TwoDigits(hour));
  cboHour.SetText(time.substr(0, 2));
  CboMinute.Clear();
  for (int minute = 0; minute <= 59; ++minute) CboMinute.AddItem(TwoDigits(minute));
  CboMinute.SetText(time.size() >= 4 ? time.substr(2, 2) : "");
  loadingTime_ = false;

  TreeView1.SetImageList(&ImageList1);
  TreeView1.Nodes().Clear();
  for (const TreeRow& row : kTree) {
    ui::Node& node = TreeView1.Nodes().Add(
        row.parent ? row.parent : "", row.parent ? ui::NodeRelationship::Child : ui::NodeRelationship::Last,
        row.key, row.text, row.picture);
    if (!row.parent) node.SetChecked(true);
  }
  for (int index = 1; index <= 11; ++index) TreeView1.Nodes().Item(index)->SetExpanded(true);
  AddBrowserNodes();
  ShowTreeChecks();
  ui::DoEvents();

  Check1.SetValue(AppSettings.RunAtStartup != 0 ? ui::kChecked : ui::kUnchecked);
  Show();
  Refresh();
  AddTrayIcon(*this);
  platform::PublishMainInstanceWindow(Peer());
}

void fSettings::Form_Activate() {
  // While the options dialog is open, bringing the main window up brings the dialog forward instead.
  if (options_.Loaded()) {
    Hide();
    options_.Show();
  }
}

void fSettings::Form_Paint() {
  TrayClicksEnabled = true;
}

void fSettings::Form_Unload(bool& cancel) {
  (void)cancel;
  if (options_.Loaded()) options_.Unload();
  TrayClicksEnabled = false;
  RemoveTrayIcon(*this);
  // Every other window goes with the main window, and with them the program.
  for (ui::Form* form : std::vector<ui::Form*>(ui::Application::Get().LoadedForms())) {
    if (form != this) form->Unload();
  }
}

void fSettings::AddBrowserNodes() {
  // After the nine, a group for each browser that has a profile here, with its five items.
  constexpr int kItemPictures[] = {9, 8, 10, 7, 11};
  shownBrowsers_.clear();
  for (const Browser& browser : Browsers()) {
    if (ProfilesOf(browser).empty()) continue;
    const std::string group = std::string("Browser") + browser.keyPart;
    TreeView1.Nodes().Add("", ui::NodeRelationship::Last, group, browser.caption, 3);
    for (const BrowserItemName& item : kBrowserItems) {
      TreeView1.Nodes().Add(group, ui::NodeRelationship::Child, BrowserItemKey(browser, item.kind),
                            item.caption, kItemPictures[static_cast<int>(item.kind)]);
    }
    TreeView1.Nodes().Item(group)->SetExpanded(true);
    shownBrowsers_.push_back(&browser);
  }
  // Then what Windows 10 and 11 keep, on every machine.
  TreeView1.Nodes().Add("", ui::NodeRelationship::Last, kWindowsGroupKey, kWindowsGroupCaption, 2);
  for (const WindowsItem& item : kWindowsItems) {
    TreeView1.Nodes().Add(kWindowsGroupKey, ui::NodeRelationship::Child, item.key, item.caption,
                          item.picture);
  }
  TreeView1.Nodes().Item(kWindowsGroupKey)->SetExpanded(true);
}

void fSettings::ChangeGroupSettings(int NodeIndex, bool NodeChecked) {
  int first = 0, last = -1;
  if (NodeIndex == 1) first = 2, last = 12;
  if (NodeIndex == 2) first = 4, last = 7;
  if (NodeIndex == 3) first = 8, last = 12;
  for (int index = first; index <= last; ++index) {
    if (ui::Node* node = TreeView1.Nodes().Item(index)) node->SetChecked(NodeChecked);
  }
}

void fSettings::ReadTreeChecks() {
  for (int k = 1; k <= 9; ++k) {
    ui::Node* node = TreeView1.Nodes().Item("CleanKey" + std::to_string(k));
    AppSettings.CleanKeys[static_cast<size_t>(k - 1)] = node && node->Checked() ? -1 : 0;
  }
  for (const Browser* browser : shownBrowsers_) {
    for (const BrowserItemName& item : kBrowserItems) {
      const std::string key = BrowserItemKey(*browser, item.kind);
      if (ui::Node* node = TreeView1.Nodes().Item(key)) BrowserCleanKeys[key] = node->Checked() ? -1 : 0;
    }
  }
  for (const WindowsItem& item : kWindowsItems) {
    if (ui::Node* node = TreeView1.Nodes().Item(item.key))
      WindowsCleanKeys[item.key] = node->Checked() ? -1 : 0;
  }
}

void fSettings::ShowTreeChecks() {
  for (int k = 1; k <= 9; ++k) {
    if (ui::Node* node = TreeView1.Nodes().Item("CleanKey" + std::to_string(k))) {
      node->SetChecked(AppSettings.CleanKeys[static_cast<size_t>(k - 1)] != 0);
    }
  }
  for (const Browser* browser : shownBrowsers_) {
    for (const BrowserItemName& item : kBrowserItems) {
      const std::string key = BrowserItemKey(*browser, item.kind);
      if (ui::Node* node = TreeView1.Nodes().Item(key)) node->SetChecked(BrowserCleanKeys[key] != 0);
    }
  }
  for (const WindowsItem& item : kWindowsItems) {
    if (ui::Node* node = TreeView1.Nodes().Item(item.key)) node->SetChecked(WindowsCleanKeys[item.key] != 0);
  }
  ui::DoEvents();
}

void fSettings::EnableDailyTime() {
  const bool daily = Option1[2].Value();
  for (ui::ComboBox* box : {&cboAMorPM, &cboHour, &CboMinute}) box->SetEnabled(daily);
}

void fSettings::TreeView1_NodeCheck(ui::Node& node) {
  ChangeGroupSettings(node.Index(), node.Checked());
  // A browser's group, and the Windows group, tick their items.
  if (node.Index() > 12 && !node.Parent()) {
    for (ui::Node* child : node.Children()) child->SetChecked(node.Checked());
  }
  ReadTreeChecks();
}

void fSettings::Option1_Click(int index) {
  AppSettings.AutoCleanMode = static_cast<int16_t>(index);
  EnableDailyTime();
}

void fSettings::DailyTime_Change() {
  if (loadingTime_) return;
  // Only a time the scheduler can match is taken; anything else keeps the last good one until Apply
  // says what is wrong.
  std::string time = DailyTimeText(cboHour.Text(), CboMinute.Text(), cboAMorPM.Text());
  if (!time.empty()) AppSettings.DailyRunTime = time;
}

void fSettings::cmdOk_Click() {
  if (AppSettings.AutoCleanMode == 2 &&
      DailyTimeText(cboHour.Text(), CboMinute.Text(), cboAMorPM.Text()).empty()) {
    platform::ShowMessage(
        "The daily time is not a time of day: choose an hour from 01 to 12, a minute from 00 to 59 and AM or "
        "PM. "
        "Nothing was saved.",
        "Nullora");
    return;
  }
  SaveSetting("AutoClean Mode", std::to_string(AppSettings.AutoCleanMode));
  SaveSetting("Daily Run Time", AppSettings.DailyRunTime);
  for (int k = 1; k <= 9; ++k) {
    SaveSetting("OpCleanKey" + std::to_string(k),
                std::to_string(AppSettings.CleanKeys[static_cast<size_t>(k - 1)]));
  }
  SaveSetting("OpRunAtStartup", std::to_string(AppSettings.RunAtStartup));
  // The browsers' items after the nine; those of a browser not shown here keep what they hold.
  for (const Browser* browser : shownBrowsers_) {
    for (const BrowserItemName& item : kBrowserItems) {
      const std::string key = BrowserItemKey(*browser, item.kind);
      SaveSetting(key, std::to_string(BrowserCleanKeys[key]));
    }
  }
  for (const WindowsItem& item : kWindowsItems)
    SaveSetting(item.key, std::to_string(WindowsCleanKeys[item.key]));
  Timer1.SetEnabled(AppSettings.AutoCleanMode == 2 || AppSettings.AutoCleanMode == 3);
  if (AppSettings.AutoCleanMode == 0) {
    Unload();
    return;
  }
  if (AppSettings.ShowInfoDialog1 == 0) info_.Show();
  Hide();
}

void fSettings::Check1_Click() {
  if (syncingRunAtLogon_) {
    // Only the box is brought back to what the registry says.
  } else if (Check1.Value() == ui::kChecked) {
    if (WriteRunAtLogon(platform::ApplicationDirectory()) == EntryPlace::Nowhere && !toldRunAtLogonRefused_) {
      toldRunAtLogonRefused_ = true;
      platform::ShowMessage(
          "Nullora could not add itself to the programs that start at Windows logon: writing the entry was "
          "refused.",
          "Nullora");
    }
  } else if (!RemoveRunAtLogon()) {
    platform::ShowMessage(
        "Nullora could not remove itself from the programs that start at Windows logon: the entry for all "
        "users may only be removed by an administrator.",
        "Nullora");
    // The box tells what Windows will do at the next logon.
    syncingRunAtLogon_ = true;
    Check1.SetValue(ui::kChecked);
    syncingRunAtLogon_ = false;
  }
  AppSettings.RunAtStartup = static_cast<int16_t>(Check1.Value() == ui::kChecked ? 1 : 0);
}

void fSettings::cmdOptions_Click() {
  Hide();
  mPopRestore.SetVisible(false);
  options_.ReturnToMain = [this] {
    mPopRestore.SetVisible(true);
    Show();
  };
  options_.Show();
}

void fSettings::cmdHelp_Click() {
  std::string directory = platform::ApplicationDirectory();
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  platform::ShellOpen(directory + "help.chm", "", directory, kShowNormal);
}

void fSettings::cmdSupport_Click() {
  GotoURL(kSupportForumUrl);
}

void fSettings::GotoURL(const std::string& URL) {
  platform::ShellOpen(URL, "", "C:\\", kShowNormal);
}

void fSettings::cmdEmailSupport_Click() {
  platform::ShellOpen(std::string("mailto:") + kSupportEmail + "?subject=" + kSupportSubject, "Open", "",
                      kShowNormal, true);
}

void fSettings::RequestExit() {
  // A run in progress stops at its next file; the window goes once it has returned.
  if (running_) {
    exitAfterRun_ = true;
    StopCleanRun();
    return;
  }
  ui::Application::Get().Defer([this] {
    if (Loaded()) Unload();
  });
}

void fSettings::Form_QueryUnload(bool& cancel, ui::UnloadMode mode) {
  (void)mode;
  // Every way of ending during a run goes one way: the run stops at its next file, then the window
  // unloads, never while a file is half overwritten or while the run still touches this window.
  if (running_) {
    cancel = true;
    exitAfterRun_ = true;
    StopCleanRun();
  }
}

void fSettings::Form_QueryEndSession(bool closeApp) {
  // Only asked: the session may yet go on. Until it ends, Windows can show the user why this program
  // will hold it up.
  if (!closeApp && (AppSettings.AutoCleanMode == 1 || running_)) {
    platform::SetShutdownBlockReason(Peer(), kShutdownReason);
  }
}

void fSettings::Form_EndSession(bool ending, bool closeApp) {
  if (!ending) {
    // Called off: the program, its schedule included, goes on as before.
    platform::SetShutdownBlockReason(Peer(), "");
    return;
  }
  // A real shutdown or log-off cleans in mode 1; an installer closing programs gets no clean. A run
  // that was going on (this came from inside it) stops at its next file and the window goes after it.
  if (AppSettings.AutoCleanMode == 1 && !closeApp && !running_) {
    platform::SetShutdownBlockReason(Peer(), kShutdownReason);
    RunExclusive(true);
  }
  if (!running_) platform::SetShutdownBlockReason(Peer(), "");
  Unload(ui::UnloadMode::AppWindows);
}

void fSettings::Form_ShowRequest() {
  // Another start of the program while this one runs: this window comes forward instead.
  Show();
}

void fSettings::Timer1_Timer() {
  const bool due = ScheduleTickStartsRun(AppSettings.AutoCleanMode, AppSettings.DailyRunTime, Schedule);
  if (!Schedule.note.empty()) ShowTrayBalloon(*this, std::exchange(Schedule.note, {}));
  // A tick may come inside the tray menu's or a message box's loop: the run waits for the program's own
  // message loop rather than freezing theirs.
  if (due) {
    ui::Application::Get().Defer([this] {
      if (Loaded()) RunExclusive(true);
    });
  }
}

void fSettings::CmdClean_Click() {
  if (running_) return;
  if (AppSettings.ShowInfoDialog2 != 0) {
    RunExclusive(false);
    return;
  }
  // The warning decides; while it is up, no second run can be asked for.
  ProceedWithClean = false;
  CmdClean.SetEnabled(false);
  cmdPreview.SetEnabled(false);
  warning_.Closed = [this] {
    CmdClean.SetEnabled(!running_);
    cmdPreview.SetEnabled(!running_);
    if (ProceedWithClean) ui::Application::Get().Defer([this] { RunExclusive(false); });
  };
  warning_.Show();
}

void fSettings::SetRunControlsEnabled(bool enabled) {
  Check1.SetEnabled(enabled);
  for (ui::ComboBox* box : {&cboHour, &CboMinute, &cboAMorPM}) box->SetEnabled(enabled);
  for (int index = 0; index < 4; ++index) Option1[index].SetEnabled(enabled);
  TreeView1.SetEnabled(enabled);
  CmdClean.SetEnabled(enabled);
  cmdPreview.SetEnabled(enabled);
  cmdDetails.SetEnabled(enabled && !lastReport_.empty());
  cmdOk.SetEnabled(enabled);
  cmdOptions.SetEnabled(enabled);
  cmdCookies.SetEnabled(enabled);
  if (enabled) EnableDailyTime();
}

void fSettings::ShowOutcomeDetail(const std::string& outcome) {
  static constexpr std::string_view kExcept = "Clean Complete, except: ";
  std::string detail;
  if (outcome.starts_with(kExcept)) {
    // One item a line.
    detail = outcome.substr(kExcept.size());
    for (size_t at = 0; (at = detail.find("; ", at)) != std::string::npos;) detail.replace(at, 2, "\n");
  }
  lblCleanOutcome.SetCaption(detail);
  lblCleanOutcome.SetVisible(!detail.empty());
  for (ui::Control* control :
       std::initializer_list<ui::Control*>{&lblProgress2, &ProgressBar2, &lblProgress3}) {
    control->SetVisible(detail.empty());
  }
}

fSettings::~fSettings() = default;

fReport& fSettings::Report() {
  if (!report_) report_ = std::make_unique<fReport>();
  return *report_;
}

void fSettings::cmdPreview_Click() {
  // The preview takes the run's place: no clean starts while it counts, a scheduled one waits for it.
  if (running_) return;
  running_ = true;
  SetRunControlsEnabled(false);
  Report().Preview();
  if (EndExclusive()) return;
  if (std::exchange(runPending_, false)) RunExclusive(true);
}

bool fSettings::EndExclusive() {
  SetRunControlsEnabled(true);
  running_ = false;
  if (!exitAfterRun_) return false;
  // Asked to end while it ran: the window goes now, and nothing waits for it any more.
  runPending_ = false;
  ui::Application::Get().Defer([this] {
    if (Loaded()) Unload();
  });
  return true;
}

void fSettings::cmdDetails_Click() {
  if (!lastReport_.empty()) Report().ShowReport(lastReport_);
}

void fSettings::RunExclusive(bool background) {
  if (running_) {
    runPending_ = true;
    return;
  }
  running_ = true;
  SetRunControlsEnabled(false);
  ShowOutcomeDetail("");
  CleanView view{ProgressBar1, LblProgress,
                 ProgressBar2, lblProgress2,
                 lblProgress3, [this](const std::string& text) { ShowTrayBalloon(*this, text); }};
  const CleanRunResult result = RunClean(background, view);
  lblProgress2.SetCaption("Current File:");
  lblProgress3.SetCaption("");
  ProgressBar2.SetValue(0);
  ShowOutcomeDetail(CleanOutcomeText(result));
  lastReport_ = CleanReportLines(result, false);
  // An open report shows this clean's now.
  if (report_ && report_->Loaded() && !report_->Previewing()) report_->ShowReport(lastReport_);
  if (EndExclusive()) return;
  if (!background) Show();
  if (std::exchange(runPending_, false)) RunExclusive(true);
}

}  // namespace nullora
