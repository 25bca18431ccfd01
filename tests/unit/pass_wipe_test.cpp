// The multi-pass overwrite: the exact writes of each pass, the flushes between passes, the deletion.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/pass_wipe.h"
#include "engine/progress.h"
#include "shared/records.h"
#include "support/test_files.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"

namespace nullora {
namespace {

using test::IoEvent;

bool AllBitChars(const std::string& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '0' || c == '1'; });
}

class PassWipeFileTest : public ::testing::Test {
 protected:
  void SetUp() override { WipeOptions = {}; }
  test::TestDir dir;
  test::FakeTime time;
};

// Offsets and lengths of every write of one pass over a file of `length` bytes.
std::vector<std::pair<uint64_t, uint64_t>> ExpectedPass(uint64_t length) {
  std::vector<std::pair<uint64_t, uint64_t>> writes;
  for (uint64_t k = 0; k < length / kPassBlockSize; ++k)
    writes.emplace_back(k * kPassBlockSize, kPassBlockSize);
  if (length % kPassBlockSize) writes.emplace_back(length - length % kPassBlockSize, length % kPassBlockSize);
  return writes;
}

TEST_F(PassWipeFileTest, EachPassCoversTheFileInBlocksWithBitCharactersThenFlushes) {
  for (uint64_t length : {1u, 2u, 5u, 16384u, 32768u, 32769u}) {
    SCOPED_TRACE(length);
    std::string path = dir.MakeFile("f.bin", length, 'x');
    test::IoRecorder recorder;
    WipeResult result = PassWipeFile(path, 2, nullptr);

    EXPECT_TRUE(result.Wiped());
    EXPECT_FALSE(dir.Exists("f.bin"));
    std::vector<std::pair<uint64_t, uint64_t>> expected = ExpectedPass(length);
    std::vector<IoEvent> writes = recorder.Writes();
    ASSERT_EQ(writes.size(), expected.size() * 2);
    for (size_t i = 0; i < writes.size(); ++i) {
      EXPECT_EQ(writes[i].offset, expected[i % expected.size()].first);
      EXPECT_EQ(writes[i].length, expected[i % expected.size()].second);
      EXPECT_TRUE(AllBitChars(writes[i].bytes));
    }
    // A flush closes every pass, before the next one starts.
    ASSERT_EQ(recorder.Count(IoEvent::Flush), 2u);
    size_t firstFlush = 0;
    while (recorder.events[firstFlush].kind != IoEvent::Flush) ++firstFlush;
    size_t writesBeforeFlush = static_cast<size_t>(
        std::count_if(recorder.events.begin(), recorder.events.begin() + static_cast<long>(firstFlush),
                      [](const IoEvent& e) { return e.kind == IoEvent::Write; }));
    EXPECT_EQ(writesBeforeFlush, expected.size());
    EXPECT_EQ(recorder.WriteEnd(), length);
  }
}

TEST_F(PassWipeFileTest, TheBytesOnDiskAreTheLastPassAndTheFileKeepsItsLength) {
  std::string path = dir.MakeFile("f.txt", "0123456789");
  struct Snapshot : test::IoRecorder {
    test::TestDir* dir;
    std::vector<std::string> afterFlush;
    void OnFlush(const std::string& p) override {
      IoRecorder::OnFlush(p);
      afterFlush.push_back(dir->Read("f.txt"));
    }
  } recorder;
  recorder.dir = &dir;
  PassWipeFile(path, 3, nullptr);
  ASSERT_EQ(recorder.afterFlush.size(), 3u);
  std::vector<IoEvent> writes = recorder.Writes();
  for (size_t pass = 0; pass < 3; ++pass) {
    EXPECT_EQ(recorder.afterFlush[pass], writes[pass].bytes);
    EXPECT_EQ(recorder.afterFlush[pass].size(), 10u);
  }
}

TEST_F(PassWipeFileTest, ZeroOrNegativePassesOnlyDelete) {
  for (int passes : {0, -3}) {
    std::string path = dir.MakeFile("f.txt", "secret");
    test::IoRecorder recorder;
    WipeResult result = PassWipeFile(path, passes, nullptr);
    EXPECT_TRUE(result.Wiped());
    EXPECT_TRUE(recorder.Writes().empty());
    EXPECT_EQ(recorder.Count(IoEvent::Delete), 1u);
    EXPECT_FALSE(dir.Exists("f.txt"));
  }
}

TEST_F(PassWipeFileTest, AMissingPathIsReportedAndNotCreated) {
  WipeResult result = PassWipeFile(dir.Path("missing.txt"), 1, nullptr);
  EXPECT_FALSE(result.gone);
  EXPECT_EQ(result.error, platform::IoError::NotFound);
  EXPECT_FALSE(dir.Exists("missing.txt"));
}

TEST_F(PassWipeFileTest, AReadOnlyFileIsWiped) {
  std::string path = dir.MakeFile("ro.txt", "secret");
  ASSERT_EQ(platform::SetFileAttributes(path, platform::kAttrReadOnly), platform::IoError::None);
  EXPECT_TRUE(PassWipeFile(path, 1, nullptr).Wiped());
  EXPECT_FALSE(dir.Exists("ro.txt"));
}

TEST_F(PassWipeFileTest, AFileHeldOpenWithoutWriteSharingStaysUntouched) {
  std::string path = dir.MakeFile("busy.txt", "secret");
  platform::File holder = platform::File::Open(path, platform::Access::ReadWrite, platform::kShareRead,
                                               platform::Disposition::OpenExisting);
  ASSERT_TRUE(holder.IsOpen());
  WipeResult result = PassWipeFile(path, 1, nullptr);
  EXPECT_FALSE(result.gone);
  EXPECT_EQ(result.error, platform::IoError::InUse);
  holder.Close();
  EXPECT_EQ(dir.Read("busy.txt"), "secret");
}

TEST_F(PassWipeFileTest, AFailedWriteLeavesTheFileAndSaysSo) {
  std::string path = dir.MakeFile("f.bin", 40000, 'x');
  test::IoRecorder recorder;
  recorder.failWriteAt = 1;
  WipeResult result = PassWipeFile(path, 2, nullptr);
  EXPECT_FALSE(result.gone);
  EXPECT_FALSE(result.overwritten);
  EXPECT_EQ(result.error, platform::IoError::DiskFull);
  EXPECT_TRUE(dir.Exists("f.bin"));
}

TEST_F(PassWipeFileTest, RenameGivesARandomNameInTheSameFolderBeforeTheDelete) {
  WipeOptions.OpRename = 1;
  std::string path = dir.MakeFile("named.txt", "secret");
  test::IoRecorder recorder;
  EXPECT_TRUE(PassWipeFile(path, 1, nullptr).Wiped());
  ASSERT_EQ(recorder.Count(IoEvent::Delete), 1u);
  const IoEvent& deleted = recorder.events.back();
  EXPECT_EQ(deleted.kind, IoEvent::Delete);
  EXPECT_NE(deleted.path, path);
  EXPECT_EQ(deleted.path.rfind(dir.Root(), 0), 0u);
  EXPECT_EQ(deleted.path.find('\\', dir.Root().size()), std::string::npos);
  EXPECT_TRUE(dir.List().empty());
}

TEST_F(PassWipeFileTest, TheLabelCountsPassesAndEveryPassPausesFiftyMilliseconds) {
  ui::Form form("f");
  ui::Label status(form, nullptr, "lblscheme");
  ui::ProgressBar progress(form, nullptr, "ProgressBar1");
  std::string path = dir.MakeFile("f.bin", 40000, 'x');
  ControlProgress reporter(&progress, &status);
  PassWipeFile(path, 3, &reporter);
  EXPECT_EQ(status.Caption(), "Overwriting ... 3 of 3");
  EXPECT_EQ(progress.Max(), (2 + 1) * 3);
  EXPECT_EQ(time.clock.SleptMs(), 3u * 50u);
}

TEST_F(PassWipeFileTest, AFileOfMoreThanTwoGiBIsCoveredToItsEnd) {
  const uint64_t length = (uint64_t{2} << 30) + 5;
  std::optional<std::string> big = dir.MakeSparseFile("big.bin", length);
  if (!big) GTEST_SKIP() << "the disk refuses a sparse file of more than 2 GiB";
  const std::string& path = *big;
  test::IoRecorder recorder;
  recorder.dryWrites = true;
  recorder.inspectBytes = false;
  EXPECT_TRUE(PassWipeFile(path, 1, nullptr).Wiped());
  std::vector<IoEvent> writes = recorder.Writes();
  ASSERT_EQ(writes.size(), length / kPassBlockSize + 1);
  uint64_t covered = 0;
  for (const IoEvent& write : writes) covered += write.length;
  EXPECT_EQ(covered, length);
  EXPECT_EQ(writes.back().offset + writes.back().length, length);
  EXPECT_FALSE(dir.Exists("big.bin"));
}

#ifndef _WIN32
// Under Wine a host link to a file looks like a plain file, so this is checked in the workbench build.
TEST_F(PassWipeFileTest, ALinkIsRemovedAsALinkAndItsTargetIsNeverWritten) {
  dir.MakeFile("target.txt", "precious");
  std::filesystem::create_symlink(dir.HostPath("target.txt"), dir.HostPath("link.txt"));
  test::IoRecorder recorder;
  WipeResult result = PassWipeFile(dir.Path("link.txt"), 3, nullptr);
  EXPECT_TRUE(result.gone);
  EXPECT_FALSE(result.overwritten);
  EXPECT_TRUE(recorder.Writes().empty());
  EXPECT_FALSE(dir.Exists("link.txt"));
  EXPECT_EQ(dir.Read("target.txt"), "precious");
}
#endif

}  // namespace
}  // namespace nullora
