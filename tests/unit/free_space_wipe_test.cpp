// The free-space wipe: its events, the fill file's bytes per pass, a full drive, and that no fill
// file is ever left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/gutmann.h"
#include "engine/gutmann_patterns.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

namespace nullora {
namespace {

using test::IoEvent;

struct DiskEvents {
  std::vector<std::string> log;  // every event in order, as "name:value"
  std::vector<int> overall;
  std::vector<std::string> status;
  std::vector<std::pair<int, int>> progress;

  void Attach(Gutmann& gm) {
    gm.OverallProgressDisk = [this](uint8_t p) {
      overall.push_back(p);
      log.push_back("overall:" + std::to_string(p));
    };
    gm.statusstringDisk = [this](const std::string& s) {
      status.push_back(s);
      log.push_back("status");
    };
    gm.Progress = [this](uint8_t p, uint8_t pass) {
      progress.emplace_back(p, pass);
      log.push_back("progress:" + std::to_string(p));
    };
    gm.progressDisk = [this](uint8_t p) { log.push_back("disk:" + std::to_string(p)); };
    gm.TimeRemainingPass = [this](const std::string& t) { log.push_back("pass:" + t); };
    gm.TimeRemainingOverall = [this](const std::string& t) { log.push_back("total:" + t); };
    gm.OverallProgress = [this](uint8_t) { log.push_back("wrong:OverallProgress"); };
    gm.statusstring = [this](const std::string&) { log.push_back("wrong:statusstring"); };
  }
};

class FreeSpaceWipeTest : public ::testing::Test {
 protected:
  void SetUp() override { events.Attach(gm); }
  std::string Drive() const { return dir.Root().substr(0, 1); }
  std::string FillFile() const { return Drive() + ":\\WNXTEMP.000"; }
  bool FillFileLeft() const { return platform::QueryFileInfo(FillFile()).has_value(); }

  test::TestDir dir;
  test::FakeTime time;
  Gutmann gm;
  DiskEvents events;
};

#ifndef _WIN32  // the fill file goes to the root of a drive: only the workbench maps one to a test dir

TEST_F(FreeSpaceWipeTest, NoPassesRaisesOnlyTheStartAndCreatesNothing) {
  test::IoRecorder recorder;
  FreeSpaceResult result = gm.SecureFreeSpaceWipe(Drive(), 100000, 0);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(events.log, std::vector<std::string>{"overall:0"});
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_FALSE(FillFileLeft());
}

TEST_F(FreeSpaceWipeTest, SevenPassesWriteTheTableAndReportInOrder) {
  test::IoRecorder recorder;
  recorder.dryWrites = true;
  FreeSpaceResult result = gm.SecureFreeSpaceWipe(Drive(), 10000, 7);
  ASSERT_TRUE(result.completed);
  EXPECT_EQ(events.overall, (std::vector<int>{0, 14, 28, 42, 57, 71, 85, 100}));
  ASSERT_EQ(events.status.size(), 7u);
  EXPECT_EQ(events.status[4], "Block1(): 0x55 , Block2(): 0x55 , Block3: 0x55");
  EXPECT_EQ(events.status[6], "Block1(): 0x92 , Block2(): 0x49 , Block3: 0x24");
  EXPECT_EQ(events.progress.size(), 7000u);
  EXPECT_EQ(events.progress[9], (std::pair<int, int>{1, 1}));
  EXPECT_EQ(events.progress[999], (std::pair<int, int>{100, 1}));
  EXPECT_EQ(events.progress[6999], (std::pair<int, int>{100, 7}));
  // One step: its progress, the disk progress, the time text; a pass ends with the overall figures.
  std::vector<std::string> firstStep(events.log.begin() + 2, events.log.begin() + 5);
  EXPECT_EQ(firstStep, (std::vector<std::string>{"progress:0", "disk:0", "pass:MyTimeRemaining"}));
  std::vector<std::string> passEnd(events.log.begin() + 2 + 3000, events.log.begin() + 2 + 3002);
  EXPECT_EQ(passEnd, (std::vector<std::string>{"total:MyTimeRemaining2", "overall:14"}));
  EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "wrong:OverallProgress"), 0);

  // Pass 7: 1,000 steps of 10 bytes, each written three times with 0x92, 0x49, 0x24, each flushed.
  std::vector<IoEvent> writes = recorder.Writes();
  ASSERT_EQ(writes.size(), 7u * 3000u);
  for (int step = 0; step < 1000; ++step) {
    for (int block = 0; block < 3; ++block) {
      const IoEvent& write = writes[6 * 3000 + static_cast<size_t>(step * 3 + block)];
      ASSERT_EQ(write.offset, static_cast<uint64_t>(step) * 10);
      ASSERT_EQ(write.length, 10u);
      ASSERT_TRUE(write.uniform);
      ASSERT_EQ(write.firstByte, (BlockValues{0x92, 0x49, 0x24})[static_cast<size_t>(block)]);
    }
  }
  for (size_t i = 0; i + 1 < recorder.events.size(); ++i) {
    if (recorder.events[i].kind == IoEvent::Write) {
      ASSERT_EQ(recorder.events[i + 1].kind, IoEvent::Flush);
    }
  }
  EXPECT_EQ(recorder.Count(IoEvent::SetLength), 7u);
  EXPECT_EQ(recorder.Count(IoEvent::Delete), 7u);
  EXPECT_EQ(time.clock.SleptMs(), 7u * 500u);
  EXPECT_FALSE(FillFileLeft());
}

TEST_F(FreeSpaceWipeTest, ThirtyFivePassesRiseByTwoOrThreeAndPassesAboveKeepTheLastValues) {
  test::IoRecorder recorder;
  recorder.dryWrites = true;
  recorder.inspectBytes = false;
  ASSERT_TRUE(gm.SecureFreeSpaceWipe(Drive(), 1000, 36).completed);
  ASSERT_EQ(events.status.size(), 36u);
  EXPECT_EQ(events.status[9], "Block1(): 0x00 , Block2(): 0x00 , Block3: 0x00");
  EXPECT_EQ(events.status[24], "Block1(): 0xFF , Block2(): 0xFF , Block3: 0xFF");
  EXPECT_EQ(events.status[35], events.status[34]);
  events = {};
  events.Attach(gm);
  ASSERT_TRUE(gm.SecureFreeSpaceWipe(Drive(), 1000, 35).completed);
  for (size_t i = 1; i < events.overall.size(); ++i) {
    int rise = events.overall[i] - events.overall[i - 1];
    EXPECT_TRUE(rise == 2 || rise == 3) << i;
  }
  EXPECT_EQ(events.overall.back(), 100);
}

TEST_F(FreeSpaceWipeTest, AFullDriveEndsThePassAndTheFillFileStillGoes) {
  test::IoRecorder recorder;
  recorder.dryFlushes = true;
  recorder.failWriteAt = 1500;  // in the 501st step of the first pass
  recorder.injectedError = platform::IoError::DiskFull;
  FreeSpaceResult result = gm.SecureFreeSpaceWipe(Drive(), 20000, 2);
  EXPECT_TRUE(result.completed);
  EXPECT_TRUE(result.filledEarly);
  // The drive itself still has room: only the fill file stopped growing, which is not a full wipe.
  EXPECT_TRUE(result.filledInPart);
  EXPECT_GT(result.leftFree, 20000u);
  EXPECT_EQ(events.progress[500], (std::pair<int, int>{100, 1})) << "the bar completes the shortened pass";
  EXPECT_EQ(events.overall, (std::vector<int>{0, 50, 100}));
  EXPECT_FALSE(FillFileLeft());
}

TEST_F(FreeSpaceWipeTest, AWriteFailureEndsTheWipeWithoutLeavingTheFillFile) {
  test::IoRecorder recorder;
  recorder.failWriteAt = 10;
  recorder.injectedError = platform::IoError::AccessDenied;
  FreeSpaceResult result = gm.SecureFreeSpaceWipe(Drive(), 20000, 3);
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(result.error, platform::IoError::AccessDenied);
  EXPECT_FALSE(FillFileLeft());
}

TEST_F(FreeSpaceWipeTest, StopInTheMiddleOfAPassRemovesTheFillFile) {
  test::IoRecorder recorder;
  recorder.dryFlushes = true;
  gm.Progress = [](uint8_t percent, uint8_t) {
    if (percent == 30) ui::End();
  };
  EXPECT_THROW(gm.SecureFreeSpaceWipe(Drive(), 20000, 1), ui::ProcessEnded);
  EXPECT_FALSE(FillFileLeft());
}

TEST_F(FreeSpaceWipeTest, AFillFileLeftBehindIsReusedAndRemoved) {
  dir.MakeFile("WNXTEMP.000", std::string(50000, 'L'));
  test::IoRecorder recorder;
  recorder.dryFlushes = true;
  ASSERT_TRUE(gm.SecureFreeSpaceWipe(Drive(), 10000, 1).completed);
  EXPECT_FALSE(FillFileLeft());
}

TEST_F(FreeSpaceWipeTest, TheFillFileHoldsThePassBytesBeforeItIsTruncated) {
  struct AtTruncation : test::IoRecorder {
    test::TestDir* dir;
    std::vector<std::string> contents;
    void OnSetLength(const std::string& p, uint64_t length) override {
      IoRecorder::OnSetLength(p, length);
      contents.push_back(dir->Read("WNXTEMP.000"));
    }
  } recorder;
  recorder.dir = &dir;
  recorder.dryFlushes = true;
  ASSERT_TRUE(gm.SecureFreeSpaceWipe(Drive(), 4000, 6).completed);
  ASSERT_EQ(recorder.contents.size(), 6u);
  EXPECT_EQ(recorder.contents[4], std::string(4000, '\x55'));
  EXPECT_EQ(recorder.contents[5], std::string(4000, '\xAA'));
}

TEST_F(FreeSpaceWipeTest, BlocksOfAHugeDriveAreWrittenFromABoundedBuffer) {
  test::IoRecorder recorder;
  recorder.dryWrites = true;
  recorder.inspectBytes = false;
  gm.Progress = [](uint8_t, uint8_t) { ui::End(); };  // one step is enough to see the writes
  EXPECT_THROW(gm.SecureFreeSpaceWipe(Drive(), int64_t{1} << 40, 1), ui::ProcessEnded);
  std::vector<IoEvent> writes = recorder.Writes();
  uint64_t covered = 0, largest = 0;
  for (const IoEvent& write : writes) {
    covered += write.length;
    largest = std::max(largest, write.length);
  }
  EXPECT_LE(largest, uint64_t{1} << 20);
  EXPECT_EQ(covered, 3 * static_cast<uint64_t>(std::llround((uint64_t{1} << 40) / 1000.0)));
}

TEST_F(FreeSpaceWipeTest, LessThanFiveHundredBytesStillNamesThePatterns) {
  test::IoRecorder recorder;
  FreeSpaceResult result = gm.SecureFreeSpaceWipe(Drive(), 300, 5);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(events.status[4], "Block1(): 0x55 , Block2(): 0x55 , Block3: 0x55");
  EXPECT_TRUE(recorder.Writes().empty());
  EXPECT_FALSE(FillFileLeft());
}

#endif

TEST_F(FreeSpaceWipeTest, APassCountOutsideAByteIsRefusedBeforeAnyFileExists) {
  for (int passes : {-1, 256}) {
    test::IoRecorder recorder;
    FreeSpaceResult result = gm.SecureFreeSpaceWipe(Drive(), 100000, passes);
    EXPECT_TRUE(result.invalidPasses);
    EXPECT_FALSE(result.completed);
    EXPECT_TRUE(recorder.events.empty());
  }
}

}  // namespace
}  // namespace nullora
