// The generator and the names the wipe routines give files before deleting them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/file_names.h"
#include "engine/random.h"
#include "support/test_files.h"

namespace nullora {
namespace {

TEST(RandomBitString, IsMadeOfZerosAndOnesInBothProportions) {
  EXPECT_EQ(RandomBitString(0), "");
  std::string bits = RandomBitString(100000);
  ASSERT_EQ(bits.size(), 100000u);
  EXPECT_TRUE(std::all_of(bits.begin(), bits.end(), [](char c) { return c == '0' || c == '1'; }));
  auto ones = std::count(bits.begin(), bits.end(), '1');
  EXPECT_GT(ones, 48000);
  EXPECT_LT(ones, 52000);
}

TEST(RandomBitString, TwoCallsInTheSameClockTickDiffer) {
  test::FakeTime time;  // the clock stands still
  EXPECT_NE(RandomBitString(256), RandomBitString(256));
}

TEST(Rnd, StaysInTheUnitIntervalAndTheByteDrawsInTheirRanges) {
  std::set<int> nonZero, rounded;
  for (int i = 0; i < 200000; ++i) {
    double r = Rnd();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    nonZero.insert(RandomNonZeroByte());
    rounded.insert(RandomRoundedByte());
  }
  EXPECT_EQ(*nonZero.begin(), 1);
  EXPECT_EQ(*nonZero.rbegin(), 255);
  EXPECT_EQ(nonZero.size(), 255u);
  EXPECT_EQ(*rounded.begin(), 0);
  EXPECT_EQ(rounded.size(), 256u);
}

TEST(ParentPath, KeepsEverythingUpToTheLastBackslash) {
  EXPECT_EQ(ParentPath("C:\\Docs\\a.txt"), "C:\\Docs\\");
  EXPECT_EQ(ParentPath("C:\\a.txt"), "C:\\");
  EXPECT_EQ(ParentPath("a.txt"), "a.txt");
  EXPECT_EQ(ParentPath(""), "");
}

TEST(RandomFileName, IsANumberDotNumberInTheSameFolder) {
  for (int i = 0; i < 1000; ++i) {
    std::string name = RandomFileName("C:\\Docs\\a.txt");
    ASSERT_EQ(name.rfind("C:\\Docs\\", 0), 0u);
    std::string leaf = name.substr(8);
    size_t dot = leaf.rfind('.');
    ASSERT_NE(dot, std::string::npos) << leaf;
    double a = std::stod(leaf.substr(0, dot));
    long n = std::stol(leaf.substr(dot + 1));
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 1000.0);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 1000);
    EXPECT_EQ(leaf.find('\\'), std::string::npos);
  }
}

TEST(RandomFileName, DrawsAgainWhenTheNameIsTaken) {
  test::TestDir dir;
  SeedGenerator(42);
  std::string first = RandomFileName(dir.Path("a.txt"));
  dir.MakeFile(first.substr(dir.Root().size()), "somebody else's");
  SeedGenerator(42);
  std::string second = RandomFileName(dir.Path("a.txt"));
  EXPECT_NE(second, first);
  EXPECT_EQ(dir.Read(first.substr(dir.Root().size())), "somebody else's");
}

TEST(RenameToRandomName, MovesTheFileWithinItsFolder) {
  test::TestDir dir;
  std::string path = dir.MakeFile("a.txt", "content");
  std::string renamed = RenameToRandomName(path);
  EXPECT_NE(renamed, path);
  EXPECT_FALSE(dir.Exists("a.txt"));
  EXPECT_EQ(dir.Read(renamed.substr(dir.Root().size())), "content");
}

}  // namespace
}  // namespace nullora
