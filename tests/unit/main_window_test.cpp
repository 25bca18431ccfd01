// The main window, the options dialog, the tray, the tips and the entries for Explorer and logon,
// head-less in the workbench, against the stand-in registry and shell.
#include <gtest/gtest.h>

#include "app/fStart.h"
#include "jobs/fFiles.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "shared/system_entries.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"
#include "ui/fInfo.h"
#include "ui/fOptions.h"
#include "ui/fSettings.h"
#include "ui/shell_tray.h"
#include "ui/tips.h"

#ifndef _WIN32
#include "platform/posix/head_less.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora {
namespace {

using platform::RegistryRoot;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    platform::posix::ClearRegistry();
    platform::posix::ClearShownMessages();
    platform::posix::ShellOpenCalls().clear();
    platform::posix::SetApplicationPath(dir.Path("nullora.exe"));
    AppSettings = {};
    WipeOptions = {};
  }
  void TearDown() override {
    ui::Application::Get().Reset();
    platform::posix::SetApplicationPath("C:\\Program Files\\Nullora\\nullora.exe");
    TrayClicksEnabled = false;
  }
  fSettings& OpenMain() {
    AppWindows& w = windows;
    w.Settings().Load();
    return w.Settings();
  }
  std::string Setting(const std::string& key) { return GetSetting(key, "<absent>"); }
  ui::Node& Node(fSettings& main, const std::string& key) { return *main.TreeView1.Nodes().Item(key); }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  AppWindows windows;
};

TEST_F(MainWindowTest, AFirstStartShowsTheDefaults) {
  fSettings& main = OpenMain();
  EXPECT_TRUE(main.Visible());
  EXPECT_EQ(main.Caption(), "Nullora");
  EXPECT_TRUE(main.Tray.Added());
  EXPECT_TRUE(Node(main, "key1").Checked());
  for (const char* key : {"key2", "key3", "CleanKey1", "CleanKey5", "CleanKey9"})
    EXPECT_FALSE(Node(main, key).Checked());
  EXPECT_EQ(Node(main, "CleanKey9").Image(), 7);
  EXPECT_TRUE(main.Option1[0].Value());
  EXPECT_EQ(main.cboHour.Text(), "12");
  EXPECT_EQ(main.CboMinute.Text(), "01");
  EXPECT_EQ(main.cboAMorPM.Text(), "PM");
  EXPECT_FALSE(main.cboHour.Enabled());
  EXPECT_EQ(main.Check1.Value(), ui::kUnchecked);
  EXPECT_EQ(main.Tips.lblTipText.Caption(), NotFoundTipText());
  EXPECT_TRUE(settings.Empty()) << "nothing is written until Apply";
}

TEST_F(MainWindowTest, GroupsPassTheirCheckDownAndItemsOnlySetTheirFlags) {
  fSettings& main = OpenMain();
  main.TreeView1.UserCheck(Node(main, "key2"), true);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(AppSettings.CleanKeys[k - 1], -1) << k;
  for (int k = 5; k <= 9; ++k) EXPECT_EQ(AppSettings.CleanKeys[k - 1], 0) << k;
  EXPECT_FALSE(Node(main, "key3").Checked());
  main.TreeView1.UserCheck(Node(main, "CleanKey5"), true);
  EXPECT_EQ(AppSettings.CleanKeys[4], -1);
  EXPECT_FALSE(Node(main, "key3").Checked()) << "an item never changes its group";
  main.TreeView1.UserCheck(Node(main, "key1"), false);
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(AppSettings.CleanKeys[k - 1], 0) << k;
  main.TreeView1.UserCheck(Node(main, "key1"), true);
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(AppSettings.CleanKeys[k - 1], -1) << k;
}

TEST_F(MainWindowTest, ApplyInManualModeSavesAndEndsTheProgram) {
  fSettings& main = OpenMain();
  main.TreeView1.UserCheck(Node(main, "CleanKey5"), true);
  main.cmdOk.UserClick();
  EXPECT_EQ(Setting("AutoClean Mode"), "0");
  EXPECT_EQ(Setting("Daily Run Time"), "1201PM");
  EXPECT_EQ(Setting("OpCleanKey5"), "-1");
  EXPECT_EQ(Setting("OpCleanKey1"), "0");
  EXPECT_EQ(Setting("OpRunAtStartup"), "0");
  EXPECT_FALSE(main.Loaded());
  EXPECT_TRUE(ui::Application::Get().LoadedForms().empty());
}

TEST_F(MainWindowTest, ApplyOnAScheduleHidesInTheTrayWithTheNoticeAndTheTimerAsTheModeSays) {
  fSettings& main = OpenMain();
  main.Option1[1].UserClick();
  main.cmdOk.UserClick();
  EXPECT_FALSE(main.Timer1.Enabled());
  EXPECT_TRUE(windows.Info().Visible());
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(main.Tray.Added());
  windows.Info().Unload();
  AppSettings.ShowInfoDialog1 = 1;
  main.Show();
  main.Option1[2].UserClick();
  EXPECT_TRUE(main.cboHour.Enabled());
  main.cboHour.UserType(" 7");
  main.CboMinute.UserType("5");
  main.cboAMorPM.UserType("am");
  main.cmdOk.UserClick();
  EXPECT_EQ(Setting("Daily Run Time"), "0705AM");
  EXPECT_TRUE(main.Timer1.Enabled());
  EXPECT_FALSE(windows.Info().Loaded()) << "the notice was turned off";
}

TEST_F(MainWindowTest, ADailyTimeThatIsNoTimeIsRefusedAndNothingIsSaved) {
  fSettings& main = OpenMain();
  main.Option1[2].UserClick();
  main.cboHour.UserType("13");
  main.cmdOk.UserClick();
  EXPECT_TRUE(settings.Empty());
  EXPECT_TRUE(main.Visible());
  EXPECT_NE(platform::posix::LastShownMessage().find("not a time of day"), std::string::npos);
  EXPECT_EQ(DailyTimeText("12", "00", "PM"), "1200PM");
  EXPECT_EQ(DailyTimeText("0", "00", "PM"), "");
  EXPECT_EQ(DailyTimeText("1", "60", "AM"), "");
  EXPECT_EQ(DailyTimeText("1:", "05", "AM"), "");
}

TEST_F(MainWindowTest, RunAtLogonIsWrittenQuotedFallsBackToTheUserAndIsRemovedFromBoth) {
  fSettings& main = OpenMain();
  const std::string expected = "\"" + dir.Path("Nullora.exe") + "\" StartUpMin";
  main.Check1.UserClick();
  EXPECT_EQ(platform::RegistryReadString(RegistryRoot::LocalMachine, kRunKey, kRunValue), expected);
  EXPECT_EQ(AppSettings.RunAtStartup, 1);
  platform::posix::ClearRegistry();
  platform::posix::SetRegistryRootWritable(RegistryRoot::LocalMachine, false);
  main.Check1.UserClick();
  main.Check1.UserClick();
  EXPECT_EQ(platform::RegistryReadString(RegistryRoot::CurrentUser, kRunKey, kRunValue), expected);
  main.Check1.UserClick();
  EXPECT_FALSE(platform::RegistryReadString(RegistryRoot::CurrentUser, kRunKey, kRunValue));
  EXPECT_EQ(AppSettings.RunAtStartup, 0);
  platform::posix::SetRegistryRootWritable(RegistryRoot::CurrentUser, false);
  main.Check1.UserClick();
  main.Check1.UserClick();
  main.Check1.UserClick();
  EXPECT_EQ(platform::posix::MessagesShown(), 1) << "told once that neither place could be written";
}

TEST_F(MainWindowTest, RunAtLogonIsOneValueWhereverAnEarlierStartLeftIt) {
  using platform::RegistryView;
  const std::string command = "\"" + dir.Path("Nullora.exe") + "\" StartUpMin";
  auto count = [] {
    int values = 0;
    for (const auto& [path, value] : platform::posix::RegistryContents()) {
      values += path.ends_with("\\CurrentVersion\\Run\\Nullora");
    }
    return values;
  };
  // A start with administrator rights left the machine's value; an older 32-bit build its own view's.
  platform::RegistryWriteString(RegistryRoot::LocalMachine, kRunKey, kRunValue, command);
  platform::RegistryWriteString(RegistryRoot::LocalMachine, kRunKey, kRunValue, command,
                                RegistryView::Program);
  ASSERT_TRUE(platform::posix::RegistryContents().count(
      "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\Nullora"));
  platform::posix::SetRegistryRootWritable(RegistryRoot::LocalMachine, false);
  AppSettings.RunAtStartup = 1;
  fSettings& main = OpenMain();
  EXPECT_EQ(main.Check1.Value(), ui::kChecked);
  EXPECT_FALSE(platform::RegistryReadString(RegistryRoot::CurrentUser, kRunKey, kRunValue))
      << "no second copy";
  main.Check1.UserClick();
  EXPECT_EQ(
      platform::posix::LastShownMessage(),
      "Nullora could not remove itself from the programs that start at Windows logon: the entry for all "
      "users may only be removed by an administrator.");
  EXPECT_EQ(main.Check1.Value(), ui::kChecked) << "the box says what the next logon will do";
  EXPECT_EQ(AppSettings.RunAtStartup, 1);

  platform::posix::SetRegistryRootWritable(RegistryRoot::LocalMachine, true);
  platform::RegistryWriteString(RegistryRoot::CurrentUser, kRunKey, kRunValue, command);
  main.Check1.UserClick();
  EXPECT_EQ(count(), 0) << "gone from both views and from the user's";
  main.Check1.UserClick();
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(platform::RegistryReadString(RegistryRoot::LocalMachine, kRunKey, kRunValue), command);
}

TEST_F(MainWindowTest, TheTrayIgnoresClicksUntilThePaintAndExitsOnlyAfterTheMenuReturned) {
  fSettings& main = OpenMain();
  main.Hide();
  main.mPopupSys.ScriptChoice("mPopRestore");
  main.Tray.UserMouse(platform::TrayMouse::RightUp);
  EXPECT_EQ(main.mPopupSys.TimesShown(), 0);
  TrayClicksEnabled = true;
  main.Tray.UserMouse(platform::TrayMouse::RightUp);
  EXPECT_TRUE(main.Visible());
  main.mPopupSys.ScriptChoice("mPopExit");
  main.Tray.UserMouse(platform::TrayMouse::RightUp);
  EXPECT_TRUE(main.Loaded()) << "not from inside the menu";
  ui::Application::Get().RunDeferred();
  EXPECT_FALSE(main.Loaded());
  EXPECT_FALSE(main.Tray.Added());
  EXPECT_FALSE(TrayClicksEnabled);
}

TEST_F(MainWindowTest, HelpForumAndMailGoToTheShellWithTheirOwnPlaces) {
  fSettings& main = OpenMain();
  main.cmdHelp.UserClick();
  main.cmdSupport.UserClick();
  main.cmdEmailSupport.UserClick();
  windows.Options().Show();
  windows.Options().Command1.UserClick();
  const auto& calls = platform::posix::ShellOpenCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].file, dir.Path("help.chm"));
  EXPECT_EQ(calls[0].directory, dir.Root());
  EXPECT_EQ(calls[1].file, "https://forum.example.org/nullora");
  EXPECT_EQ(calls[1].directory, "C:\\");
  EXPECT_EQ(calls[2].file, "mailto:support@example.org?subject=Nullora v2.0");
  EXPECT_TRUE(calls[2].desktopOwner);
  EXPECT_EQ(calls[3].file, dir.Path("help.chm"));
  EXPECT_EQ(calls[3].show, 3) << "maximized";
}

// --- the options dialog -------------------------------------------------------------------------------

TEST_F(MainWindowTest, OptionsShowTheStoredSchemeAndEachRowSetsWhatItUses) {
  SaveSetting("OpMethod", "3");
  SaveSetting("OpPasses", " 12 ");
  fOptions& options = windows.Options();
  options.Show();
  EXPECT_EQ(options.cmbSchemes.Text(), "Custom");
  EXPECT_EQ(options.txtPasses.Text(), "12");
  EXPECT_TRUE(options.txtPasses.Enabled());
  options.chkRename.UserClick();
  options.cmbSchemes.UserSelect(2);
  EXPECT_EQ(options.txtPasses.Text(), "35");
  EXPECT_FALSE(options.txtPasses.Enabled());
  EXPECT_FALSE(options.chkRename.Enabled());
  EXPECT_EQ(options.chkRename.Value(), ui::kChecked) << "the ticks stay";
  options.cmbSchemes.UserSelect(4);
  EXPECT_EQ(options.txtPasses.Text(), "0");
  EXPECT_TRUE(options.chkRename.Enabled());
  EXPECT_FALSE(options.chkRandom.Enabled());
  options.cmdApply.UserClick();
  EXPECT_EQ(Setting("OpMethod"), "4");
  EXPECT_EQ(Setting("OpPasses"), "0");
  EXPECT_EQ(Setting("OpRename"), "1");
  EXPECT_EQ(Setting("Show Tips at Startup"), "1");
  EXPECT_EQ(WipeOptions.OpMethod, "4");
}

TEST_F(MainWindowTest, OptionsNeverStorePassesAWipeCannotUseAndAStrangeSchemeShowsTheDefault) {
  SaveSetting("OpMethod", "9");
  fOptions& options = windows.Options();
  options.Show();
  EXPECT_EQ(options.cmbSchemes.ListIndex(), 1);
  options.cmbSchemes.UserSelect(3);
  options.txtPasses.UserType("-3");
  options.cmdOk.UserClick();
  EXPECT_EQ(Setting("OpPasses"), "<absent>");
  EXPECT_TRUE(options.Loaded()) << "OK with a bad count keeps the dialog open";
  options.txtPasses.UserType("");
  options.cmdOk.UserClick();
  EXPECT_EQ(Setting("OpPasses"), "1");
  EXPECT_EQ(fOptions::PassesProblem("32768", 3).empty(), false);
  EXPECT_EQ(fOptions::PassesProblem("32767", 3), "");
  EXPECT_EQ(fOptions::PassesProblem("0", 1).empty(), false);
}

TEST_F(MainWindowTest, OptionsFromAJobCloseOnlyAndFromTheMainWindowGoBackToIt) {
  test::TestDir files;
  fFiles& job = windows.Files();
  FilePath = files.MakeFile("a.txt", "x");
  job.Show();
  ASSERT_TRUE(job.cmdOptions.Enabled());
  job.cmdOptions.UserClick();
  windows.Options().cmdOk.UserClick();
  EXPECT_FALSE(windows.Options().Loaded());
  EXPECT_FALSE(windows.Settings().Loaded()) << "no main window, tray or scheduler in a job's process";
  EXPECT_TRUE(job.Loaded());

  fSettings& main = OpenMain();
  main.cmdOptions.UserClick();
  EXPECT_FALSE(main.Visible());
  EXPECT_FALSE(main.mPopRestore.Visible());
  windows.Options().cmdCancel.UserClick();
  EXPECT_TRUE(main.Visible());
  EXPECT_TRUE(main.mPopRestore.Visible());
}

// --- tips ------------------------------------------------------------------------------------------

TEST(Tips, EveryKindOfLineEndEndsATipAndALastLineWithoutOneCounts) {
  EXPECT_EQ(SplitTips("A\r\nB\r\nC"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(SplitTips("A\nB\n"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(SplitTips("A\rB\r\n\r\nD"), (std::vector<std::string>{"A", "B", "", "D"}));
  EXPECT_EQ(SplitTips(""), std::vector<std::string>{});
  EXPECT_EQ(SplitTips("caf\xe9"), std::vector<std::string>{"caf\xc3\xa9"}) << "the Western code page";
  EXPECT_EQ(
      NotFoundTipText(),
      "That the TIPOFDAY.TXT file was not found? \r\n\r\nCreate a text file named TIPOFDAY.TXT using NotePad "
      "with 1 tip per line. Then place it in the same directory as the application. ");
}

TEST_F(MainWindowTest, TheTipFileBesideTheProgramGivesATipAndAHiddenOneCountsAsMissing) {
  dir.MakeFile("TIPOFDAY.TXT", "only tip\n");
  EXPECT_EQ(OpenMain().Tips.lblTipText.Caption(), "only tip");
  platform::SetFileAttributes(dir.Path("TIPOFDAY.TXT"), platform::kAttrHidden);
  std::filesystem::rename(dir.HostPath("TIPOFDAY.TXT"), dir.HostPath(".TIPOFDAY.TXT"));
  ui::Label label(windows.Options(), nullptr, "lblTipText");
  EXPECT_FALSE(LoadTipFile(dir.Path(".TIPOFDAY.TXT"), label));
}

// --- Explorer's menus ------------------------------------------------------------------------------

TEST_F(MainWindowTest, MenusNameTheProgramQuotedAndGoToTheUserWhenTheMachineRefuses) {
  EXPECT_EQ(RegisterShellMenus("C:\\Program Files\\Nullora"), EntryPlace::Machine);
  EXPECT_EQ(platform::RegistryReadString(RegistryRoot::ClassesRoot, "*\\shell\\Nullora\\command", ""),
            "\"C:\\Program Files\\Nullora\\nullora.exe\" %1");
  EXPECT_EQ(platform::RegistryReadString(RegistryRoot::ClassesRoot, "*\\shell\\Nullora", ""), "Nullora");
  EXPECT_EQ(platform::RegistryReadString(
                RegistryRoot::ClassesRoot,
                "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\Wipe Recycle Bin\\command", ""),
            "\"C:\\Program Files\\Nullora\\nullora.exe\" Recycle");
  EXPECT_EQ(ProgramCommand("D:\\", "nullora.exe", "%1"), "\"D:\\nullora.exe\" %1");
  platform::posix::SetRegistryRootWritable(RegistryRoot::ClassesRoot, false);
  EXPECT_EQ(RegisterShellMenus("D:\\"), EntryPlace::CurrentUser);
  EXPECT_EQ(platform::RegistryReadString(RegistryRoot::CurrentUser,
                                         "Software\\Classes\\Folder\\shell\\Nullora\\command", ""),
            "\"D:\\nullora.exe\" %1");
}

TEST_F(MainWindowTest, StartUpWithoutAJobOpensTheMainWindowAndRegistersTheMenusAndStartUpMinHidesIt) {
  AppSettings.AutoCleanMode = 0;
  SaveSetting("AutoClean Mode", "3");
  fStart start(windows, "StartUpMin");
  start.Load();
  EXPECT_TRUE(windows.Settings().Loaded());
  EXPECT_FALSE(windows.Settings().Visible());
  EXPECT_TRUE(windows.Settings().Tray.Added());
  EXPECT_TRUE(windows.Settings().Timer1.Enabled());
  EXPECT_TRUE(platform::RegistryReadString(RegistryRoot::ClassesRoot, "Folder\\shell\\Nullora\\command", ""));
}

}  // namespace
}  // namespace nullora
#endif
