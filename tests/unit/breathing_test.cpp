// Long routines keep the window alive: between the points where a routine lets the event loop run,
// it still lets the window repaint and answer the system at least every 100 ms, and takes no click.
// The disk here is slow in virtual time: every write costs some milliseconds of the test's clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/dod_wipe.h"
#include "engine/gutmann.h"
#include "engine/progress.h"
#include "support/test_files.h"
#include "ui/controls/application.h"

#ifndef _WIN32
#include "platform/posix/head_less.h"

namespace nullora {
namespace {

constexpr uint64_t kMaxStretchMs = 100;

class BreathingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    platform::posix::PumpLog() = {};
    disk.clock = &time.clock;
    disk.dryFlushes = true;
    disk.inspectBytes = false;
  }
  void TearDown() override { ui::Application::Get().Reset(); }

  // The longest time the window went without a breath between `start` and now.
  uint64_t LongestStretch(uint64_t start) {
    uint64_t longest = 0, last = start;
    for (uint64_t at : platform::posix::PumpLog().paintTimesMs) {
      longest = std::max(longest, at - last);
      last = at;
    }
    return std::max(longest, time.clock.NowMs() - last);
  }

  struct SlowDisk : test::IoRecorder {
    platform::VirtualClock* clock = nullptr;
    uint64_t msPerWrite = 20;
    platform::IoError OnWrite(const std::string& path, uint64_t offset,
                              std::span<const uint8_t> bytes) override {
      clock->Advance(msPerWrite);
      return IoRecorder::OnWrite(path, offset, bytes);
    }
  };

  test::TestDir dir;
  test::FakeTime time;
  SlowDisk disk;
  ControlProgress progress{nullptr, nullptr};
};

TEST_F(BreathingTest, DodSweepsBreatheThroughoutAndLetNoClickIn) {
  std::string path = dir.MakeFile("big.bin", 64 * kDodBlockSize + 5, 'x');
  const uint64_t start = time.clock.NowMs();
  EXPECT_TRUE(DodWipeFile(path, 2, &progress).Wiped());
  EXPECT_LE(LongestStretch(start), kMaxStretchMs);
  EXPECT_EQ(platform::posix::PumpLog().events, 0u) << "DoD never lets the event loop run";
}

TEST_F(BreathingTest, AGutmannPassBreathesThroughoutAndYieldsOnlyAfterEachFifthOfTheFile) {
  std::optional<std::string> path = dir.MakeSparseFile("big.bin", 8u << 20);
  ASSERT_TRUE(path.has_value());
  disk.dryWrites = true;
  disk.msPerWrite = 45;  // a 1 MiB chunk
  Gutmann gm;
  gm.progress = &progress;
  const uint64_t start = time.clock.NowMs();
  EXPECT_TRUE(gm.SecureFileDelete(*path).Wiped());
  EXPECT_LE(LongestStretch(start), kMaxStretchMs);
  EXPECT_EQ(platform::posix::PumpLog().events, 35u * 5u);
}

TEST_F(BreathingTest, AFreeSpaceFillBreathesThroughoutAndYieldsTwicePerStep) {
  disk.dryWrites = true;
  disk.msPerWrite = 30;
  Gutmann gm;
  gm.progress = &progress;
  const uint64_t start = time.clock.NowMs();
  // Blocks of 1.5 MiB: two chunked writes each per value.
  FreeSpaceResult result = gm.SecureFreeSpaceWipe(dir.Root().substr(0, 1), 1500LL << 20, 1);
  EXPECT_TRUE(result.completed);
  EXPECT_LE(LongestStretch(start), kMaxStretchMs);
  EXPECT_EQ(platform::posix::PumpLog().events, 2u * 1000u);
}

}  // namespace
}  // namespace nullora
#endif
