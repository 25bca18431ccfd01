// The drive job, head-less: the drive's figures, the refusals, the free-space wipe and its texts.
#include <gtest/gtest.h>

#include "jobs/fDrive.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

#ifndef _WIN32
#include "platform/posix/head_less.h"
#endif

namespace nullora {
namespace {

TEST(GroupedNumber, GroupsDigitsByThrees) {
  EXPECT_EQ(GroupedNumber(0), "0");
  EXPECT_EQ(GroupedNumber(999), "999");
  EXPECT_EQ(GroupedNumber(1000), "1,000");
  EXPECT_EQ(GroupedNumber(1234567890123), "1,234,567,890,123");
}

TEST(FreeSpaceOutcomeText, DoneOnlyForACompletedWipe) {
  FreeSpaceResult done;
  done.completed = true;
  EXPECT_EQ(FreeSpaceOutcomeText(done, 1 << 20), "Done");
  EXPECT_EQ(FreeSpaceOutcomeText(done, 300), "Done: less than 500 bytes were free, nothing needed overwriting");
  FreeSpaceResult refused;
  refused.error = platform::IoError::AccessDenied;
  EXPECT_EQ(FreeSpaceOutcomeText(refused, 1 << 20), "Not wiped: access denied");
  FreeSpaceResult invalid;
  invalid.invalidPasses = true;
  EXPECT_EQ(FreeSpaceOutcomeText(invalid, 1 << 20), "Not wiped: the number of passes must be 0 to 255");
}

class DriveJobTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::Get().Reset(); }
  void TearDown() override { ui::Application::Get().Reset(); }
  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  fDrive dialog;
};

TEST_F(DriveJobTest, TheConfirmationShowsTheDrivesFigures) {
  DrivePath = dir.Root();
  dialog.Show();
  EXPECT_EQ(dialog.Caption(), "Nullora - Removing Free Space");
  EXPECT_GT(dialog.TotalBytes, 0u);
  const std::string expected =
      "Local Disk: " + dir.Root() + "\r\n Total Number Of Bytes: " + GroupedNumber(dialog.TotalBytes) +
      " bytes\r\n Total Free Bytes: " + GroupedNumber(static_cast<uint64_t>(dialog.FreeBytes)) +
      " bytes\r\n Total Space Used : " + GroupedNumber(dialog.TotalBytes - static_cast<uint64_t>(dialog.FreeBytes)) +
      " bytes";
  EXPECT_EQ(dialog.Label1.Caption(), expected);
}

#ifndef _WIN32
TEST_F(DriveJobTest, YesOverwritesTheFreeSpaceAndLeavesNoFillFile) {
  SaveSetting("OpMethod", "4");  // the scheme has no effect on free space
  SaveSetting("OpPasses", "2");
  std::string lower = dir.Root();
  lower[0] = static_cast<char>(std::tolower(lower[0]));
  DrivePath = lower;
  dialog.Show();
  dialog.FreeBytes = 8000;  // a test must never fill the host's disk
  std::vector<int> bar;
  test::IoRecorder recorder;
  recorder.dryFlushes = true;
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_EQ(dialog.lblOptions.Caption(), "Scheme : Delete Only.  Passes: 2.");
  EXPECT_EQ(dialog.ProgressBar1.Value(), 100);
  EXPECT_EQ(recorder.Writes().size(), 2u * 3000u);
  EXPECT_EQ(recorder.Writes().front().path, lower.substr(0, 1) + ":\\WNXTEMP.000");
  EXPECT_TRUE(dir.List().empty());
}

TEST_F(DriveJobTest, TheLocationAndPassTextsFollowThePassCount) {
  SaveSetting("OpPasses", "3");
  DrivePath = dir.Root();
  dialog.Show();
  dialog.FreeBytes = 3000;
  std::vector<std::string> location, status;
  dialog.GM.OverallProgressDisk = [&](uint8_t) {
    location.push_back(dialog.lblLocation.Text());
    status.push_back(dialog.lblscheme.Caption());
  };
  test::IoRecorder recorder;
  recorder.dryFlushes = true;
  dialog.cmdYes.UserClick();
  EXPECT_EQ(location.back(), "Wiping " + dir.Root() + " Free Space.");
  EXPECT_EQ(status, (std::vector<std::string>{"", "Overwriting ... 1 of 3", "Overwriting ... 2 of 3",
                                              "Overwriting ... 3 of 3"}));
}

TEST_F(DriveJobTest, ANetworkPathOrAMissingDriveIsRefusedAndNothingIsTouched) {
  for (const char* path : {"\\\\server\\share\\", "Q:\\"}) {
    SCOPED_TRACE(path);
    ui::Application::Get().Reset();
    platform::posix::ClearShownMessages();
    DrivePath = path;
    test::IoRecorder recorder;
    fDrive job;
    EXPECT_THROW(job.Show(), ui::ProcessEnded);
    EXPECT_NE(platform::posix::LastShownMessage().find("Nothing was touched."), std::string::npos);
    EXPECT_TRUE(recorder.events.empty());
  }
}
#endif

}  // namespace
}  // namespace nullora
