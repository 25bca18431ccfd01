// The Gutmann file wipe: 35 passes of three blocks over five sections that cover the file exactly,
// each block flushed before the next overwrites it, and the engine's events.
#include <gtest/gtest.h>

#include "engine/gutmann.h"
#include "engine/gutmann_patterns.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

namespace nullora {
namespace {

using test::IoEvent;

struct EventLog {
  std::vector<std::string> status;
  std::vector<std::pair<int, int>> progress;  // (percent, pass)
  std::vector<int> overall;

  void Attach(Gutmann& gm) {
    gm.statusstring = [this](const std::string& text) { status.push_back(text); };
    gm.Progress = [this](uint8_t percent, uint8_t pass) { progress.emplace_back(percent, pass); };
    gm.OverallProgress = [this](uint8_t percent) { overall.push_back(percent); };
  }
};

class SecureFileDeleteTest : public ::testing::Test {
 protected:
  test::TestDir dir;
  test::FakeTime time;
  Gutmann gm;
  EventLog log;
  void SetUp() override { log.Attach(gm); }
};

TEST_F(SecureFileDeleteTest, FiveBytesGetThirtyFivePassesOfThreeFlushedBlocksPerSection) {
  std::string path = dir.MakeFile("f.bin", "abcde");
  test::IoRecorder recorder;
  EXPECT_TRUE(gm.SecureFileDelete(path).Wiped());

  std::vector<IoEvent> writes = recorder.Writes();
  ASSERT_EQ(writes.size(), 35u * 5u * 3u);
  for (int pass = 1; pass <= 35; ++pass) {
    for (int k = 0; k < 5; ++k) {
      for (int block = 0; block < 3; ++block) {
        const IoEvent& write = writes[static_cast<size_t>(((pass - 1) * 5 + k) * 3 + block)];
        EXPECT_EQ(write.offset, static_cast<uint64_t>(k));
        EXPECT_EQ(write.length, 1u);
        if (auto fixed = FixedGutmannValues(pass)) {
          EXPECT_EQ(write.firstByte, (*fixed)[static_cast<size_t>(block)]) << "pass " << pass;
        }
      }
    }
  }
  // Every block write reaches the medium before the next one overwrites it.
  for (size_t i = 0; i + 1 < recorder.events.size(); ++i) {
    if (recorder.events[i].kind == IoEvent::Write) {
      EXPECT_EQ(recorder.events[i + 1].kind, IoEvent::Flush);
    }
  }
  EXPECT_EQ(log.status.size(), 35u);
  EXPECT_EQ(log.progress.size(), 175u);
  EXPECT_EQ(log.overall.size(), 35u);
  EXPECT_FALSE(dir.Exists("f.bin"));
}

TEST_F(SecureFileDeleteTest, StatusTextsNameTheBlockValuesInHex) {
  std::string path = dir.MakeFile("f.bin", "abcde");
  gm.SecureFileDelete(path);
  ASSERT_EQ(log.status.size(), 35u);
  EXPECT_EQ(log.status[6], "Block1: 0x92 , Block2: 0x49 , Block3: 0x24");
  EXPECT_EQ(log.status[9], "Block1: 0x00 , Block2: 0x00 , Block3: 0x00");
  EXPECT_EQ(log.status[10], "Block1: 0x11 , Block2: 0x11 , Block3: 0x11");
  EXPECT_EQ(log.status[30], "Block1: 0xDB , Block2: 0x6D , Block3: 0xB6");
}

TEST_F(SecureFileDeleteTest, ProgressRisesByFifthsAndOverallEndsAtOneHundred) {
  std::string path = dir.MakeFile("f.bin", "abcde");
  gm.SecureFileDelete(path);
  std::vector<std::pair<int, int>> firstPass(log.progress.begin(), log.progress.begin() + 5);
  EXPECT_EQ(firstPass, (std::vector<std::pair<int, int>>{{20, 1}, {40, 1}, {60, 1}, {80, 1}, {100, 1}}));
  EXPECT_EQ(log.progress.back(), (std::pair<int, int>{100, 35}));
  EXPECT_EQ(log.overall.front(), 2);
  EXPECT_EQ(log.overall.back(), 100);
  EXPECT_EQ(time.clock.SleptMs(), 35u * 500u);
}

TEST_F(SecureFileDeleteTest, EveryByteOfAnyLengthIsCoveredAndTheFileNeverGrows) {
  for (size_t length : {1u, 2u, 4u, 100003u}) {
    SCOPED_TRACE(length);
    std::string path = dir.MakeFile("f.bin", length, 'x');
    struct Coverage : test::IoRecorder {
      std::vector<int> writesPerByte;
      platform::IoError OnWrite(const std::string& p, uint64_t offset, std::span<const uint8_t> bytes) override {
        for (uint64_t i = offset; i < offset + bytes.size() && i < writesPerByte.size(); ++i) ++writesPerByte[i];
        return IoRecorder::OnWrite(p, offset, bytes);
      }
    } recorder;
    recorder.writesPerByte.assign(length, 0);
    EXPECT_TRUE(gm.SecureFileDelete(path).Wiped());
    for (size_t i = 0; i < length; ++i) ASSERT_EQ(recorder.writesPerByte[i], 35 * 3) << "byte " << i;
    EXPECT_EQ(recorder.WriteEnd(), length);
    // The last act before the deletion is the truncation to zero.
    EXPECT_EQ(recorder.Count(IoEvent::SetLength), 1u);
  }
}

TEST_F(SecureFileDeleteTest, AnEmptyFileIsDeletedWithoutEvents) {
  std::string path = dir.MakeFile("empty.bin", "");
  test::IoRecorder recorder;
  EXPECT_TRUE(gm.SecureFileDelete(path).Wiped());
  EXPECT_TRUE(recorder.Writes().empty());
  EXPECT_TRUE(log.status.empty());
  EXPECT_TRUE(log.progress.empty());
  EXPECT_TRUE(log.overall.empty());
  EXPECT_FALSE(dir.Exists("empty.bin"));
}

TEST_F(SecureFileDeleteTest, AReadOnlyFileIsWipedAndAFileInUseIsKept) {
  std::string readOnly = dir.MakeFile("ro.bin", "secret");
  platform::SetFileAttributes(readOnly, platform::kAttrReadOnly);
  EXPECT_TRUE(gm.SecureFileDelete(readOnly).Wiped());
  EXPECT_FALSE(dir.Exists("ro.bin"));

  std::string busy = dir.MakeFile("busy.bin", "secret");
  platform::File holder =
      platform::File::Open(busy, platform::Access::ReadWrite, platform::kShareRead | platform::kShareWrite,
                           platform::Disposition::OpenExisting);
  WipeResult result = gm.SecureFileDelete(busy);
  EXPECT_FALSE(result.gone);
  EXPECT_EQ(result.error, platform::IoError::InUse);
  holder.Close();
  EXPECT_EQ(dir.Read("busy.bin"), "secret");
}

TEST_F(SecureFileDeleteTest, RandomPassesDrawEachBlockFromTheGenerator) {
  std::string path = dir.MakeFile("f.bin", 10, 'x');
  test::IoRecorder recorder;
  gm.SecureFileDelete(path);
  // Pass 1's three blocks over all five sections agree with the status text of pass 1.
  std::vector<IoEvent> writes = recorder.Writes();
  std::string expected = "Block1: 0x" + HexByte(writes[0].firstByte) + " , Block2: 0x" + HexByte(writes[1].firstByte) +
                         " , Block3: 0x" + HexByte(writes[2].firstByte);
  EXPECT_EQ(log.status[0], expected);
  for (int k = 1; k < 5; ++k) {
    for (int block = 0; block < 3; ++block) {
      EXPECT_EQ(writes[static_cast<size_t>(k * 3 + block)].firstByte, writes[static_cast<size_t>(block)].firstByte);
    }
  }
}

TEST_F(SecureFileDeleteTest, StopDuringAPassLeavesThePartlyOverwrittenFile) {
  std::string path = dir.MakeFile("f.bin", "abcdefghij");
  gm.Progress = [](uint8_t, uint8_t pass) {
    if (pass == 3) ui::End();
  };
  EXPECT_THROW(gm.SecureFileDelete(path), ui::ProcessEnded);
  EXPECT_TRUE(dir.Exists("f.bin"));
  EXPECT_NE(dir.Read("f.bin"), "abcdefghij");
}

}  // namespace
}  // namespace nullora
