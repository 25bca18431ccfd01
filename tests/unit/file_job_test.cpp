// The file job from confirmation through the wipe to Done and Exit, head-less.
#include <gtest/gtest.h>

#include "app/fStart.h"
#include "jobs/fFiles.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

namespace nullora {
namespace {

class FileJobTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::Get().Reset(); }
  void TearDown() override { ui::Application::Get().Reset(); }

  // Opens the dialog on `path` the way start-up does.
  void Open(const std::string& path) {
    FilePath = path;
    dialog.Show();
  }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  fFiles dialog;
};

TEST_F(FileJobTest, TheConfirmationViewNamesTheFile) {
  Open("C:\\Docs\\a.txt");
  EXPECT_EQ(dialog.Caption(), "Nullora - Removing a File");
  EXPECT_EQ(dialog.Label1.Caption(), "The File: C:\\Docs\\a.txt will be wiped then deleted!");
  EXPECT_EQ(dialog.Label2.Caption(), "Continue this operation?");
  EXPECT_EQ(dialog.cmdYes.Caption(), "Yes");
  EXPECT_EQ(dialog.cmdCancel.Caption(), "Cancel");
  EXPECT_EQ(dialog.cmdOptions.Caption(), "Options");
  EXPECT_TRUE(dialog.Frame1.Visible());
  EXPECT_FALSE(dialog.Frame2.Visible());
  EXPECT_EQ(dialog.Height(), 2800);
  EXPECT_EQ(dialog.Width(), 7050);
  EXPECT_GE(dialog.Frame2.Top(), dialog.Frame1.Top() + dialog.Frame1.Height())
      << "the progress view waits below";
  EXPECT_EQ(dialog.BackColor(), 0xF7F3F3u);
  EXPECT_EQ(dialog.lblscheme.Caption(), "");
  EXPECT_EQ(dialog.Command6.Caption(), "Stop");
  EXPECT_FALSE(dialog.cmdOptions.Enabled()) << "no options dialog is attached";
}

TEST_F(FileJobTest, YesWipesWithTheDefaultSchemeAndEndsInDone) {
  std::string path = dir.MakeFile("a.txt", "secret");
  Open(path);
  test::IoRecorder recorder;
  dialog.cmdYes.UserClick();

  EXPECT_FALSE(dialog.Frame1.Visible());
  EXPECT_TRUE(dialog.Frame2.Visible());
  EXPECT_EQ(dialog.Frame2.Top(), dialog.Frame1.Top());
  EXPECT_EQ(dialog.Frame2.Left(), dialog.Frame1.Left());
  EXPECT_EQ(dialog.lblOptions.Caption(), "Scheme : U.S DoD 5200,28-STD.  Passes: 7.");
  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_EQ(dialog.lblLocation.Text(), "");
  EXPECT_EQ(dialog.Command6.Caption(), "&Exit");
  EXPECT_EQ(dialog.CurrentState(), JobDialog::State::Done);
  EXPECT_FALSE(dir.Exists("a.txt"));
  // The default is DoD with seven cycles: 28 sweeps, 7 pauses.
  EXPECT_EQ(recorder.Count(test::IoEvent::Flush), 28u);
  EXPECT_EQ(time.clock.SleptMs(), 7u * 500u);
  EXPECT_TRUE(ui::Application::Get().AnyFormLoaded()) << "the dialog stays until the user leaves";
}

TEST_F(FileJobTest, ExitEndsTheProcess) {
  std::string path = dir.MakeFile("a.txt", "secret");
  Open(path);
  dialog.cmdYes.UserClick();
  EXPECT_THROW(dialog.Command6.UserClick(), ui::ProcessEnded);
}

TEST_F(FileJobTest, CancelTouchesNothingAndUnloadsTheLastWindow) {
  std::string path = dir.MakeFile("a.txt", "secret");
  Open(path);
  test::IoRecorder recorder;
  dialog.cmdCancel.UserClick();
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_FALSE(ui::Application::Get().AnyFormLoaded());
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_EQ(dir.Read("a.txt"), "secret");
}

TEST_F(FileJobTest, EachStoredSchemeRunsItsRoutine) {
  struct Case {
    const char* method;
    const char* passes;
    const char* shown;
    size_t flushes;  // what the routine's sweeps leave on record
  };
  const Case cases[] = {
      {"0", "7", "Scheme : One Random Pass.  Passes: 7.", 1},
      {"3", "4", "Scheme : Custom.  Passes: 4.", 4},
      {"4", "0", "Scheme : Delete Only.  Passes: 0.", 0},
      {"2", "1", "Scheme : Gutmann.  Passes: 1.", 35 * 15 + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    SaveSetting("OpMethod", c.method);
    SaveSetting("OpPasses", c.passes);
    fFiles job;
    FilePath = dir.MakeFile("a.txt", "hello");
    job.Show();
    test::IoRecorder recorder;
    job.cmdYes.UserClick();
    EXPECT_EQ(job.lblOptions.Caption(), c.shown);
    EXPECT_EQ(job.lblscheme.Caption(), "Done");
    EXPECT_EQ(recorder.Count(test::IoEvent::Flush), c.flushes);
    EXPECT_FALSE(dir.Exists("a.txt"));
    job.Unload();
  }
}

TEST_F(FileJobTest, AStoredPassCountBelowOneStillOverwritesOnceAndSaysSo) {
  // DoD writes four sweeps a cycle, Custom one; a count that is no number is the job's default, 7.
  const struct {
    const char* method;
    const char* passes;
    const char* shown;
    size_t flushes;
  } cases[] = {
      {"3", "0", "Scheme : Custom.  Passes: 1.", 1},
      {"3", "-4", "Scheme : Custom.  Passes: 1.", 1},
      {"1", "0", "Scheme : U.S DoD 5200,28-STD.  Passes: 1.", 4},
      {"1", "-4", "Scheme : U.S DoD 5200,28-STD.  Passes: 1.", 4},
      {"3", "abc", "Scheme : Custom.  Passes: 7.", 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " / " + c.passes);
    SaveSetting("OpMethod", c.method);
    SaveSetting("OpPasses", c.passes);
    fFiles job;
    FilePath = dir.MakeFile("a.txt", "secret");
    job.Show();
    test::IoRecorder recorder;
    job.cmdYes.UserClick();
    EXPECT_EQ(job.lblOptions.Caption(), c.shown);
    EXPECT_EQ(recorder.Count(test::IoEvent::Flush), c.flushes);
    ASSERT_FALSE(recorder.Writes().empty());
    EXPECT_EQ(recorder.Writes().back().bytes.size(), 6u) << "the last pass covers the whole file";
    EXPECT_EQ(job.lblscheme.Caption(), "Done");
    EXPECT_FALSE(dir.Exists("a.txt"));
    job.Unload();
  }
}

TEST_F(FileJobTest, TheGutmannSchemeCountsItsThirtyFivePasses) {
  SaveSetting("OpMethod", "2");
  SaveSetting("OpPasses", "7");
  std::string path = dir.MakeFile("a.txt", "hello");
  Open(path);
  std::vector<std::string> captions;
  dialog.GM.OverallProgress = [&](uint8_t) { captions.push_back(dialog.lblscheme.Caption()); };
  dialog.cmdYes.UserClick();
  ASSERT_EQ(captions.size(), 35u);
  EXPECT_EQ(captions[0], "Overwriting ... 1 of 35");
  EXPECT_EQ(captions[34], "Overwriting ... 35 of 35");
  EXPECT_EQ(dialog.ProgressBar1.Value(), 100);
}

TEST_F(FileJobTest, AFileThatVanishedIsReportedNotDone) {
  Open(dir.Path("gone.txt"));
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not wiped: nothing was found there");
  EXPECT_EQ(dialog.Command6.Caption(), "&Exit");
  EXPECT_FALSE(dir.Exists("gone.txt"));
}

TEST_F(FileJobTest, AFileInUseIsReportedAndKept) {
  std::string path = dir.MakeFile("busy.txt", "secret");
  platform::File holder = platform::File::Open(path, platform::Access::ReadWrite, platform::kShareRead,
                                               platform::Disposition::OpenExisting);
  Open(path);
  dialog.cmdYes.UserClick();
  holder.Close();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not wiped: the file is in use");
  EXPECT_EQ(dir.Read("busy.txt"), "secret");
}

TEST_F(FileJobTest, AnUnknownSchemeWipesNothingAndSaysSo) {
  SaveSetting("OpMethod", "01");
  std::string path = dir.MakeFile("a.txt", "secret");
  Open(path);
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblOptions.Caption(), "Scheme : .  Passes: 7.");
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not wiped: the wipe scheme setting is not valid");
  EXPECT_EQ(dir.Read("a.txt"), "secret");
}

TEST_F(FileJobTest, OptionsChangedBeforeYesAreTheOnesUsed) {
  std::string path = dir.MakeFile("a.txt", "secret");
  bool opened = false;
  dialog.ShowOptionsDialog = [&] {
    opened = true;
    SaveSetting("OpMethod", "4");
  };
  Open(path);
  dialog.cmdOptions.UserClick();
  EXPECT_TRUE(opened);
  EXPECT_EQ(dialog.CurrentState(), JobDialog::State::Confirm);
  test::IoRecorder recorder;
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblOptions.Caption(), "Scheme : Delete Only.  Passes: 7.");
  EXPECT_TRUE(recorder.Writes().empty());
  EXPECT_FALSE(dir.Exists("a.txt"));
}

TEST_F(FileJobTest, StopWhileWipingEndsTheProcessAndLeavesTheFile) {
  SaveSetting("OpMethod", "2");
  std::string path = dir.MakeFile("a.txt", "0123456789");
  Open(path);
  dialog.GM.OverallProgress = [&](uint8_t) { dialog.Command6.UserClick(); };
  EXPECT_THROW(dialog.cmdYes.UserClick(), ui::ProcessEnded);
  EXPECT_TRUE(dir.Exists("a.txt"));
}

TEST_F(FileJobTest, ClosingTheWindowWhileWipingIsStop) {
  SaveSetting("OpMethod", "2");
  std::string path = dir.MakeFile("a.txt", "0123456789");
  Open(path);
  dialog.GM.OverallProgress = [&](uint8_t) { dialog.UserClose(); };
  EXPECT_THROW(dialog.cmdYes.UserClick(), ui::ProcessEnded);
}

TEST(StartUp, AFileArgumentOpensOnlyTheFileJobAndStartUpUnloadsItself) {
  ui::Application::Get().Reset();
  test::SettingsSandbox settings;
  test::TestDir dir;
  std::string path = dir.MakeFile("a.txt", "x");
  AppWindows windows;
  fStart start(windows, path);
  start.Load();
  EXPECT_FALSE(start.Loaded());
  ASSERT_EQ(ui::Application::Get().LoadedForms().size(), 1u);
  EXPECT_EQ(ui::Application::Get().LoadedForms()[0], &windows.Files());
  EXPECT_TRUE(windows.Files().Visible());
  EXPECT_EQ(FilePath, path);
  EXPECT_EQ(dir.Read("a.txt"), "x");
  ui::Application::Get().Reset();
}

TEST(StartUp, AMissingPathOpensTheFileJobThatReportsNothingFound) {
  ui::Application::Get().Reset();
  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  AppWindows windows;
  fStart start(windows, dir.Path("nothing-here.txt"));
  start.Load();
  windows.Files().cmdYes.UserClick();
  EXPECT_EQ(windows.Files().lblscheme.Caption(), "Not wiped: nothing was found there");
  EXPECT_TRUE(dir.List().empty());
  ui::Application::Get().Reset();
}

}  // namespace
}  // namespace nullora
