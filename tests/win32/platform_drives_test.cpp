// The drives through the seam: the roots, their types and their space, compared with what the plain
// Win32 calls say.
#include <windows.h>

#undef GetDriveType
#undef GetDiskFreeSpace

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/unicode.h"

namespace nullora::platform {
namespace {

// A letter no drive has, or 0 when every letter is taken.
char UnusedDriveLetter() {
  DWORD drives = GetLogicalDrives();
  for (int letter = 'Z'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) return static_cast<char>(letter);
  }
  return 0;
}

// --- roots ----------------------------------------------------------------------------------------

TEST(PlatformDrivesTest, LogicalDrivesGivesEveryRootWithItsBackslashInLetterOrder) {
  std::vector<std::string> roots = LogicalDrives();

  EXPECT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
  EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
  DWORD drives = GetLogicalDrives();
  std::vector<std::string> expected;
  for (int letter = 'A'; letter <= 'Z'; ++letter) {
    if (drives & (1u << (letter - 'A')))
      expected.push_back(std::string(1, static_cast<char>(letter)) + ":\\");
  }
  EXPECT_EQ(roots, expected);
}

// --- types ----------------------------------------------------------------------------------------

TEST(PlatformDrivesTest, SystemDriveIsFixed) {
  EXPECT_EQ(GetDriveType("C:\\"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveType("C:\\"), 3);
}

TEST(PlatformDrivesTest, RootWithoutItsBackslashIsTheSameDrive) {
  EXPECT_EQ(GetDriveType("C:"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveType("c:"), DRIVE_FIXED);
}

TEST(PlatformDrivesTest, LetterWithoutADriveIsNoRoot) {
  char letter = UnusedDriveLetter();
  if (!letter) GTEST_SKIP() << "every drive letter from D to Z is taken";

  EXPECT_EQ(GetDriveType(std::string(1, letter) + ":\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveType(std::string(1, letter) + ":\\"), 1);
  EXPECT_EQ(GetDriveType(""), 1);
}

TEST(PlatformDrivesTest, EveryListedRootHasTheTypeWindowsGivesIt) {
  for (const std::string& root : LogicalDrives()) {
    EXPECT_EQ(GetDriveType(root), static_cast<int>(GetDriveTypeW(win32::Utf8ToWide(root).c_str()))) << root;
    EXPECT_GT(GetDriveType(root), 1) << root;
  }
}

// --- space ----------------------------------------------------------------------------------------

TEST(PlatformDrivesTest, SpaceOfTheSystemDriveIsConsistent) {
  DiskSpace space;
  ASSERT_EQ(GetDiskFreeSpace("C:\\", &space), IoError::None);

  EXPECT_GT(space.totalFree, 0u);
  EXPECT_GE(space.total, space.totalFree);
  EXPECT_GE(space.totalFree, space.freeToCaller);
  ULARGE_INTEGER freeToCaller;
  ULARGE_INTEGER total;
  ULARGE_INTEGER totalFree;
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &freeToCaller, &total, &totalFree));
  EXPECT_EQ(space.total, total.QuadPart);
}

TEST(PlatformDrivesTest, SpaceOfADirectoryIsThatOfItsDrive) {
  wchar_t temp[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  ASSERT_GT(length, 0u);
  const std::string tempDir = win32::WideToUtf8(temp, length);
  ULARGE_INTEGER freeToCaller;
  ULARGE_INTEGER total;
  ULARGE_INTEGER totalFree;
  ASSERT_TRUE(GetDiskFreeSpaceExW(temp, &freeToCaller, &total, &totalFree));

  DiskSpace space;
  ASSERT_EQ(GetDiskFreeSpace(tempDir, &space), IoError::None);

  EXPECT_EQ(space.total, total.QuadPart);
  EXPECT_GT(space.total, 0u);
}

TEST(PlatformDrivesTest, SpaceOfAMissingDriveIsNotFoundAndZero) {
  char letter = UnusedDriveLetter();
  if (!letter) GTEST_SKIP() << "every drive letter from D to Z is taken";
  DiskSpace space;
  space.total = 42;

  EXPECT_EQ(GetDiskFreeSpace(std::string(1, letter) + ":\\", &space), IoError::NotFound);

  EXPECT_EQ(space.total, 0u);
  EXPECT_EQ(space.totalFree, 0u);
}

}  // namespace
}  // namespace nullora::platform
