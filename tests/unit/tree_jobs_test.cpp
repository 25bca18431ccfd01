// The folder and Recycle Bin jobs, head-less: every file wiped, folders removed deepest first, what
// could not be done counted, nothing outside the target touched.
#include <gtest/gtest.h>

#include "app/fStart.h"
#include "jobs/fFolders.h"
#include "jobs/fRecycle.h"
#include "platform/platform.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

#ifndef _WIN32
#include "platform/posix/head_less.h"
#include "platform/posix/posix_stand_in.h"
#endif

namespace nullora {
namespace {

class FolderJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    SaveSetting("OpMethod", "0");  // one pass keeps the runs short
  }
  void TearDown() override { ui::Application::Get().Reset(); }

  void Run(const std::string& folder) {
    FolderPath = folder;
    dialog.Show();
    dialog.cmdYes.UserClick();
  }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  fFolders dialog;
};

TEST_F(FolderJobTest, TheConfirmationNamesTheFolderOnTwoLines) {
  FolderPath = "C:\\Data";
  dialog.Show();
  EXPECT_EQ(dialog.Caption(), "Nullora - Removing a Folder");
  EXPECT_EQ(dialog.Label1.Caption(), "Folder: C:\\Data\r\nwill be wiped then deleted!");
  EXPECT_GE(dialog.List1.Left(), 6975) << "the logs stay out of sight";
}

TEST_F(FolderJobTest, ANestedTreeIsWipedThenRemovedDeepestFirst) {
  std::string root = dir.MakeDir("tree");
  dir.MakeDir("tree\\a\\b\\c");
  dir.MakeFile("tree\\top.txt", "1");
  dir.MakeFile("tree\\a\\mid.txt", "2");
  std::string hidden = dir.MakeFile("tree\\a\\b\\c\\deep.txt", "3");
  platform::SetFileAttributes(hidden, platform::kAttrHidden | platform::kAttrReadOnly);
  test::IoRecorder recorder;
  Run(root);

  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_EQ(dialog.Command6.Caption(), "&Exit");
  EXPECT_FALSE(dir.Exists("tree"));
  EXPECT_EQ(dialog.List1.ListCount(), 3);
  EXPECT_EQ(dialog.List1.List(0), root + "\\top.txt");
  ASSERT_EQ(dialog.List2.ListCount(), 4);
  EXPECT_EQ(dialog.List2.List(0), root + "\\a\\b\\c");
  EXPECT_EQ(dialog.List2.List(1), root + "\\a\\b");
  EXPECT_EQ(dialog.List2.List(2), root + "\\a");
  EXPECT_EQ(dialog.List2.List(3), root);
  // All files were overwritten before the first folder went.
  EXPECT_EQ(recorder.Count(test::IoEvent::Flush), 3u);
  EXPECT_EQ(dialog.lblOptions.Caption(), "Scheme : One Random Pass.  Passes: 7.");
}

TEST_F(FolderJobTest, AnEmptyFolderIsRemoved) {
  Run(dir.MakeDir("empty"));
  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_FALSE(dir.Exists("empty"));
}

TEST_F(FolderJobTest, AFileInUseIsCountedAndKeepsItsFolder) {
  std::string root = dir.MakeDir("tree");
  dir.MakeFile("tree\\free.txt", "a");
  std::string busy = dir.MakeFile("tree\\busy.txt", "secret");
  platform::File holder =
      platform::File::Open(busy, platform::Access::ReadWrite, platform::kShareRead, platform::Disposition::OpenExisting);
  Run(root);
  holder.Close();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not all wiped: 1 of 2 files could not be wiped; 1 folder could not be removed");
  EXPECT_EQ(dir.Read("tree\\busy.txt"), "secret");
  EXPECT_FALSE(dir.Exists("tree\\free.txt"));
}

TEST_F(FolderJobTest, APeriodNamedSubfolderIsLeftAndSaid) {
  std::string root = dir.MakeDir("tree");
  dir.MakeDir("tree\\.git");
  dir.MakeFile("tree\\.git\\config", "c");
  Run(root);
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not all wiped: 1 folder could not be removed");
  EXPECT_EQ(dir.Read("tree\\.git\\config"), "c");
}

TEST_F(FolderJobTest, AFolderThatVanishedIsReported) {
  std::string root = dir.MakeDir("gone");
  FolderPath = root;
  dialog.Show();
  std::filesystem::remove(dir.HostPath("gone"));
  dialog.cmdYes.UserClick();
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not wiped: nothing was found there");
}

TEST_F(FolderJobTest, ManyFilesAreAllWiped) {
  SaveSetting("OpMethod", "4");
  std::string root = dir.MakeDir("many");
  for (int i = 0; i < test::kManyFiles; ++i) dir.MakeFile("many\\f" + std::to_string(i), "x");
  Run(root);
  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_FALSE(dir.Exists("many"));
}

#ifndef _WIN32
// Links: checked in the workbench, where host links to files are links (under Wine they are not).
TEST_F(FolderJobTest, ALinkInTheTreeIsRemovedAsALinkAndWhatItPointsToStaysIntact) {
  test::TestDir outside;
  outside.MakeDir("secret");
  outside.MakeFile("secret\\keep.txt", "precious");
  outside.MakeFile("file.txt", "also precious");
  std::string root = dir.MakeDir("tree");
  dir.MakeFile("tree\\mine.txt", "m");
  std::filesystem::create_directory_symlink(outside.HostPath("secret"), dir.HostPath("tree\\dirlink"));
  std::filesystem::create_symlink(outside.HostPath("file.txt"), dir.HostPath("tree\\filelink"));
  Run(root);
  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_FALSE(dir.Exists("tree"));
  EXPECT_EQ(outside.Read("secret\\keep.txt"), "precious");
  EXPECT_EQ(outside.Read("file.txt"), "also precious");
}

TEST_F(FolderJobTest, AFileWithAnotherHardLinkIsUnlinkedNotOverwritten) {
  test::TestDir outside;
  outside.MakeFile("shared.txt", "shared data");
  std::string root = dir.MakeDir("tree");
  std::filesystem::create_hard_link(outside.HostPath("shared.txt"), dir.HostPath("tree\\hard.txt"));
  Run(root);
  EXPECT_EQ(dialog.lblscheme.Caption(), "Not all wiped: 1 of 1 files could not be wiped");
  EXPECT_FALSE(dir.Exists("tree"));
  EXPECT_EQ(outside.Read("shared.txt"), "shared data");
}

TEST_F(FolderJobTest, AFolderSwappedForALinkAfterTheListingIsNotFollowed) {
  test::TestDir outside;
  outside.MakeDir("victim");
  outside.MakeFile("victim\\f.txt", "precious");
  std::string root = dir.MakeDir("tree");
  dir.MakeDir("tree\\sub");
  dir.MakeFile("tree\\sub\\f.txt", "mine");
  dir.MakeFile("tree\\a.txt", "first");
  // While the first file is wiped, "sub" is replaced by a link to the outside folder.
  bool swapped = false;
  struct Swap : test::IoRecorder {
    std::function<void()> onFirstWrite;
    platform::IoError OnWrite(const std::string& p, uint64_t o, std::span<const uint8_t> b) override {
      if (onFirstWrite) std::exchange(onFirstWrite, nullptr)();
      return IoRecorder::OnWrite(p, o, b);
    }
  } recorder;
  recorder.onFirstWrite = [&] {
    std::filesystem::remove_all(dir.HostPath("tree\\sub"));
    std::filesystem::create_directory_symlink(outside.HostPath("victim"), dir.HostPath("tree\\sub"));
    swapped = true;
  };
  Run(root);
  ASSERT_TRUE(swapped);
  EXPECT_EQ(outside.Read("victim\\f.txt"), "precious");
}

TEST(RecycleJob, AnEmptyBinSaysSoAndEndsWithoutTheDialog) {
  ui::Application::Get().Reset();
  test::TestDir bin;
  platform::posix::SetRecycleBin(bin.Root());
  platform::posix::ClearShownMessages();
  fRecycle dialog;
  EXPECT_THROW(dialog.Show(), ui::ProcessEnded);
  EXPECT_EQ(platform::posix::LastShownMessage(), "The Recycle bin is empty");
  EXPECT_FALSE(dialog.Visible());
  platform::posix::SetRecycleBin("");
  ui::Application::Get().Reset();
}

TEST(RecycleJob, WipesTheRecycledFoldersOfFixedDrivesAndWhatTheShellHoldsThenEmptiesIt) {
  ui::Application::Get().Reset();
  test::SettingsSandbox settings;
  test::FakeTime time;
  test::TestDir fixedC, removable, bin;
  platform::posix::MapDrive(removable.Root()[0], removable.HostPath("").string(), 2);
  fixedC.MakeDir("recycled\\nested");
  fixedC.MakeFile("recycled\\old.txt", "o");
  fixedC.MakeFile("recycled\\nested\\older.txt", "o");
  removable.MakeDir("recycled");
  removable.MakeFile("recycled\\stay.txt", "removable drives are not visited");
  bin.MakeFile("$R1.txt", "in the bin");
  bin.MakeDir("$R2");
  bin.MakeFile("$R2\\inner.txt", "in a binned folder");
  platform::posix::SetRecycleBin(bin.Root());
  const int emptiedBefore = platform::posix::RecycleBinEmptied();

  fRecycle dialog;
  dialog.Show();
  EXPECT_EQ(dialog.Label1.Caption(), "All the items in the Recycle Bin     will be wipped and then Deleted!");
  test::IoRecorder recorder;
  dialog.cmdYes.UserClick();

  EXPECT_EQ(dialog.lblscheme.Caption(), "Done");
  EXPECT_EQ(dialog.lblOptions.Caption(), "Scheme : U.S DoD 5200,28-STD.  Passes: 1.");
  EXPECT_TRUE(std::find(dialog.DriveList.begin(), dialog.DriveList.end(), fixedC.Root()) != dialog.DriveList.end());
  EXPECT_TRUE(std::find(dialog.DriveList.begin(), dialog.DriveList.end(), removable.Root()) == dialog.DriveList.end());
  EXPECT_TRUE(fixedC.Exists("recycled"));
  EXPECT_FALSE(fixedC.Exists("recycled\\old.txt"));
  EXPECT_FALSE(fixedC.Exists("recycled\\nested"));
  EXPECT_EQ(removable.Read("recycled\\stay.txt"), "removable drives are not visited");
  EXPECT_TRUE(bin.List().empty());
  // Four files overwritten (DoD, one cycle: four sweeps each) before the shell emptied the bin.
  EXPECT_EQ(recorder.Count(test::IoEvent::Flush), 16u);
  EXPECT_EQ(platform::posix::RecycleBinEmptied(), emptiedBefore + 1);
  EXPECT_EQ(dialog.Image2.ResourceId(), dialog.Image3.ResourceId());
  platform::posix::SetRecycleBin("");
  ui::Application::Get().Reset();
}
#endif

TEST(DriveTypeName, NamesEachCode) {
  EXPECT_EQ(DriveTypeName(0), "Unknown Drive Type");
  EXPECT_EQ(DriveTypeName(1), "Drive does not exist");
  EXPECT_EQ(DriveTypeName(2), "Removable Media");
  EXPECT_EQ(DriveTypeName(3), "Fixed Drive");
  EXPECT_EQ(DriveTypeName(4), "Network Drive");
  EXPECT_EQ(DriveTypeName(5), "CD Rom");
  EXPECT_EQ(DriveTypeName(6), "Ram Disk");
  EXPECT_EQ(DriveTypeName(7), "");
}

}  // namespace
}  // namespace nullora
