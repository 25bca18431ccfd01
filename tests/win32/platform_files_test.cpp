// The file side of the platform seam on real files, through Wine's file system. Every check of an
// effect goes through plain Win32 calls, not through the functions under test.
#include <windows.h>
#include <winioctl.h>

#undef GetFileAttributes
#undef SetFileAttributes
#undef DeleteFile
#undef MoveFile

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/win32/unicode.h"
#include "win32/win32_test_support.h"

namespace nullora::platform {
namespace {

// The reference point of every path: the directory the test runs in, as a plain Win32 path.
class PlatformFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    wideDir_ = MakeTestDirectory(L"nullora-files-");
    ASSERT_FALSE(wideDir_.empty()) << GetLastError();
    dir_ = win32::WideToUtf8(wideDir_);
  }

  void TearDown() override { RemoveTree(L"\\\\?\\" + wideDir_); }

  std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
  std::wstring WidePath(const std::wstring& name) const { return wideDir_ + L"\\" + name; }

  static bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::string dir_;
  std::wstring wideDir_;
};

HANDLE ToHandle(FileHandle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// --- attributes and access ------------------------------------------------------------------------

TEST_F(PlatformFilesTest, ReadOnlyFileRefusesWriteOpenWithAccessDenied) {
  WriteWhole(WidePath(L"ro.bin"), "0123456789");
  ASSERT_TRUE(SetFileAttributesW(WidePath(L"ro.bin").c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_NE(GetFileAttributes(Path("ro.bin")) & kAttrReadOnly, 0u);
  for (Disposition disposition :
       {Disposition::OpenExisting, Disposition::OpenAlways, Disposition::CreateAlways}) {
    FileHandle handle = 0;
    EXPECT_EQ(OsOpen(Path("ro.bin"), Access::ReadWrite, kShareRead, disposition, &handle),
              IoError::AccessDenied);
    EXPECT_EQ(handle, kInvalidHandle);
    if (handle != kInvalidHandle) OsClose(handle);
  }

  EXPECT_EQ(ReadWhole(WidePath(L"ro.bin")), "0123456789");
}

TEST_F(PlatformFilesTest, ClearedReadOnlyFileTakesBytesAtAnOffset) {
  WriteWhole(WidePath(L"ro.bin"), "0123456789");
  ASSERT_TRUE(SetFileAttributesW(WidePath(L"ro.bin").c_str(), FILE_ATTRIBUTE_READONLY));

  ASSERT_EQ(SetFileAttributes(Path("ro.bin"), kAttrNormal), IoError::None);
  EXPECT_EQ(GetFileAttributesW(WidePath(L"ro.bin").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  FileHandle handle = kInvalidHandle;
  ASSERT_EQ(OsOpen(Path("ro.bin"), Access::Write, kShareNone, Disposition::OpenExisting, &handle),
            IoError::None);
  EXPECT_EQ(OsWriteAt(handle, 4, "ab", 2), IoError::None);
  EXPECT_EQ(OsFlush(handle), IoError::None);
  OsClose(handle);

  EXPECT_EQ(ReadWhole(WidePath(L"ro.bin")), "0123ab6789");
}

TEST_F(PlatformFilesTest, GetFileAttributesOfAbsentPathIsInvalid) {
  EXPECT_EQ(GetFileAttributes(Path("absent.bin")), kInvalidAttributes);
  EXPECT_EQ(SetFileAttributes(Path("absent.bin"), kAttrNormal), IoError::NotFound);
}

TEST_F(PlatformFilesTest, OpenExistingOfAbsentFileIsNotFoundAndCreatesNothing) {
  FileHandle handle = 0;
  EXPECT_EQ(OsOpen(Path("absent.bin"), Access::Write, kShareNone, Disposition::OpenExisting, &handle),
            IoError::NotFound);
  EXPECT_EQ(handle, kInvalidHandle);
  EXPECT_FALSE(Exists(WidePath(L"absent.bin")));
  EXPECT_EQ(OsOpen(Path("no-such-dir\\a.bin"), Access::Write, kShareNone, Disposition::CreateAlways, &handle),
            IoError::NotFound);
}

TEST_F(PlatformFilesTest, CreateAlwaysTruncatesAndOpenAlwaysKeepsContent) {
  WriteWhole(WidePath(L"keep.bin"), "keep me");
  WriteWhole(WidePath(L"trunc.bin"), "drop me");
  FileHandle handle = kInvalidHandle;

  ASSERT_EQ(OsOpen(Path("keep.bin"), Access::ReadWrite, kShareRead, Disposition::OpenAlways, &handle),
            IoError::None);
  uint64_t length = 0;
  EXPECT_EQ(OsLength(handle, &length), IoError::None);
  EXPECT_EQ(length, 7u);
  OsClose(handle);
  ASSERT_EQ(OsOpen(Path("trunc.bin"), Access::ReadWrite, kShareRead, Disposition::CreateAlways, &handle),
            IoError::None);
  EXPECT_EQ(OsLength(handle, &length), IoError::None);
  EXPECT_EQ(length, 0u);
  OsClose(handle);

  EXPECT_EQ(ReadWhole(WidePath(L"keep.bin")), "keep me");
  EXPECT_EQ(ReadWhole(WidePath(L"trunc.bin")), "");
}

TEST_F(PlatformFilesTest, SetLengthShortensTheFile) {
  WriteWhole(WidePath(L"short.bin"), "0123456789");
  FileHandle handle = kInvalidHandle;
  ASSERT_EQ(OsOpen(Path("short.bin"), Access::Write, kShareNone, Disposition::OpenExisting, &handle),
            IoError::None);
  EXPECT_EQ(OsSetLength(handle, 3), IoError::None);
  OsClose(handle);

  EXPECT_EQ(ReadWhole(WidePath(L"short.bin")), "012");
}

TEST_F(PlatformFilesTest, RelativePathIsTakenFromTheCurrentDirectory) {
  wchar_t previous[MAX_PATH + 1];
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH + 1, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(wideDir_.c_str()));
  FileHandle handle = kInvalidHandle;
  IoError error = OsOpen("relative.bin", Access::Write, kShareNone, Disposition::CreateAlways, &handle);
  if (error == IoError::None) {
    EXPECT_EQ(OsWriteAt(handle, 0, "rel", 3), IoError::None);
    OsClose(handle);
  }
  SetCurrentDirectoryW(previous);

  ASSERT_EQ(error, IoError::None);
  EXPECT_EQ(ReadWhole(WidePath(L"relative.bin")), "rel");
}

// --- sharing --------------------------------------------------------------------------------------

TEST_F(PlatformFilesTest, FileHeldWithoutWriteShareIsInUse) {
  WriteWhole(WidePath(L"held.bin"), "held");
  HANDLE other = CreateFileW(WidePath(L"held.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);

  FileHandle handle = 0;
  EXPECT_EQ(
      OsOpen(Path("held.bin"), Access::Write, kShareRead | kShareWrite, Disposition::OpenExisting, &handle),
      IoError::InUse);
  EXPECT_EQ(handle, kInvalidHandle);
  CloseHandle(other);
}

TEST_F(PlatformFilesTest, DeleteOfHeldFileFailsAndTheFileStays) {
  WriteWhole(WidePath(L"held.bin"), "held");
  HANDLE other = CreateFileW(WidePath(L"held.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);

  EXPECT_EQ(DeleteFile(Path("held.bin")), IoError::InUse);
  CloseHandle(other);

  EXPECT_EQ(ReadWhole(WidePath(L"held.bin")), "held");
}

TEST_F(PlatformFilesTest, QueryFileInfoSeesAFileHeldExclusively) {
  WriteWhole(WidePath(L"locked.bin"), "12345");
  HANDLE other = CreateFileW(WidePath(L"locked.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);

  std::optional<FileInfo> info = QueryFileInfo(Path("locked.bin"));
  CloseHandle(other);

  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->size, 5u);
  EXPECT_FALSE(info->isLink);
}

// --- names beyond the ANSI code page, and long paths ----------------------------------------------

TEST_F(PlatformFilesTest, UnicodeNameGoesThroughEveryOperation) {
  const std::string name = reinterpret_cast<const char*>(u8"Ünïcødé ✓ 日本.txt");
  const std::string moved = reinterpret_cast<const char*>(u8"Ærøskøbing ∑ 東京.bin");
  const std::wstring wideName = L"\u00DCn\u00EFc\u00F8d\u00E9 \u2713 \u65E5\u672C.txt";
  const std::wstring wideMoved = L"\u00C6r\u00F8sk\u00F8bing \u2211 \u6771\u4EAC.bin";

  FileHandle handle = kInvalidHandle;
  ASSERT_EQ(OsOpen(Path(name), Access::ReadWrite, kShareNone, Disposition::CreateAlways, &handle),
            IoError::None);
  EXPECT_EQ(OsWriteAt(handle, 0, "unicode", 7), IoError::None);
  uint64_t length = 0;
  EXPECT_EQ(OsLength(handle, &length), IoError::None);
  EXPECT_EQ(length, 7u);
  OsClose(handle);
  EXPECT_EQ(ReadWhole(WidePath(wideName)), "unicode");

  EXPECT_EQ(SetFileAttributes(Path(name), kAttrReadOnly), IoError::None);
  EXPECT_NE(GetFileAttributesW(WidePath(wideName).c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_NE(GetFileAttributes(Path(name)) & kAttrReadOnly, 0u);
  EXPECT_EQ(SetFileAttributes(Path(name), kAttrNormal), IoError::None);

  EXPECT_EQ(MoveFile(Path(name), Path(moved)), IoError::None);
  EXPECT_FALSE(Exists(WidePath(wideName)));
  EXPECT_EQ(ReadWhole(WidePath(wideMoved)), "unicode");

  EXPECT_EQ(DeleteFile(Path(moved)), IoError::None);
  EXPECT_FALSE(Exists(WidePath(wideMoved)));
}

class PlatformLongPathTest : public PlatformFilesTest {
 protected:
  void SetUp() override {
    PlatformFilesTest::SetUp();
    // Six levels of fifty characters put the file well past MAX_PATH.
    relative_ = "";
    std::wstring wideRelative;
    for (int level = 0; level < 6; ++level) {
      std::string segment = "level" + std::to_string(level) + "_" + std::string(43, 'x');
      relative_ += segment + "\\";
      wideRelative += std::wstring(segment.begin(), segment.end()) + L"\\";
      ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + WidePath(wideRelative)).c_str(), nullptr)) << GetLastError();
    }
    relative_ += "file.bin";
    prefixedFile_ = L"\\\\?\\" + WidePath(wideRelative) + L"file.bin";
    ASSERT_GT(Path(relative_).size(), 300u);
  }

  std::string relative_;
  std::wstring prefixedFile_;
};

TEST_F(PlatformLongPathTest, FileBeyondMaxPathIsCreatedWrittenMeasuredAndDeleted) {
  const std::string path = Path(relative_);
  const std::string content(1000, 'L');

  FileHandle handle = kInvalidHandle;
  ASSERT_EQ(OsOpen(path, Access::Write, kShareNone, Disposition::CreateAlways, &handle), IoError::None);
  EXPECT_EQ(OsWriteAt(handle, 0, content.data(), content.size()), IoError::None);
  uint64_t length = 0;
  EXPECT_EQ(OsLength(handle, &length), IoError::None);
  EXPECT_EQ(length, 1000u);
  OsClose(handle);
  EXPECT_EQ(ReadWhole(prefixedFile_), content);

  std::optional<FileInfo> info = QueryFileInfo(path);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->size, 1000u);
  EXPECT_FALSE(info->isLink);
  EXPECT_FALSE(info->isDirectory);
  EXPECT_EQ(info->linkCount, 1u);
  EXPECT_EQ(GetFileAttributes(path) & kAttrDirectory, 0u);

  EXPECT_EQ(DeleteFile(path), IoError::None);
  EXPECT_FALSE(Exists(prefixedFile_));
}

TEST_F(PlatformLongPathTest, LongPathWithSlashesAndDotSegmentsNamesTheSameFile) {
  WriteWhole(prefixedFile_, "same");
  std::string tail = relative_;
  std::replace(tail.begin(), tail.end(), '\\', '/');
  const std::string twisted = dir_ + "/./level0_" + std::string(43, 'x') + "/../" + tail;

  std::optional<FileInfo> info = QueryFileInfo(twisted);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->size, 4u);
  FileHandle handle = kInvalidHandle;
  ASSERT_EQ(OsOpen(twisted, Access::Write, kShareNone, Disposition::OpenExisting, &handle), IoError::None);
  EXPECT_EQ(OsWriteAt(handle, 0, "SA", 2), IoError::None);
  OsClose(handle);

  EXPECT_EQ(ReadWhole(prefixedFile_), "SAme");
}

// --- the form handed to the W functions -----------------------------------------------------------

TEST(ToLongPathW, ShortPathsAreHandedOverAsGiven) {
  EXPECT_EQ(win32::ToLongPathW("C:\\Docs\\a.txt"), L"C:\\Docs\\a.txt");
  EXPECT_EQ(win32::ToLongPathW("Docs/../a.txt"), L"Docs/../a.txt");
  EXPECT_EQ(win32::ToLongPathW("\\\\server\\share\\a.txt"), L"\\\\server\\share\\a.txt");
}

TEST(ToLongPathW, LongDrivePathGetsThePrefixAndCanonicalSeparators) {
  const std::string name(250, 'n');
  const std::wstring wideName(250, L'n');

  EXPECT_EQ(win32::ToLongPathW("C:\\" + name + "\\.\\skip\\..\\sub/file.txt"),
            L"\\\\?\\C:\\" + wideName + L"\\sub\\file.txt");
}

TEST(ToLongPathW, LongSharePathGetsTheUncPrefix) {
  const std::string name(250, 'n');
  const std::wstring wideName(250, L'n');

  EXPECT_EQ(win32::ToLongPathW("\\\\server\\share\\" + name + "\\a.txt"),
            L"\\\\?\\UNC\\server\\share\\" + wideName + L"\\a.txt");
}

TEST(ToLongPathW, PrefixedPathIsLeftAlone) {
  const std::string name(250, 'n');
  const std::wstring wideName(250, L'n');

  EXPECT_EQ(win32::ToLongPathW("\\\\?\\C:\\" + name + "\\.\\a.txt"),
            L"\\\\?\\C:\\" + wideName + L"\\.\\a.txt");
}

TEST(ToLongPathW, Utf8BecomesUtf16) {
  EXPECT_EQ(win32::ToLongPathW(reinterpret_cast<const char*>(u8"C:\\Ünï ✓ 日本")),
            L"C:\\\u00DCn\u00EF \u2713 \u65E5\u672C");
}

// --- 64-bit lengths -------------------------------------------------------------------------------

TEST_F(PlatformFilesTest, ThreeGigabyteLengthIsSetWrittenAndReadBack) {
  constexpr uint64_t kThreeGiB = 3ull << 30;
  FileHandle handle = kInvalidHandle;
  ASSERT_EQ(OsOpen(Path("big.bin"), Access::ReadWrite, kShareNone, Disposition::CreateAlways, &handle),
            IoError::None);
  // Sparse where the file system allows it, so the test costs no real disk space.
  DWORD returned = 0;
  DeviceIoControl(ToHandle(handle), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);

  IoError grown = OsSetLength(handle, kThreeGiB);
  if (grown != IoError::None) {
    OsClose(handle);
    GTEST_SKIP() << "the disk refused a 3 GiB file: " << Describe(grown);
  }
  uint64_t length = 0;
  EXPECT_EQ(OsLength(handle, &length), IoError::None);
  EXPECT_EQ(length, kThreeGiB);
  IoError written = OsWriteAt(handle, kThreeGiB - 1, "Z", 1);
  OsClose(handle);
  if (written == IoError::DiskFull) GTEST_SKIP() << "the disk refused the last byte of a 3 GiB file";
  ASSERT_EQ(written, IoError::None);

  HANDLE file = CreateFileW(WidePath(L"big.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  EXPECT_TRUE(GetFileSizeEx(file, &size));
  EXPECT_EQ(static_cast<uint64_t>(size.QuadPart), kThreeGiB);
  LARGE_INTEGER last;
  last.QuadPart = static_cast<LONGLONG>(kThreeGiB - 2);
  ASSERT_TRUE(SetFilePointerEx(file, last, nullptr, FILE_BEGIN));
  char tail[4] = {};
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(file, tail, sizeof tail, &got, nullptr));
  CloseHandle(file);
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(tail[0], '\0');
  EXPECT_EQ(tail[1], 'Z');

  std::optional<FileInfo> info = QueryFileInfo(Path("big.bin"));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->size, kThreeGiB);
  EXPECT_EQ(DeleteFile(Path("big.bin")), IoError::None);
  EXPECT_FALSE(Exists(WidePath(L"big.bin")));
}

// --- links ----------------------------------------------------------------------------------------

// A link to an empty directory: the case where removing by name through the link would take the
// target with it.
class PlatformLinkTest : public PlatformFilesTest {
 protected:
  void SetUp() override {
    PlatformFilesTest::SetUp();
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
    }
    PlatformFilesTest::TearDown();
  }

  static bool IsLinkOnDisk(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  bool TargetIsThere() const {
    DWORD attributes = GetFileAttributesW(target_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  // Wine's CreateSymbolicLinkW reports success and makes nothing, but Wine shows a host symbolic link
  // to a directory as a reparse point: there the host's ln makes one.
  bool MakeDirectoryLink() {
    // Unprivileged creation first (developer mode on Windows); plain creation where that flag is unknown.
    constexpr DWORD kAllowUnprivileged = 0x2;
    if (CreateSymbolicLinkW(link_.c_str(), target_.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivileged) ||
        CreateSymbolicLinkW(link_.c_str(), target_.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
      if (IsLinkOnDisk(link_)) return true;
    }
    if (!HostShell::Available()) return false;
    std::wstring unixLink = HostShell::UnixPath(link_);
    std::wstring unixTarget = HostShell::UnixPath(target_);
    if (unixLink.empty() || unixTarget.empty()) return false;
    hostLink_ = HostShell::Start(L"/bin/ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"");
    return hostLink_ && WaitFor([&] { return IsLinkOnDisk(link_); });
  }

  std::wstring link_;
  std::wstring target_;
  bool hostLink_ = false;
};

TEST_F(PlatformLinkTest, QueryFileInfoReportsADirectoryLinkAsALink) {
  std::optional<FileInfo> info = QueryFileInfo(Path("link"));
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->isLink);
  EXPECT_NE(info->attributes & kAttrReparsePoint, 0u);
}

TEST_F(PlatformLinkTest, OsOpenRefusesADirectoryLinkWhateverTheDisposition) {
  for (Disposition disposition :
       {Disposition::OpenExisting, Disposition::OpenAlways, Disposition::CreateAlways}) {
    FileHandle handle = 0;
    EXPECT_EQ(OsOpen(Path("link"), Access::Write, kShareNone, disposition, &handle), IoError::IsLink);
    EXPECT_EQ(handle, kInvalidHandle);
    if (handle != kInvalidHandle) OsClose(handle);
  }

  EXPECT_TRUE(IsLinkOnDisk(link_));
  EXPECT_TRUE(TargetIsThere());
}

TEST_F(PlatformLinkTest, DeleteFileOfADirectoryLinkNeverRemovesItsTarget) {
  IoError error = DeleteFile(Path("link"));

  // Windows removes the link itself. Wine cannot open a host link as a link, so there the link must
  // be refused and left in place rather than reached through.
  if (error == IoError::None) {
    EXPECT_EQ(GetFileAttributesW(link_.c_str()), INVALID_FILE_ATTRIBUTES);
  } else {
    EXPECT_EQ(error, IoError::IsLink);
    EXPECT_TRUE(IsLinkOnDisk(link_));
  }
  EXPECT_TRUE(TargetIsThere());
}

TEST_F(PlatformFilesTest, DeleteFileNeverRemovesARealDirectory) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"real").c_str(), nullptr));

  EXPECT_EQ(DeleteFile(Path("real")), IoError::AccessDenied);
  EXPECT_NE(GetFileAttributesW(WidePath(L"real").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(PlatformFilesTest, OsOpenRefusesARealDirectory) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"real").c_str(), nullptr));

  FileHandle handle = 0;
  EXPECT_EQ(OsOpen(Path("real"), Access::Write, kShareNone, Disposition::OpenExisting, &handle),
            IoError::AccessDenied);
  EXPECT_EQ(handle, kInvalidHandle);
}

TEST_F(PlatformFilesTest, QueryFileInfoCountsHardLinks) {
  WriteWhole(WidePath(L"one.bin"), "shared");
  ASSERT_TRUE(CreateHardLinkW(WidePath(L"two.bin").c_str(), WidePath(L"one.bin").c_str(), nullptr));

  std::optional<FileInfo> info = QueryFileInfo(Path("one.bin"));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->linkCount, 2u);
  EXPECT_FALSE(info->isLink);
}

TEST_F(PlatformFilesTest, QueryFileInfoOfADirectory) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"real").c_str(), nullptr));

  std::optional<FileInfo> info = QueryFileInfo(Path("real"));
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->isDirectory);
  EXPECT_FALSE(info->isLink);
  EXPECT_FALSE(QueryFileInfo(Path("absent")).has_value());
}

// --- what a handle reached ------------------------------------------------------------------------

// Host links to files, which Wine shows as plain files: only the opened handle tells where they lead.
class PlatformHostFileLinkTest : public PlatformFilesTest {
 protected:
  void SetUp() override {
    PlatformFilesTest::SetUp();
    if (!HostShell::Available()) GTEST_SKIP() << "host links to files are Wine's; Windows shows its own";
    WriteWhole(WidePath(L"target.txt"), "precious");
    // Wine lists no link that leads nowhere: the dangling one is made first, by the same command.
    std::wstring dir = HostShell::UnixPath(wideDir_);
    ASSERT_TRUE(HostShell::Start(L"/bin/sh -c \"cd '" + dir +
                                 L"' && ln -s missing.txt dangling.txt && ln -s target.txt link.txt\""));
    ASSERT_TRUE(WaitFor([&] { return Listed(L"link.txt"); }));
  }
  void TearDown() override {
    std::wstring dir = HostShell::UnixPath(wideDir_);
    HostShell::Start(L"/bin/sh -c \"cd '" + dir + L"' && rm -f dangling.txt link.txt\"");
    WaitFor([&] { return !Listed(L"link.txt"); });
    PlatformFilesTest::TearDown();
  }
  bool Listed(const std::wstring& name) const {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
  }
};

TEST_F(PlatformHostFileLinkTest, IsALinkThatNothingOpensForWritingCreatesOrRemovesThrough) {
  std::optional<FileInfo> info = QueryFileInfo(Path("link.txt"));
  ASSERT_TRUE(info.has_value());
  EXPECT_TRUE(info->isLink);
  for (Disposition disposition :
       {Disposition::OpenExisting, Disposition::OpenAlways, Disposition::CreateAlways}) {
    for (const char* name : {"link.txt", "dangling.txt"}) {
      FileHandle handle = kInvalidHandle;
      IoError error = OsOpen(Path(name), Access::Write, kShareNone, disposition, &handle);
      if (handle != kInvalidHandle) OsClose(handle);
      EXPECT_TRUE(error == IoError::IsLink ||
                  (error == IoError::NotFound && disposition == Disposition::OpenExisting))
          << name << " " << static_cast<int>(disposition) << ": " << Describe(error);
    }
  }
  EXPECT_EQ(DeleteFile(Path("link.txt")), IoError::IsLink);
  EXPECT_EQ(MoveFile(Path("link.txt"), Path("moved.txt")), IoError::IsLink);
  EXPECT_EQ(ReadWhole(WidePath(L"target.txt")), "precious");
  EXPECT_FALSE(Exists(WidePath(L"missing.txt"))) << "a create through the dangling link made its target";
  EXPECT_FALSE(Exists(WidePath(L"moved.txt")));
}

TEST_F(PlatformFilesTest, OsOpenWritesOnlyToARegularFileWithOneName) {
  for (const char* device : {"NUL", "CON", "\\\\.\\NUL"}) {
    FileHandle handle = kInvalidHandle;
    EXPECT_EQ(OsOpen(device, Access::Write, kShareRead, Disposition::OpenExisting, &handle),
              IoError::NotAFile)
        << device;
    if (handle != kInvalidHandle) OsClose(handle);
  }
  WriteWhole(WidePath(L"one.bin"), "shared");
  ASSERT_TRUE(CreateHardLinkW(WidePath(L"two.bin").c_str(), WidePath(L"one.bin").c_str(), nullptr));
  FileHandle handle = kInvalidHandle;
  EXPECT_EQ(OsOpen(Path("one.bin"), Access::Write, kShareRead, Disposition::CreateAlways, &handle),
            IoError::HasOtherNames);
  if (handle != kInvalidHandle) OsClose(handle);
  EXPECT_EQ(ReadWhole(WidePath(L"two.bin")), "shared") << "checked only after truncating";
}

// --- moving ---------------------------------------------------------------------------------------

TEST_F(PlatformFilesTest, MoveFileNeverReplacesAnExistingTarget) {
  WriteWhole(WidePath(L"a.txt"), "alpha");
  WriteWhole(WidePath(L"b.txt"), "beta");

  EXPECT_EQ(MoveFile(Path("a.txt"), Path("b.txt")), IoError::AlreadyExists);

  EXPECT_EQ(ReadWhole(WidePath(L"a.txt")), "alpha");
  EXPECT_EQ(ReadWhole(WidePath(L"b.txt")), "beta");
}

TEST_F(PlatformFilesTest, MoveFileOfAbsentSourceIsNotFound) {
  EXPECT_EQ(MoveFile(Path("absent.txt"), Path("b.txt")), IoError::NotFound);
  EXPECT_FALSE(Exists(WidePath(L"b.txt")));
}

}  // namespace
}  // namespace nullora::platform
