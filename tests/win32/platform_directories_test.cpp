// Listing and removing directories through the seam, on real directories under Wine. Every check of an
// effect goes through plain Win32 calls, not through the functions under test.
#include <windows.h>

#undef RemoveDirectory

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/unicode.h"
#include "win32/win32_test_support.h"

namespace nullora::platform {
namespace {

class PlatformDirectoriesTest : public testing::Test {
 protected:
  void SetUp() override {
    wideDir_ = MakeTestDirectory(L"nullora-dirs-");
    ASSERT_FALSE(wideDir_.empty()) << GetLastError();
    dir_ = win32::WideToUtf8(wideDir_);
  }

  void TearDown() override { RemoveTree(L"\\\\?\\" + wideDir_); }

  std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
  std::wstring WidePath(const std::wstring& name) const { return wideDir_ + L"\\" + name; }

  static bool IsRealDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  static std::map<std::string, DirEntry> ByName(const std::vector<DirEntry>& entries) {
    std::map<std::string, DirEntry> byName;
    for (const DirEntry& entry : entries) byName[entry.name] = entry;
    return byName;
  }

  static std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const DirEntry& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir_;
  std::wstring wideDir_;
};

// --- listing --------------------------------------------------------------------------------------

TEST_F(PlatformDirectoriesTest, StarDotStarListsEveryKindOfEntryWithItsAttributesAndSize) {
  WriteWhole(WidePath(L"plain.txt"), "0123456789");
  WriteWhole(WidePath(L"hidden.bin"), "abc");
  WriteWhole(WidePath(L"system.bin"), "sys!");
  WriteWhole(WidePath(L"readonly.txt"), "fixed");
  WriteWhole(WidePath(L"noextension"), "");
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"hidden dir").c_str(), nullptr));
  ASSERT_TRUE(SetFileAttributesW(WidePath(L"hidden.bin").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(
      SetFileAttributesW(WidePath(L"system.bin").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW(WidePath(L"readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(SetFileAttributesW(WidePath(L"hidden dir").c_str(), FILE_ATTRIBUTE_HIDDEN));

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path("*.*"), &entries), IoError::None);

  EXPECT_EQ(Names(entries), (std::vector<std::string>{"hidden dir", "hidden.bin", "noextension", "plain.txt",
                                                      "readonly.txt", "sub", "system.bin"}));
  std::map<std::string, DirEntry> byName = ByName(entries);
  for (const auto& [name, entry] : byName) {
    EXPECT_EQ(entry.attributes, GetFileAttributesW(WidePath(win32::Utf8ToWide(name)).c_str())) << name;
  }
  EXPECT_EQ(byName["plain.txt"].size, 10u);
  EXPECT_EQ(byName["hidden.bin"].size, 3u);
  EXPECT_EQ(byName["system.bin"].size, 4u);
  EXPECT_EQ(byName["readonly.txt"].size, 5u);
  EXPECT_EQ(byName["noextension"].size, 0u);
  EXPECT_NE(byName["hidden.bin"].attributes & kAttrHidden, 0u);
  EXPECT_NE(byName["system.bin"].attributes & kAttrSystem, 0u);
  EXPECT_NE(byName["readonly.txt"].attributes & kAttrReadOnly, 0u);
  EXPECT_NE(byName["sub"].attributes & kAttrDirectory, 0u);
  EXPECT_EQ(byName["sub"].attributes & kAttrReparsePoint, 0u);
  EXPECT_NE(byName["hidden dir"].attributes & kAttrDirectory, 0u);
  EXPECT_NE(byName["hidden dir"].attributes & kAttrHidden, 0u);
  EXPECT_EQ(byName["plain.txt"].attributes & (kAttrDirectory | kAttrHidden | kAttrReadOnly), 0u);
}

TEST_F(PlatformDirectoriesTest, PatternWithANameMatchesOnlyThatName) {
  WriteWhole(WidePath(L"index.dat"), "the one");
  WriteWhole(WidePath(L"index.dat.bak"), "no");
  WriteWhole(WidePath(L"xindex.dat"), "no");
  WriteWhole(WidePath(L"index.da"), "no");

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path("index.dat"), &entries), IoError::None);

  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "index.dat");
  EXPECT_EQ(entries[0].size, 7u);
}

TEST_F(PlatformDirectoriesTest, WildcardPatternMatchesByExtension) {
  WriteWhole(WidePath(L"a.tmp"), "1");
  WriteWhole(WidePath(L"b.tmp"), "22");
  WriteWhole(WidePath(L"c.txt"), "333");

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path("*.tmp"), &entries), IoError::None);

  EXPECT_EQ(Names(entries), (std::vector<std::string>{"a.tmp", "b.tmp"}));
}

TEST_F(PlatformDirectoriesTest, EmptyDirectoryGivesNoEntriesAndNoError) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"empty").c_str(), nullptr));
  std::vector<DirEntry> entries = {{"stale", 0, 0}};

  EXPECT_EQ(ListDirectory(Path("empty\\*.*"), &entries), IoError::None);

  EXPECT_TRUE(entries.empty());
}

TEST_F(PlatformDirectoriesTest, PatternMatchingNothingInAnExistingDirectoryIsNoError) {
  WriteWhole(WidePath(L"a.txt"), "a");
  std::vector<DirEntry> entries;

  EXPECT_EQ(ListDirectory(Path("index.dat"), &entries), IoError::None);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(ListDirectory(Path("*.tmp"), &entries), IoError::None);
  EXPECT_TRUE(entries.empty());
}

TEST_F(PlatformDirectoriesTest, MissingDirectoryIsNotFound) {
  std::vector<DirEntry> entries = {{"stale", 0, 0}};

  EXPECT_EQ(ListDirectory(Path("absent\\*.*"), &entries), IoError::NotFound);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(ListDirectory(Path("absent\\index.dat"), &entries), IoError::NotFound);
}

TEST_F(PlatformDirectoriesTest, FileInPlaceOfTheDirectoryIsNotFound) {
  WriteWhole(WidePath(L"file"), "not a directory");
  std::vector<DirEntry> entries;

  EXPECT_EQ(ListDirectory(Path("file\\*.*"), &entries), IoError::NotFound);
  EXPECT_TRUE(entries.empty());
}

TEST_F(PlatformDirectoriesTest, UnicodeNamesComeBackAsUtf8) {
  WriteWhole(WidePath(L"\u00DCn\u00EFc\u00F8d\u00E9 \u2713 \u65E5\u672C.txt"), "unicode");
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"\u00C6r\u00F8sk\u00F8bing \u2211").c_str(), nullptr));

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path("*.*"), &entries), IoError::None);

  const std::string file = reinterpret_cast<const char*>(u8"Ünïcødé ✓ 日本.txt");
  const std::string folder = reinterpret_cast<const char*>(u8"Ærøskøbing ∑");
  EXPECT_EQ(Names(entries), (std::vector<std::string>{folder, file}));  // byte order: Æ before Ü
  std::map<std::string, DirEntry> byName = ByName(entries);
  EXPECT_EQ(byName[file].size, 7u);
  EXPECT_NE(byName[folder].attributes & kAttrDirectory, 0u);
}

TEST_F(PlatformDirectoriesTest, UnicodeDirectoryInThePatternIsListed) {
  const std::wstring wideFolder = L"\u65E5\u672C \u2713";
  ASSERT_TRUE(CreateDirectoryW(WidePath(wideFolder).c_str(), nullptr));
  WriteWhole(WidePath(wideFolder + L"\\inside.txt"), "in");

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path(reinterpret_cast<const char*>(u8"日本 ✓\\*.*")), &entries), IoError::None);

  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "inside.txt");
}

TEST_F(PlatformDirectoriesTest, DirectoryBeyondMaxPathIsListed) {
  std::string relative;
  std::wstring wideRelative;
  for (int level = 0; level < 6; ++level) {
    std::string segment = "level" + std::to_string(level) + "_" + std::string(43, 'x');
    relative += segment + "\\";
    wideRelative += std::wstring(segment.begin(), segment.end()) + L"\\";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + WidePath(wideRelative)).c_str(), nullptr)) << GetLastError();
  }
  WriteWhole(L"\\\\?\\" + WidePath(wideRelative) + L"deep.bin", "deep down");
  ASSERT_GT(Path(relative).size(), 300u);

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path(relative + "*.*"), &entries), IoError::None);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "deep.bin");
  EXPECT_EQ(entries[0].size, 9u);

  // Nothing matching down there is still an existing, empty answer.
  EXPECT_EQ(ListDirectory(Path(relative + "*.tmp"), &entries), IoError::None);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(ListDirectory(Path(relative + "absent\\*.*"), &entries), IoError::NotFound);
}

TEST_F(PlatformDirectoriesTest, SizeBeyondFourGigabytesIsGivenWhole) {
  constexpr uint64_t kFiveGiB = 5ull << 30;
  HANDLE file = CreateFileW(WidePath(L"big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(kFiveGiB);
  // Only the length is set: the file system keeps it sparse, so the test costs no disk space.
  bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  if (!grown) GTEST_SKIP() << "the disk refused a 5 GiB file";

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path("big.bin"), &entries), IoError::None);

  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, kFiveGiB);
}

// --- removing -------------------------------------------------------------------------------------

TEST_F(PlatformDirectoriesTest, RemoveDirectoryRemovesAnEmptyDirectory) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"empty").c_str(), nullptr));

  EXPECT_EQ(RemoveDirectory(Path("empty")), IoError::None);

  EXPECT_EQ(GetFileAttributesW(WidePath(L"empty").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PlatformDirectoriesTest, RemoveDirectoryRemovesAnEmptyDirectoryWithAUnicodeName) {
  const std::wstring wideName = L"\u00DCn\u00EF \u2713 \u65E5\u672C";
  ASSERT_TRUE(CreateDirectoryW(WidePath(wideName).c_str(), nullptr));

  EXPECT_EQ(RemoveDirectory(Path(reinterpret_cast<const char*>(u8"Ünï ✓ 日本"))), IoError::None);

  EXPECT_EQ(GetFileAttributesW(WidePath(wideName).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PlatformDirectoriesTest, RemoveDirectoryOfANonEmptyDirectoryFailsAndKeepsEverything) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"full").c_str(), nullptr));
  WriteWhole(WidePath(L"full\\keep.txt"), "keep me");

  EXPECT_EQ(RemoveDirectory(Path("full")), IoError::Other);

  EXPECT_TRUE(IsRealDirectory(WidePath(L"full")));
  EXPECT_EQ(ReadWhole(WidePath(L"full\\keep.txt")), "keep me");
}

TEST_F(PlatformDirectoriesTest, RemoveDirectoryOfAMissingDirectoryIsNotFound) {
  EXPECT_EQ(RemoveDirectory(Path("absent")), IoError::NotFound);
}

TEST_F(PlatformDirectoriesTest, RemoveDirectoryNeverRemovesAFile) {
  WriteWhole(WidePath(L"file.txt"), "a file");

  EXPECT_NE(RemoveDirectory(Path("file.txt")), IoError::None);

  EXPECT_EQ(ReadWhole(WidePath(L"file.txt")), "a file");
}

// --- links ----------------------------------------------------------------------------------------


// A link to an empty directory, next to it: the case where removing by name through the link would
// take the target with it.
class PlatformDirectoryLinkTest : public PlatformDirectoriesTest {
 protected:
  void SetUp() override {
    PlatformDirectoriesTest::SetUp();
    if (HasFatalFailure()) return;
    link_ = WidePath(L"link");
    target_ = WidePath(L"target");
    ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));
    if (!MakeDirectoryLink()) {
      GTEST_SKIP()
          << "no directory link can be made here: CreateSymbolicLinkW made none, and this is not Wine";
    }
  }

  void TearDown() override {
    if (hostLink_ && HostShell::Start(L"/bin/rm -f \"" + HostShell::UnixPath(link_) + L"\"")) {
      WaitFor([&] { return GetFileAttributesW(link_.c_str()) == INVALID_FILE_ATTRIBUTES; });
    } else if (!hostLink_) {
      RemoveDirectoryW(link_.c_str());  // a Windows symbolic link goes by itself, its target stays
    }
    PlatformDirectoriesTest::TearDown();
  }

  bool IsLinkOnDisk() const {
    DWORD attributes = GetFileAttributesW(link_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  // Wine's CreateSymbolicLinkW reports success and makes nothing, but Wine shows a host symbolic link
  // to a directory as a reparse point: there the host's ln makes one.
  bool MakeDirectoryLink() {
    constexpr DWORD kAllowUnprivileged = 0x2;
    if (CreateSymbolicLinkW(link_.c_str(), target_.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivileged) ||
        CreateSymbolicLinkW(link_.c_str(), target_.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
      if (IsLinkOnDisk()) return true;
    }
    if (!HostShell::Available()) return false;
    std::wstring unixLink = HostShell::UnixPath(link_);
    std::wstring unixTarget = HostShell::UnixPath(target_);
    if (unixLink.empty() || unixTarget.empty()) return false;
    hostLink_ = HostShell::Start(L"/bin/ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"");
    return hostLink_ && WaitFor([&] { return IsLinkOnDisk(); });
  }

  std::wstring link_;
  std::wstring target_;
  bool hostLink_ = false;
};

TEST_F(PlatformDirectoryLinkTest, DirectoryLinkIsListedAsAReparsePoint) {
  WriteWhole(target_ + L"\\inside.txt", "inside");

  std::vector<DirEntry> entries;
  ASSERT_EQ(ListDirectory(Path("*.*"), &entries), IoError::None);

  std::map<std::string, DirEntry> byName = ByName(entries);
  ASSERT_EQ(byName.count("link"), 1u);
  EXPECT_NE(byName["link"].attributes & kAttrReparsePoint, 0u);
  EXPECT_NE(byName["link"].attributes & kAttrDirectory, 0u);
  EXPECT_EQ(byName["target"].attributes & kAttrReparsePoint, 0u);
  // The link is listed, not entered: what lies behind it is not in this listing.
  EXPECT_EQ(byName.count("inside.txt"), 0u);
}

TEST_F(PlatformDirectoryLinkTest, RemoveDirectoryRefusesALinkToAnEmptyDirectoryAndKeepsBoth) {
  EXPECT_EQ(RemoveDirectory(Path("link")), IoError::IsLink);

  EXPECT_TRUE(IsLinkOnDisk());
  EXPECT_TRUE(IsRealDirectory(target_));
}

TEST_F(PlatformDirectoryLinkTest, RemoveDirectoryRefusesALinkToAFullDirectoryAndKeepsItsContent) {
  WriteWhole(target_ + L"\\inside.txt", "inside");

  EXPECT_EQ(RemoveDirectory(Path("link")), IoError::IsLink);

  EXPECT_TRUE(IsLinkOnDisk());
  EXPECT_EQ(ReadWhole(target_ + L"\\inside.txt"), "inside");
}

}  // namespace
}  // namespace nullora::platform
