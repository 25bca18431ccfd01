// The DoD overwrite: three fixed sweeps and one random sweep per cycle, each flushed, never past the end.
#include <gtest/gtest.h>

#include "engine/dod_wipe.h"
#include "engine/progress.h"
#include "shared/records.h"
#include "support/test_files.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"

namespace nullora {
namespace {

using test::IoEvent;

class DodWipeFileTest : public ::testing::Test {
 protected:
  void SetUp() override { WipeOptions = {}; }
  test::TestDir dir;
  test::FakeTime time;
};

// The writes between two flushes, one vector per sweep.
std::vector<std::vector<IoEvent>> Sweeps(const test::IoRecorder& recorder) {
  std::vector<std::vector<IoEvent>> sweeps(1);
  for (const IoEvent& event : recorder.events) {
    if (event.kind == IoEvent::Write) sweeps.back().push_back(event);
    if (event.kind == IoEvent::Flush) sweeps.emplace_back();
  }
  sweeps.pop_back();  // after the last flush
  return sweeps;
}

TEST_F(DodWipeFileTest, ASmallFileGetsTheFixedPhasesThenNonZeroRandomBytes) {
  std::string path = dir.MakeFile("f.txt", "hello");
  test::IoRecorder recorder;
  EXPECT_TRUE(DodWipeFile(path, 2, nullptr).Wiped());

  std::vector<std::vector<IoEvent>> sweeps = Sweeps(recorder);
  ASSERT_EQ(sweeps.size(), 8u);  // 2 x 3 fixed + 2 random
  const uint8_t fixed[] = {0x00, 0xFF, 0x00};
  for (size_t i = 0; i < sweeps.size(); ++i) {
    ASSERT_EQ(sweeps[i].size(), 1u);
    EXPECT_EQ(sweeps[i][0].offset, 0u);
    EXPECT_EQ(sweeps[i][0].length, 5u);
    EXPECT_TRUE(sweeps[i][0].uniform);
    if (i < 6) {
      EXPECT_EQ(sweeps[i][0].firstByte, fixed[i % 3]) << "sweep " << i;
    } else {
      EXPECT_NE(sweeps[i][0].firstByte, 0) << "a random byte is never 0";
    }
  }
  EXPECT_FALSE(dir.Exists("f.txt"));
}

TEST_F(DodWipeFileTest, FullBlocksOnlyAboveOneBlockAndTheRestExactly) {
  struct Case {
    uint64_t length;
    std::vector<std::pair<uint64_t, uint64_t>> writes;
  };
  const Case cases[] = {
      {32768, {{0, 32768}}},
      {32769, {{0, 32768}, {32768, 1}}},
      {65536, {{0, 32768}, {32768, 32768}}},
      {70000, {{0, 32768}, {32768, 32768}, {65536, 4464}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::string path = dir.MakeFile("f.bin", c.length, 'x');
    test::IoRecorder recorder;
    EXPECT_TRUE(DodWipeFile(path, 1, nullptr).Wiped());
    std::vector<std::vector<IoEvent>> sweeps = Sweeps(recorder);
    ASSERT_EQ(sweeps.size(), 4u);
    for (const auto& sweep : sweeps) {
      ASSERT_EQ(sweep.size(), c.writes.size());
      for (size_t i = 0; i < sweep.size(); ++i) {
        EXPECT_EQ(sweep[i].offset, c.writes[i].first);
        EXPECT_EQ(sweep[i].length, c.writes[i].second);
      }
    }
    EXPECT_EQ(recorder.WriteEnd(), c.length) << "the file never grows";
  }
}

TEST_F(DodWipeFileTest, ThePhaseThreeRestIsZeroAfterFullBlocksOfOnes) {
  std::string path = dir.MakeFile("f.bin", 32769, 'x');
  test::IoRecorder recorder;
  DodWipeFile(path, 1, nullptr);
  std::vector<std::vector<IoEvent>> sweeps = Sweeps(recorder);
  ASSERT_EQ(sweeps[2].size(), 2u);
  EXPECT_EQ(sweeps[2][0].firstByte, 0xFF);
  EXPECT_EQ(sweeps[2][1].firstByte, 0x00);
  // Each random block draws its own value; with two blocks they differ most of the time, but each is
  // uniform within itself.
  EXPECT_TRUE(sweeps[3][0].uniform);
  EXPECT_TRUE(sweeps[3][1].uniform);
}

TEST_F(DodWipeFileTest, AnEmptyFileIsFlushedPerSweepAndDeleted) {
  std::string path = dir.MakeFile("empty.txt", "");
  test::IoRecorder recorder;
  EXPECT_TRUE(DodWipeFile(path, 7, nullptr).Wiped());
  EXPECT_TRUE(recorder.Writes().empty());
  EXPECT_EQ(recorder.Count(IoEvent::Flush), 28u);
  EXPECT_FALSE(dir.Exists("empty.txt"));
}

TEST_F(DodWipeFileTest, AReadOnlyFileIsWipedToo) {
  std::string path = dir.MakeFile("ro.txt", "secret");
  ASSERT_EQ(platform::SetFileAttributes(path, platform::kAttrReadOnly | platform::kAttrHidden),
            platform::IoError::None);
  EXPECT_TRUE(DodWipeFile(path, 1, nullptr).Wiped());
  EXPECT_FALSE(dir.Exists("ro.txt"));
}

TEST_F(DodWipeFileTest, TheLabelCountsOnlyTheRandomCyclesWithAPauseEach) {
  ui::Form form("f");
  ui::Label status(form, nullptr, "lblscheme");
  ui::ProgressBar progress(form, nullptr, "ProgressBar1");
  struct Watch : test::IoRecorder {
    ui::Label* status;
    std::vector<std::string> captionsAtFlush;
    void OnFlush(const std::string& p) override {
      IoRecorder::OnFlush(p);
      captionsAtFlush.push_back(status->Caption());
    }
  } recorder;
  recorder.status = &status;
  std::string path = dir.MakeFile("f.txt", "abc");
  ControlProgress reporter(&progress, &status);
  DodWipeFile(path, 7, &reporter);

  ASSERT_EQ(recorder.captionsAtFlush.size(), 28u);
  for (size_t i = 0; i < 22; ++i) EXPECT_EQ(recorder.captionsAtFlush[i], "") << "fixed sweep " << i;
  EXPECT_EQ(recorder.captionsAtFlush[22], "Overwriting ... 1 of 7");
  EXPECT_EQ(recorder.captionsAtFlush[27], "Overwriting ... 6 of 7");
  EXPECT_EQ(status.Caption(), "Overwriting ... 7 of 7");
  EXPECT_EQ(progress.Max(), 7);
  EXPECT_EQ(progress.Value(), 7);
  EXPECT_EQ(time.clock.SleptMs(), 7u * 500u);
}

TEST_F(DodWipeFileTest, AFileInUseIsReportedAndKept) {
  std::string path = dir.MakeFile("busy.txt", "secret");
  platform::File holder = platform::File::Open(path, platform::Access::ReadWrite, platform::kShareRead,
                                               platform::Disposition::OpenExisting);
  WipeResult result = DodWipeFile(path, 1, nullptr);
  EXPECT_FALSE(result.gone);
  EXPECT_EQ(result.error, platform::IoError::InUse);
  holder.Close();
  EXPECT_EQ(dir.Read("busy.txt"), "secret");
}

TEST_F(DodWipeFileTest, AFileOfMoreThanTwoGiBIsCoveredToItsEnd) {
  const uint64_t length = (uint64_t{2} << 30) + 3;
  std::optional<std::string> big = dir.MakeSparseFile("big.bin", length);
  if (!big) GTEST_SKIP() << "the disk refuses a sparse file of more than 2 GiB";
  const std::string& path = *big;
  test::IoRecorder recorder;
  recorder.dryWrites = true;
  recorder.inspectBytes = false;
  EXPECT_TRUE(DodWipeFile(path, 1, nullptr).Wiped());
  std::vector<std::vector<IoEvent>> sweeps = Sweeps(recorder);
  ASSERT_EQ(sweeps.size(), 4u);
  for (const auto& sweep : sweeps) {
    uint64_t covered = 0;
    for (const IoEvent& write : sweep) covered += write.length;
    EXPECT_EQ(covered, length);
  }
  EXPECT_EQ(recorder.WriteEnd(), length);
}

}  // namespace
}  // namespace nullora
