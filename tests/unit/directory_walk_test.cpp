// The directory walk: its order, what it skips, and that it never leaves the tree through a link.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/directory_walk.h"
#include "platform/platform.h"
#include "support/test_files.h"

namespace nullora {
namespace {

class DirectoryWalkTest : public ::testing::Test {
 protected:
  test::TestDir dir;
  std::vector<std::string> Relative(const std::vector<std::string>& paths) const {
    std::vector<std::string> relative;
    for (const std::string& path : paths) relative.push_back(path.substr(dir.Root().size()));
    return relative;
  }
  static std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST(NormalizeDirPath, TrimsAndEndsInOneBackslash) {
  EXPECT_EQ(NormalizeDirPath("  C:\\Data  "), "C:\\Data\\");
  EXPECT_EQ(NormalizeDirPath("C:\\Data\\"), "C:\\Data\\");
  EXPECT_EQ(NormalizeDirPath(""), "");
  EXPECT_EQ(NormalizeDirPath("   "), "");
}

TEST_F(DirectoryWalkTest, SiblingsComeBeforeWhatLiesBelowThem) {
  for (const char* path : {"A\\A1\\A1x", "A\\A2", "B\\B1"}) dir.MakeDir(path);
  std::vector<std::string> result;
  EXPECT_EQ(GetFilesInDirs(dir.Root(), "", result, true), 6u);
  std::vector<std::string> relative = Relative(result);
  // Siblings come in the order the file system lists them; the levels come in this order.
  ASSERT_EQ(relative.size(), 6u);
  EXPECT_EQ(Sorted({relative[0], relative[1]}), (std::vector<std::string>{"A", "B"}));
  const bool aFirst = relative[0] == "A";
  std::vector<std::string> expected =
      aFirst ? std::vector<std::string>{"A", "B", "A\\A1", "A\\A2", "A\\A1\\A1x", "B\\B1"}
             : std::vector<std::string>{"B", "A", "B\\B1", "A\\A1", "A\\A2", "A\\A1\\A1x"};
  if (aFirst && relative[2] == "A\\A2") expected = {"A", "B", "A\\A2", "A\\A1", "A\\A1\\A1x", "B\\B1"};
  if (!aFirst && relative[3] == "A\\A2") expected = {"B", "A", "B\\B1", "A\\A2", "A\\A1", "A\\A1\\A1x"};
  EXPECT_EQ(relative, expected);
}

TEST_F(DirectoryWalkTest, PeriodNamedDirectoriesAndEverythingBelowThemAreSkipped) {
  dir.MakeDir(".cache\\inner");
  dir.MakeFile(".cache\\inner\\f.txt", "x");
  dir.MakeDir("kept");
  std::vector<std::string> directories, files;
  ScanDir(dir.Root(), directories, files);
  EXPECT_EQ(Relative(directories), std::vector<std::string>{"kept"});
  EXPECT_TRUE(files.empty());
}

TEST_F(DirectoryWalkTest, ScanDirListsEveryFileHiddenAndReadOnlyIncluded) {
  dir.MakeDir("sub\\deeper");
  std::string hidden = dir.MakeFile("hidden.txt", "h");
  platform::SetFileAttributes(hidden, platform::kAttrHidden);
  std::string readOnly = dir.MakeFile("sub\\ro.txt", "r");
  platform::SetFileAttributes(readOnly, platform::kAttrReadOnly);
  dir.MakeFile("sub\\deeper\\deep.txt", "d");
  std::vector<std::string> directories, files;
  ScanDir(dir.Root(), directories, files);
  EXPECT_EQ(Sorted(Relative(files)), (std::vector<std::string>{"hidden.txt", "sub\\deeper\\deep.txt", "sub\\ro.txt"}));
  EXPECT_EQ(Relative(directories), (std::vector<std::string>{"sub", "sub\\deeper"}));
  platform::SetFileAttributes(readOnly, platform::kAttrNormal);
}

TEST_F(DirectoryWalkTest, APatternFindsEveryMatchAtAnyDepth) {
  dir.MakeDir("a\\b\\c");
  dir.MakeFile("index.dat", "1");
  dir.MakeFile("a\\b\\c\\index.dat", "2");
  dir.MakeFile("a\\other.dat", "3");
  std::vector<std::string> result;
  EXPECT_EQ(GetFilesInDirs(dir.Root(), "index.dat", result, true), 2u);
  EXPECT_EQ(Sorted(Relative(result)), (std::vector<std::string>{"a\\b\\c\\index.dat", "index.dat"}));
}

TEST_F(DirectoryWalkTest, AnEmptyOrMissingDirectoryGivesNothing) {
  std::string empty = dir.MakeDir("empty");
  std::vector<std::string> result{"stale"};
  EXPECT_EQ(GetFilesInDirs(empty, "", result, true), 0u);
  EXPECT_TRUE(result.empty());
  EXPECT_EQ(GetFilesInDirs(dir.Path("missing"), "", result, false), 0u);
  std::vector<std::string> directories, files;
  ScanDir(dir.Path("missing\\"), directories, files);
  EXPECT_TRUE(directories.empty());
  EXPECT_TRUE(files.empty());
}

TEST_F(DirectoryWalkTest, ManyFilesAreAllListed) {
  dir.MakeDir("many");
  for (int i = 0; i < test::kManyFiles; ++i) dir.MakeFile("many\\f" + std::to_string(i), "");
  std::vector<std::string> directories, files;
  ScanDir(dir.Path("many\\"), directories, files);
  EXPECT_EQ(files.size(), static_cast<size_t>(test::kManyFiles));
  EXPECT_TRUE(std::none_of(files.begin(), files.end(), [](const std::string& f) { return f.empty(); }));
}

#ifndef _WIN32
TEST_F(DirectoryWalkTest, ALinkToADirectoryOutsideIsListedAsAFileAndNeverEntered) {
  test::TestDir outside;
  outside.MakeDir("secret");
  outside.MakeFile("secret\\keep.txt", "precious");
  dir.MakeDir("tree");
  std::filesystem::create_directory_symlink(outside.HostPath("secret"), dir.HostPath("tree\\link"));
  std::vector<std::string> directories, files;
  ScanDir(dir.Path("tree\\"), directories, files);
  EXPECT_TRUE(directories.empty());
  EXPECT_EQ(Relative(files), std::vector<std::string>{"tree\\link"});
}
#endif

}  // namespace
}  // namespace nullora
