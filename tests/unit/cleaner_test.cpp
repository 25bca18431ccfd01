// The privacy cleaner and the schedule, head-less in the workbench: each item against a prepared state,
// the run's order and texts, the warning, one run at a time, ending during a run, the schedule's ticks.
#include <gtest/gtest.h>

#include "app/fStart.h"
#include "cleaner/fInfo2.h"
#include "cleaner/modClean.h"
#include "jobs/fFiles.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"
#include "ui/fSettings.h"
#include "ui/scheduler.h"

#ifndef _WIN32
#include "platform/posix/head_less.h"
#include "platform/posix/posix_stand_in.h"

namespace nullora {
namespace {

using platform::RegistryRoot;

class CleanerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    platform::posix::ClearRegistry();
    platform::posix::Cleaner() = {};
    platform::posix::SetRecycleBin("");
    AppSettings = {};
    AppSettings.ShowInfoDialog2 = 1;
    WipeOptions = {};
    WipeOptions.OpMethod = "0";
  }
  void TearDown() override { ui::Application::Get().Reset(); }

  fSettings& Main() {
    windows.Settings().Load();
    return windows.Settings();
  }
  void Select(std::initializer_list<int> items) {
    for (int k : items) AppSettings.CleanKeys[static_cast<size_t>(k - 1)] = -1;
  }
  void Key(const std::string& key, const std::string& name = "v") {
    platform::RegistryWriteString(RegistryRoot::CurrentUser, key, name, "trace");
  }
  bool HasKey(const std::string& key) {
    for (const auto& [path, value] : platform::posix::RegistryContents()) {
      if (path.rfind("HKCU\\" + key + "\\", 0) == 0) return true;
    }
    return false;
  }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  AppWindows windows;
};

TEST_F(CleanerTest, ARunGoesThroughTheSelectedItemsInOrderWithTheirTextsAndBalloons) {
  fSettings& main = Main();
  std::vector<std::string> seen;
  main.LblProgress.SetCaption("");
  Select({2, 7});
  Key("Software\\Microsoft\\Search Assistant\\ACMru\\5603\\a\\b");
  Key("Software\\Microsoft\\Search Assistant\\Other");
  Key("Software\\Microsoft\\Internet Explorer\\TypedURLs", "url1");
  Key("Software\\Microsoft\\Internet Explorer\\Main");
  AppSettings.CleanKeys[4] = 1;  // a hand-edited "1" selects nothing
  platform::posix::Cleaner().cache = {{"http://a/cookie", kCookieCacheEntry}};
  main.RunExclusive(true);
  EXPECT_EQ(main.ProgressBar1.Value(), 100);
  EXPECT_EQ(main.LblProgress.Caption(), "Clean Complete.");
  EXPECT_FALSE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"));
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\Other"));
  EXPECT_FALSE(HasKey("Software\\Microsoft\\Internet Explorer\\TypedURLs"));
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Internet Explorer\\Main"));
  EXPECT_EQ(platform::posix::Cleaner().cache.size(), 1u) << "cookies were not selected";
  EXPECT_EQ(platform::posix::LastTrayIcon().balloonText, kBackgroundEndText);
  EXPECT_EQ(platform::posix::LastTrayIcon().balloons, 2);
  EXPECT_GE(time.clock.SleptMs(), 1000u) << "half a second before each selected item";
}

TEST_F(CleanerTest, TheUrlCacheMaskDecidesEveryEntryAndOnlyTheCacheItemRemovesEmptiedGroups) {
  auto& world = platform::posix::Cleaner();
  world.cache = {{"page", 0},
                 {"cookie", kCookieCacheEntry},
                 {"history", kUrlHistoryCacheEntry},
                 {"both", kCookieCacheEntry | kUrlHistoryCacheEntry}};
  world.groups[7] = {{"grouped page", 0}, {"grouped cookie", kCookieCacheEntry}};
  world.groups[8] = {{"grouped page 2", 0}};
  ClearCookies();
  EXPECT_EQ(world.cache.size(), 2u);
  EXPECT_EQ(world.groups.size(), 2u) << "cookies remove no group";
  EXPECT_EQ(world.groups[7].size(), 1u);
  ClearUrlCache(0);
  ASSERT_EQ(world.cache.size(), 1u);
  EXPECT_EQ(world.cache[0].url, "history");
  EXPECT_TRUE(world.groups.empty()) << "emptied groups go with the cache item";
  world.groupsFail = true;
  world.cache.push_back({"late page", 0});
  ClearUrlCache(0);
  EXPECT_EQ(world.cache.size(), 1u) << "entries outside groups are cleared even when groups cannot be listed";
  ClearUrlHistory();
  EXPECT_TRUE(world.cache.empty());
  EXPECT_EQ(world.calls.back(), "ClearHistory");
}

TEST_F(CleanerTest, FoldersAreWipedButForALockedFileALinkedTargetAndATempThatIsADrive) {
  test::TestDir outside;
  outside.MakeFile("keep.txt", "precious");
  dir.MakeDir("temp\\sub");
  dir.MakeFile("temp\\a.tmp", "a");
  dir.MakeFile("temp\\sub\\b.tmp", "b");
  std::string locked = dir.MakeFile("temp\\locked.tmp", "in use");
  std::filesystem::create_symlink(outside.HostPath("keep.txt"), dir.HostPath("temp\\link.tmp"));
  platform::File holder = platform::File::Open(locked, platform::Access::Write, platform::kShareNone,
                                               platform::Disposition::OpenExisting);
  auto& world = platform::posix::Cleaner();
  world.tempFolder = dir.Path("temp\\");
  Select({3});
  fSettings& main = Main();
  main.RunExclusive(false);
  EXPECT_EQ(main.LblProgress.Caption(), "Clean Complete, except: Temporary Files: 1 file in use");
  EXPECT_FALSE(dir.Exists("temp\\a.tmp"));
  EXPECT_FALSE(dir.Exists("temp\\sub\\b.tmp"));
  EXPECT_TRUE(dir.Exists("temp\\sub")) << "folders stay";
  EXPECT_EQ(dir.Read("temp\\locked.tmp"), "in use");
  EXPECT_EQ(outside.Read("keep.txt"), "precious");
  EXPECT_TRUE(main.CmdClean.Enabled());
  holder.Close();
}

TEST_F(CleanerTest, AFolderThatHoldsTheUsersOrTheSystemsOwnIsNeverWipedWhateverNamesIt) {
  using platform::KnownFolder;
  auto& world = platform::posix::Cleaner();
  const std::string profile = dir.MakeDir("Users\\Ann Marie");
  const std::string documents = dir.MakeDir("Users\\Ann Marie\\Документы");
  world.knownFolders = {{KnownFolder::Profile, profile},
                        {KnownFolder::Documents, documents},
                        {KnownFolder::Windows, dir.MakeDir("Windows")}};
  dir.MakeFile("root.txt", "mine");
  dir.MakeFile("Users\\Ann Marie\\Документы\\letter.txt", "mine");
  const struct {
    std::string temp;
    std::string reason;
  } cases[] = {
      {dir.Root(), "the folder is a drive root"},
      {"\\\\server\\share\\", "the folder is a share root"},
      {profile + "\\", "the folder is the profile folder"},
      {documents, "the folder is Documents"},
      {dir.Path("Users\\"), "the folder holds the profile folder"},
      {dir.Path("USERS\\annmar~1\\"), "the folder is the profile folder"},  // its 8.3 name, another case
      {dir.Path("Users\\Ann Marie\\ДОКУМЕНТЫ"), "the folder is Documents"},
      {dir.Path("Windows\\..\\Users\\.\\"), "the folder holds the profile folder"},
  };
  Select({3});
  fSettings& main = Main();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.temp);
    world.tempFolder = c.temp;
    main.RunExclusive(false);
    EXPECT_EQ(main.LblProgress.Caption(), "Clean Complete, except: Temporary Files: refused, " + c.reason);
    EXPECT_EQ(dir.Read("root.txt"), "mine");
    EXPECT_EQ(dir.Read("Users\\Ann Marie\\Документы\\letter.txt"), "mine");
  }
  // A trace folder below them all is what is wiped.
  dir.MakeFile("Users\\Ann Marie\\Temp\\a.tmp", "trace");
  world.tempFolder = dir.Path("users\\ANNMAR~1\\Temp\\");
  main.RunExclusive(false);
  EXPECT_EQ(main.LblProgress.Caption(), "Clean Complete.");
  EXPECT_FALSE(dir.Exists("Users\\Ann Marie\\Temp\\a.tmp"));
}

TEST_F(CleanerTest, IndexDatFilesThatExistAreZeroedInPlaceAndNoneIsCreated) {
  dir.MakeDir("cookies");
  dir.MakeDir("history\\h1");
  dir.MakeDir("cache");
  dir.MakeFile("cookies\\index.dat", 70000, 'c');
  dir.MakeFile("history\\h1\\index.dat", 5, 'h');
  auto& world = platform::posix::Cleaner();
  world.specialFolders = {{33, dir.Path("cookies")}, {34, dir.Path("history")}, {32, dir.Path("cache")}};
  ClearIndexDatFiles();
  EXPECT_EQ(dir.Read("cookies\\index.dat"), std::string(70000, '\0'));
  EXPECT_EQ(dir.Read("history\\h1\\index.dat"), std::string(5, '\0'));
  EXPECT_FALSE(dir.Exists("cache\\Content.IE5\\index.dat"));

  // A history folder that is a drive's root is not searched: another program's index.dat stays.
  dir.MakeFile("history\\h1\\index.dat", 5, 'h');
  world.specialFolders = {{34, dir.Root()}};
  CleanItemResult result = ClearIndexDatFiles();
  EXPECT_EQ(result.reasons,
            std::vector<std::string>{"refused, the history folder: the folder is a drive root"});
  EXPECT_EQ(dir.Read("history\\h1\\index.dat"), "hhhhh");
}

TEST_F(CleanerTest, TheLastLineAndTheBalloonSayWhatEachItemLeftAndWhy) {
  auto& world = platform::posix::Cleaner();
  test::TestDir bin;
  bin.MakeFile("deleted.txt", "old");
  platform::posix::SetRecycleBin(bin.Root());
  platform::posix::SetRecycleBinFaults({false, true, 0});
  // The cookie and the history entry in use; Windows lists neither in a walk of the content.
  world.cache = {{"Cookie:ann@example.org/", kCookieCacheEntry},
                 {"Visited: ann@http://example.org/", kUrlHistoryCacheEntry},
                 {"http://example.org/page", 0}};
  world.lockedUrls = {"Cookie:ann@example.org/", "Visited: ann@http://example.org/"};
  dir.MakeDir("cookies");
  std::string indexDat = dir.MakeFile("cookies\\index.dat", 16, 'i');
  world.specialFolders = {{33, dir.Path("cookies")}};
  platform::File browser = platform::File::Open(indexDat, platform::Access::Write, platform::kShareNone,
                                                platform::Disposition::OpenExisting);
  Select({1, 5, 6, 7, 9});
  fSettings& main = Main();
  main.RunExclusive(true);
  const std::string line =
      "Clean Complete, except: Recycle Bin: not emptied, the shell left items in it; Cookies: 1 cookie could "
      "not be removed; URL History: 1 history entry could not be removed; Index.dat Files: 1 file in use";
  EXPECT_EQ(main.LblProgress.Caption(), line);
  EXPECT_EQ(platform::posix::LastTrayIcon().balloonText, line);
  // The window has a line of its own for each item left, in place of the idle file progress.
  EXPECT_TRUE(main.lblCleanOutcome.Visible());
  EXPECT_FALSE(main.ProgressBar2.Visible());
  EXPECT_EQ(
      main.lblCleanOutcome.Caption(),
      "Recycle Bin: not emptied, the shell left items in it\nCookies: 1 cookie could not be removed\nURL "
      "History: 1 history entry could not be removed\nIndex.dat Files: 1 file in use");
  EXPECT_FALSE(bin.Exists("deleted.txt")) << "what the bin held was wiped all the same";
  EXPECT_EQ(world.cache.size(), 2u) << "the page went";

  browser.Close();
  world.lockedUrls.clear();
  platform::posix::SetRecycleBin("");
  main.RunExclusive(true);
  EXPECT_EQ(main.LblProgress.Caption(), "Clean Complete.");
  EXPECT_EQ(platform::posix::LastTrayIcon().balloonText, kBackgroundEndText);
  EXPECT_FALSE(main.lblCleanOutcome.Visible());
  EXPECT_TRUE(main.ProgressBar2.Visible());
  EXPECT_TRUE(world.cache.empty());
}

TEST_F(CleanerTest, OnlyContinueInTheWarningStartsAManualRun) {
  AppSettings.ShowInfoDialog2 = 0;
  Select({2});
  fSettings& main = Main();
  fInfo2& warning = windows.Warning();
  for (int answer = 0; answer < 3; ++answer) {
    Key("Software\\Microsoft\\Search Assistant\\ACMru\\1");
    main.CmdClean.UserClick();
    ASSERT_TRUE(warning.Visible());
    EXPECT_FALSE(main.CmdClean.Enabled()) << "no second run while the warning is up";
    if (answer == 0) warning.cmdNo.UserClick();
    if (answer == 1) warning.UserClose();
    if (answer == 2) warning.cmdYes.UserClick();
    ui::Application::Get().RunDeferred();
    EXPECT_EQ(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"), answer != 2) << answer;
    EXPECT_TRUE(main.CmdClean.Enabled());
  }
}

TEST_F(CleanerTest, ATickDuringARunWaitsForItAndClosingDuringARunStopsItThenCloses) {
  fSettings& main = Main();
  Select({2, 4, 7});
  int ticks = 0;
  main.Timer1.SetInterval(100);
  main.Timer1.SetEnabled(true);
  main.Timer1.OnTimer = [&] {
    if (++ticks == 1) main.RunExclusive(true);  // a scheduled run asked for inside the manual one
  };
  main.RunExclusive(false);
  EXPECT_EQ(platform::posix::LastTrayIcon().balloons, 2) << "the scheduled run came after the manual one";

  Key("Software\\Microsoft\\Internet Explorer\\TypedURLs", "url1");
  // The tray's Exit in the middle of a run: the run stops before its next item, then the window goes.
  main.Timer1.OnTimer = [&] { main.RequestExit(); };
  main.RunExclusive(false);
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Internet Explorer\\TypedURLs"));
  EXPECT_EQ(main.LblProgress.Caption(), "Clean stopped.");
  ui::Application::Get().RunDeferred();
  ASSERT_FALSE(main.Loaded());
  main.Load();
  main.Timer1.SetInterval(100);
  main.Timer1.SetEnabled(true);
  main.Timer1.OnTimer = [&] { main.UserClose(); };
  main.RunExclusive(false);
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Internet Explorer\\TypedURLs")) << "stopped before item 7";
  EXPECT_TRUE(main.Loaded()) << "not while the run still touches the window";
  ui::Application::Get().RunDeferred();
  EXPECT_FALSE(main.Loaded());
}

TEST_F(CleanerTest, ModeOneCleansOnlyWhenTheSessionReallyEndsAndNeverForAnInstallerClosingIt) {
  AppSettings.AutoCleanMode = 1;
  Select({2});
  Key("Software\\Microsoft\\Search Assistant\\ACMru\\1");
  auto& world = platform::posix::Cleaner();
  fSettings& main = Main();
  main.RequestExit();
  ui::Application::Get().RunDeferred();
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru")) << "Exit runs no clean";

  // Asked, then called off: nothing is cleaned, the reason is taken back, the program goes on.
  main.Load();
  main.UserSessionQuery();
  EXPECT_EQ(world.shutdownBlockReason, "Nullora is cleaning up before Windows shuts down.");
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru")) << "a question cleans nothing";
  main.UserSessionEnd(false);
  EXPECT_EQ(world.shutdownBlockReason, "");
  EXPECT_TRUE(main.Loaded());

  // The Restart Manager closing programs for an installer: closed, not cleaned.
  main.UserSessionQuery(true);
  EXPECT_EQ(world.shutdownBlockReason, "");
  main.UserSessionEnd(true, true);
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"));
  EXPECT_FALSE(main.Loaded());

  // Asked, then ended: the clean runs with Windows told why it waits, then the program goes.
  main.Load();
  main.UserSessionQuery();
  world.shutdownBlockReason = "unset";
  main.UserSessionEnd(true);
  EXPECT_FALSE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"));
  EXPECT_EQ(world.shutdownBlockReason, "") << "asked to wait, then let go";
  EXPECT_FALSE(main.Loaded());
}

TEST_F(CleanerTest, StartedInDailyModeTheTimersTickAtTheMinuteRunsTheClean) {
  time.clock.Advance(86400000ULL - (time.clock.NowMs() % 86400000ULL) + 12 * 3600000ULL);  // 12:00:00
  SaveSetting("AutoClean Mode", "2");
  SaveSetting("Daily Run Time", "1201PM");
  SaveSetting("OpCleanKey2", "-1");
  // Showing a stored time of other digits than the lists' first ones leaves it as it is.
  AppSettings.DailyRunTime = "0705AM";
  windows.Settings().Load();
  EXPECT_EQ(AppSettings.DailyRunTime, "0705AM");
  windows.Settings().Unload();
  SaveSetting("OpShowInfoDialog2", "1");
  Key("Software\\Microsoft\\Search Assistant\\ACMru\\1");
  fStart start(windows, "");
  start.Load();
  ASSERT_TRUE(windows.Settings().Timer1.Running());
  time.clock.Advance(60000);
  ui::DoEvents();
  // The tick may have come from inside any message loop: the run waits for the program's own.
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru")) << "not inside the loop that ticked";
  ui::Application::Get().RunDeferred();
  EXPECT_FALSE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"));
  EXPECT_EQ(platform::posix::LastTrayIcon().balloonText, kBackgroundEndText);
}

TEST(Schedule, ADailyMinuteRunsOnceWhateverTheClocksDoAndOneTheyJumpOverIsNoted) {
  test::FakeTime time;
  ScheduleState state;
  const uint64_t hourMs = 3600000;
  // Sets the local time of day, as a change of the clock does, while the monotonic clock goes on.
  auto at = [&](uint64_t ms) {
    time.clock.SetLocalOffset(static_cast<int64_t>(ms) - static_cast<int64_t>(time.clock.NowMs() % 86400000));
  };
  // Summer time ends: 01:30 comes twice in one night.
  at(1 * hourMs + 30 * 60000);
  EXPECT_TRUE(ScheduleTickStartsRun(2, "0130AM", state));
  time.clock.Advance(hourMs);
  at(1 * hourMs + 30 * 60000);
  EXPECT_FALSE(ScheduleTickStartsRun(2, "0130AM", state)) << "the same date and minute again";
  // The clock set back over a run that came: no repeat.
  at(12 * hourMs + 1 * 60000);
  EXPECT_TRUE(ScheduleTickStartsRun(2, "1201PM", state));
  time.clock.Advance(60000);
  at(11 * hourMs + 59 * 60000);
  EXPECT_FALSE(ScheduleTickStartsRun(2, "1201PM", state));
  for (int minute = 0; minute < 3; ++minute) {
    time.clock.Advance(60000);
    at(12 * hourMs + minute * 60000);
    EXPECT_FALSE(ScheduleTickStartsRun(2, "1201PM", state));
  }
  // The next day it comes again.
  time.clock.Advance(60000);
  time.clock.SetLocalOffset(0);
  time.clock.Advance(86400000 - time.clock.NowMs() % 86400000 + 12 * hourMs + 60000);
  EXPECT_TRUE(ScheduleTickStartsRun(2, "1201PM", state));

  // A tick that came late, past the minute, still starts it.
  time.clock.Advance(23 * hourMs + 59 * 60000 + 30000);  // 12:00:30 the day after
  EXPECT_FALSE(ScheduleTickStartsRun(2, "1201PM", state));
  time.clock.Advance(90000);  // 12:02:00
  EXPECT_TRUE(ScheduleTickStartsRun(2, "1201PM", state));

  // Summer time starts: from 01:59 to 03:00 in one tick. 02:30 never comes; the user is told so once.
  ScheduleState spring;
  at(1 * hourMs + 59 * 60000);
  EXPECT_FALSE(ScheduleTickStartsRun(2, "0230AM", spring));
  time.clock.Advance(60000);
  at(3 * hourMs);
  EXPECT_FALSE(ScheduleTickStartsRun(2, "0230AM", spring));
  EXPECT_EQ(spring.note, "The daily clean at 02:30 AM did not run today: the clock skipped that time.");
  spring.note.clear();
  time.clock.Advance(60000);
  at(3 * hourMs + 60000);
  EXPECT_FALSE(ScheduleTickStartsRun(2, "0230AM", spring));
  EXPECT_EQ(spring.note, "");
}

TEST_F(CleanerTest, AScheduledRunWaitsForTheMessageLoopAndASecondStartHandsOverToTheFirst) {
  // A tick from inside the tray menu's loop, say: it neither runs the clean there nor loses it.
  time.clock.Advance(86400000ULL - (time.clock.NowMs() % 86400000ULL) + 12 * 3600000ULL + 60000);
  AppSettings.AutoCleanMode = 2;
  AppSettings.DailyRunTime = "1201PM";
  Select({2});
  Key("Software\\Microsoft\\Search Assistant\\ACMru\\1");
  fSettings& main = Main();
  main.Timer1_Timer();
  EXPECT_FALSE(main.CleanRunning());
  EXPECT_TRUE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"));
  ui::Application::Get().RunDeferred();
  EXPECT_FALSE(HasKey("Software\\Microsoft\\Search Assistant\\ACMru"));

  // Started again while it runs: no second main window or scheduler, the first one comes forward; at
  // logon the second copy ends quietly. A job is no second tray program.
  auto& world = platform::posix::Cleaner();
  EXPECT_GE(world.mainInstancePublished, 1);
  main.Hide();
  main.UserShowRequest();
  EXPECT_TRUE(main.Visible());
  world.otherMainInstance = true;
  for (const char* argument : {"", "StartUpMin"}) {
    AppWindows second;
    fStart start(second, argument);
    start.Load();
    EXPECT_FALSE(second.Settings().Loaded()) << argument;
  }
  EXPECT_EQ(world.showRequests, 1) << "only the start by hand asks the first to show";
  AppWindows job;
  fStart start(job, dir.MakeFile("a.txt", "x"));
  start.Load();
  EXPECT_TRUE(job.Files().Loaded());
}

TEST(Schedule, DailyAtItsMinuteOnceAndAfterTheBrowserClosedOnce) {
  test::FakeTime time;
  platform::posix::Cleaner() = {};
  ScheduleState state;
  time.clock.Advance(12 * 3600000ULL + 60000 - (time.clock.NowMs() % 86400000ULL));  // 12:01:00
  EXPECT_EQ(DailyTimeOf(time.clock.SecondsSinceMidnight()), "1201PM");
  EXPECT_FALSE(ScheduleTickStartsRun(2, "1202PM", state));
  EXPECT_TRUE(ScheduleTickStartsRun(2, "1201PM", state));
  time.clock.Advance(20000);
  EXPECT_FALSE(ScheduleTickStartsRun(2, "1201PM", state)) << "a late tick in the same minute";
  EXPECT_FALSE(ScheduleTickStartsRun(2, "1201pm", state));
  EXPECT_EQ(DailyTimeOf(5 * 60), "1205AM");

  auto& processes = platform::posix::Cleaner().processes;
  processes = {"IEXPLORE.EXE"};
  EXPECT_FALSE(ScheduleTickStartsRun(3, "", state));
  EXPECT_FALSE(ScheduleTickStartsRun(3, "", state)) << "the upper-case name is not the browser";
  processes = {"explorer.exe", "iexplore.exe"};
  EXPECT_FALSE(ScheduleTickStartsRun(3, "", state));
  EXPECT_FALSE(ScheduleTickStartsRun(3, "", state));
  processes = {"explorer.exe"};
  EXPECT_TRUE(ScheduleTickStartsRun(3, "", state));
  EXPECT_FALSE(ScheduleTickStartsRun(3, "", state));
  EXPECT_FALSE(ScheduleTickStartsRun(1, "", state));
}

}  // namespace
}  // namespace nullora
#endif
