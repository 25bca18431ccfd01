// How start-up classifies its one argument.
#include <gtest/gtest.h>

#include "app/fStart.h"
#include "support/test_files.h"

namespace nullora {
namespace {

TEST(GetCommandType, TheFixedWordsAreExactAndCaseSensitive) {
  EXPECT_EQ(fStart::GetCommandType(""), "");
  EXPECT_EQ(fStart::GetCommandType("StartUpMin"), "StartUpMin");
  EXPECT_EQ(fStart::GetCommandType("Recycle"), "Recycled");
  EXPECT_EQ(fStart::GetCommandType("recycle"), "File");
  EXPECT_EQ(fStart::GetCommandType("RECYCLE"), "File");
  EXPECT_EQ(fStart::GetCommandType("Recycled"), "File");
  EXPECT_EQ(fStart::GetCommandType("startupmin"), "File");
}

TEST(GetCommandType, ADirectoryIsAFolderOrWithATrailingBackslashADrive) {
  test::TestDir dir;
  std::string sub = dir.MakeDir("Windows");
  EXPECT_EQ(fStart::GetCommandType(sub), "Folder");
  EXPECT_EQ(fStart::GetCommandType(sub + "\\"), "Drive");
  EXPECT_EQ(fStart::GetCommandType(dir.Root()), "Drive");
}

TEST(GetCommandType, AFileOrAPathThatNamesNothingIsAFile) {
  test::TestDir dir;
  EXPECT_EQ(fStart::GetCommandType(dir.MakeFile("a.txt", "x")), "File");
  EXPECT_EQ(fStart::GetCommandType(dir.Path("missing.txt")), "File");
  EXPECT_EQ(fStart::GetCommandType(dir.Path("missing\\")), "File");
  EXPECT_EQ(fStart::GetCommandType("Q:\\"), "Drive") << "a missing drive is refused by the drive job";
  EXPECT_EQ(fStart::GetCommandType("\"" + dir.Path("a.txt") + "\""), "File");
}

TEST(TargetArgument, SurroundingQuotesAreDroppedOnlyFromAPathThatIsQuoted) {
  test::TestDir dir;
  std::string path = dir.MakeFile("my file.txt", "x");
  EXPECT_EQ(fStart::TargetArgument("\"" + path + "\""), path);
  EXPECT_EQ(fStart::TargetArgument(path), path);
  EXPECT_EQ(fStart::TargetArgument("\"\""), "\"\"");
  EXPECT_EQ(fStart::TargetArgument("\"Recycle"), "\"Recycle");
}

}  // namespace
}  // namespace nullora
