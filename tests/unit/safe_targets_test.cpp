// Nothing outside the target, whatever the argument: devices refused, relative arguments shown as the
// full paths they resolve to, links and extra names left alone, and outcomes that say what was left.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/fStart.h"
#include "engine/directory_walk.h"
#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "jobs/fDrive.h"
#include "jobs/fFiles.h"
#include "jobs/fFolders.h"
#include "jobs/fRecycle.h"
#include "jobs/job_status.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

#ifndef _WIN32
#include <sys/stat.h>

#include "platform/posix/head_less.h"
#include "platform/posix/posix_stand_in.h"
#endif

namespace nullora {
namespace {

using platform::IoError;

TEST(StartUpArguments, DevicesAndVolumesAreToldApartFromFilesAndFolders) {
  for (const char* device :
       {"\\\\.\\PhysicalDrive0", "\\\\.\\C:", "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x",
        "\\\\?\\Volume{0123}\\", "\\??\\C:\\x", "CON", "nul", "COM1", "lpt9", "C:\\x\\NUL", "C:\\x\\com1.txt",
        "T:\\x\\Con ", "AUX.log", "CONOUT$"}) {
    EXPECT_TRUE(fStart::NamesADevice(device)) << device;
  }
  for (const char* path :
       {"C:\\x\\a.txt", "\\\\?\\C:\\x\\NUL", "\\\\?\\UNC\\server\\share\\a", "\\\\server\\share\\a",
        "NULL.txt", "COM10", "COM0", "console", "C:\\nul\\a.txt", "C:\\", "Recycled"}) {
    EXPECT_FALSE(fStart::NamesADevice(path)) << path;
  }
}

#ifndef _WIN32  // the current directory and drive roots of the workbench's stand-in

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    platform::posix::ClearShownMessages();
    platform::posix::SetCurrentDirectory(dir.Path("work"));
    dir.MakeDir("work");
  }
  void TearDown() override {
    platform::posix::SetCurrentDirectory("C:\\");
    ui::Application::Get().Reset();
  }
  std::string Drive() const { return dir.Root().substr(0, 2); }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  AppWindows windows;
};

TEST_F(StartUpTest, RelativeArgumentsAreMadeFullAndFullOnesStayAsGiven) {
  const std::string d = Drive();
  EXPECT_EQ(fStart::ResolveTarget("Q:"), "Q:\\");
  EXPECT_EQ(fStart::ResolveTarget(d), d + "\\") << "a bare letter is the drive, even the current one";
  EXPECT_EQ(fStart::ResolveTarget(d + "foo"), d + "\\work\\foo");
  EXPECT_EQ(fStart::ResolveTarget("Q:foo"), "Q:\\foo");
  EXPECT_EQ(fStart::ResolveTarget("foo"), d + "\\work\\foo");
  EXPECT_EQ(fStart::ResolveTarget("..\\foo\\"), d + "\\foo\\");
  EXPECT_EQ(fStart::ResolveTarget("\\foo"), d + "\\foo");
  EXPECT_EQ(fStart::ResolveTarget("C:\\a\\..\\b"), "C:\\a\\..\\b");
  EXPECT_EQ(fStart::ResolveTarget("\\\\server\\share\\x"), "\\\\server\\share\\x");
}

TEST_F(StartUpTest, AFolderWhoseFullPathIsADriveRootIsTheDriveJob) {
  dir.MakeDir("tree");
  std::string target = dir.Path("tree\\..");
  EXPECT_EQ(fStart::ClassifyTarget(target), "Drive");
  EXPECT_EQ(target, dir.Root());
  target = dir.Path("tree");
  EXPECT_EQ(fStart::ClassifyTarget(target), "Folder");
  target = dir.Path("tree\\");
  EXPECT_EQ(fStart::ClassifyTarget(target), "Drive") << "the verbatim rule for a trailing backslash stays";
}

TEST_F(StartUpTest, ARelativeFolderIsAskedAboutAndWipedByItsFullPath) {
  dir.MakeDir("work\\tree");
  dir.MakeFile("work\\tree\\a.txt", "a");
  dir.MakeFile("work\\keep.txt", "k");
  fStart start(windows, "tree");
  start.Load();
  EXPECT_EQ(FolderPath, dir.Path("work\\tree"));
  EXPECT_EQ(windows.Folders().Label1.Caption(),
            "Folder: " + dir.Path("work\\tree") + "\r\nwill be wiped then deleted!");
  windows.Folders().cmdYes.UserClick();
  EXPECT_EQ(windows.Folders().lblscheme.Caption(), "Done");
  EXPECT_FALSE(dir.Exists("work\\tree"));
  EXPECT_EQ(dir.Read("work\\keep.txt"), "k");
}

TEST_F(StartUpTest, ABareDriveLetterOrAFolderAtTheRootIsTheDriveJobNeverAFolderWipe) {
  dir.MakeFile("work\\keep.txt", "k");
  for (const std::string& argument : {Drive(), dir.Path("work\\..")}) {
    ui::Application::Get().Reset();
    AppWindows fresh;
    fStart start(fresh, argument);
    start.Load();
    ASSERT_EQ(ui::Application::Get().LoadedForms().size(), 1u) << argument;
    EXPECT_EQ(ui::Application::Get().LoadedForms()[0], &fresh.Drive()) << argument;
    EXPECT_EQ(DrivePath, dir.Root()) << argument;
  }
  EXPECT_EQ(dir.Read("work\\keep.txt"), "k");
}

TEST_F(StartUpTest, ADeviceIsRefusedBeforeAnyWindowOpens) {
  fStart start(windows, "NUL");
  start.Load();
  EXPECT_TRUE(ui::Application::Get().LoadedForms().empty());
  EXPECT_EQ(platform::posix::LastShownMessage(),
            "NUL names a device or a volume, not a file or folder. Nothing was touched.");
}

// --- links, other names, devices -------------------------------------------------------------------

TEST_F(StartUpTest, AFolderArgumentThatIsALinkLosesTheLinkOnlyAndSaysSo) {
  test::TestDir outside;
  outside.MakeFile("keep.txt", "precious");
  std::filesystem::create_directory_symlink(outside.HostPath(""), dir.HostPath("linked"));
  fStart start(windows, dir.Path("linked"));
  start.Load();
  windows.Folders().cmdYes.UserClick();
  EXPECT_EQ(windows.Folders().lblscheme.Caption(), "Link removed: what it points to was not wiped");
  EXPECT_FALSE(dir.Exists("linked"));
  EXPECT_EQ(outside.Read("keep.txt"), "precious");
}

TEST_F(StartUpTest, AWalkNeverEntersARootThatIsALink) {
  test::TestDir outside;
  outside.MakeDir("sub");
  outside.MakeFile("sub\\f.txt", "precious");
  std::filesystem::create_directory_symlink(outside.HostPath(""), dir.HostPath("recycled"));
  std::vector<std::string> directories{"stale"}, files;
  ScanDir(dir.Path("recycled\\"), directories, files);
  EXPECT_TRUE(directories.empty());
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(GetFilesInDirs(dir.Path("recycled"), "", directories, true), 0u);
}

TEST_F(StartUpTest, AFileWithOtherNamesLosesThisNameOnlyAndSaysSo) {
  test::TestDir outside;
  outside.MakeFile("shared.txt", "shared data");
  std::filesystem::create_hard_link(outside.HostPath("shared.txt"), dir.HostPath("hard.txt"));
  fStart start(windows, dir.Path("hard.txt"));
  start.Load();
  windows.Files().cmdYes.UserClick();
  EXPECT_EQ(windows.Files().lblscheme.Caption(),
            "Name removed: the file has other names, so its data was not wiped");
  EXPECT_FALSE(dir.Exists("hard.txt"));
  EXPECT_EQ(outside.Read("shared.txt"), "shared data");
}

TEST_F(StartUpTest, APipeInPlaceOfAFileIsNeverWrittenOrWaitedOn) {
  ASSERT_EQ(mkfifo(dir.HostPath("pipe").c_str(), 0600), 0);
  fStart start(windows, dir.Path("pipe"));
  start.Load();
  windows.Files().cmdYes.UserClick();
  EXPECT_EQ(windows.Files().lblscheme.Caption(), "Not wiped: it is a device, not a file");
  EXPECT_TRUE(dir.Exists("pipe"));
}

TEST_F(StartUpTest, AFillFileThatIsALinkOrHasOtherNamesIsLeftAloneAndNothingIsWritten) {
  test::TestDir outside;
  outside.MakeFile("victim.txt", "precious");
  std::filesystem::create_symlink(outside.HostPath("victim.txt"), dir.HostPath(kFillFileName));
  Gutmann gm;
  FreeSpaceResult viaLink = gm.SecureFreeSpaceWipe(Drive(), 100000, 1);
  EXPECT_FALSE(viaLink.completed);
  EXPECT_EQ(FreeSpaceOutcomeText(viaLink, 100000),
            "Not wiped: WNXTEMP.000 in the drive's root is a link or has other names; it was left alone and "
            "nothing "
            "was written");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.HostPath(kFillFileName)));
  std::filesystem::remove(dir.HostPath(kFillFileName));
  std::filesystem::create_hard_link(outside.HostPath("victim.txt"), dir.HostPath(kFillFileName));
  EXPECT_EQ(gm.SecureFreeSpaceWipe(Drive(), 100000, 1).error, IoError::HasOtherNames);
  EXPECT_EQ(outside.Read("victim.txt"), "precious");
  EXPECT_TRUE(dir.Exists(kFillFileName));
}

// --- honest outcomes --------------------------------------------------------------------------------

TEST_F(StartUpTest, ADriveWhoseFreeSpaceCannotBeReadIsNotWipedBlind) {
  platform::posix::MapDrive('Q', dir.HostPath("missing").string(), 3);
  DrivePath = "Q:\\";
  windows.Drive().Show();
  windows.Drive().cmdYes.UserClick();
  EXPECT_EQ(windows.Drive().lblscheme.Caption(), "Not wiped: the free space of the drive could not be read");
  EXPECT_FALSE(dir.Exists("missing"));
}

TEST_F(StartUpTest, ABinThatCannotBeQueriedIsNotEmptyAndUnplacedItemsOrAFailedEmptyingAreNotDone) {
  test::TestDir bin;
  bin.MakeFile("$R1.txt", "in the bin");
  platform::posix::SetRecycleBin(bin.Root());
  platform::posix::SetRecycleBinFaults({true, true, 2});
  EXPECT_FALSE(IsRecycleBinEmpty());
  windows.Recycle().Show();
  windows.Recycle().cmdYes.UserClick();
  EXPECT_EQ(windows.Recycle().lblscheme.Caption(),
            "Not all wiped: 2 items of the bin could not be found on disk; the bin could not be emptied");
  EXPECT_FALSE(bin.Exists("$R1.txt"));
  platform::posix::SetRecycleBin("");
}

TEST(Outcomes, EveryPartlyDoneWipeSaysWhatWasLeft) {
  TreeTally tally;
  tally.files = 3;
  tally.filesLeft = 1;
  tally.linksLeft = 1;
  EXPECT_EQ(
      RecycleOutcomeText(tally, 0, false),
      "Not all wiped: 1 of 3 files could not be wiped; the bin was not emptied, since it holds a link whose "
      "target would go with it");
  EXPECT_EQ(RecycleOutcomeText(TreeTally{}, 0, true), "Done");
  FreeSpaceResult partly;
  partly.completed = partly.filledInPart = true;
  partly.leftFree = 4294967296;
  EXPECT_EQ(
      FreeSpaceOutcomeText(partly, 1 << 30),
      "Not all wiped: the free space could be filled only in part; 4,294,967,296 bytes stayed free and were "
      "not overwritten");
  EXPECT_EQ(FileOutcomeText({true, true, IoError::None, true}),
            "Wiped, but the file grew during the wipe: what was added got fewer passes");
}

TEST_F(StartUpTest, AFileThatGrowsDuringADodPauseIsOverwrittenToItsNewEndAndSaysSo) {
  std::string path = dir.MakeFile("growing.bin", 1000, 'x');
  struct Grow : test::IoRecorder {
    std::filesystem::path host;
    int writes = 0;
    IoError OnWrite(const std::string& p, uint64_t o, std::span<const uint8_t> b) override {
      if (++writes == 4) std::ofstream(host, std::ios::app) << std::string(5000, 'y');
      return IoRecorder::OnWrite(p, o, b);
    }
  } recorder;
  recorder.host = dir.HostPath("growing.bin");
  WipeResult result = DodWipeFile(path, 1, nullptr);
  EXPECT_TRUE(result.gone);
  EXPECT_TRUE(result.grew);
  EXPECT_GE(recorder.WriteEnd(), 6000u);
}

#endif

}  // namespace
}  // namespace nullora
