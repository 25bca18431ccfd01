// The Recycle Bin through the seam, under Wine, where the bin is the freedesktop trash in
// XDG_DATA_HOME. These tests empty the bin, so they run only when that points at a test directory.
// Files reach the bin through SHFileOperationW, and every check reads the disk with plain Win32 calls.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/unicode.h"
#include "win32/win32_test_support.h"

namespace nullora::platform {
namespace {

std::wstring EnvironmentValue(const wchar_t* name) {
  wchar_t value[4096];
  DWORD length = GetEnvironmentVariableW(name, value, 4096);
  return length > 0 && length < 4096 ? std::wstring(value, length) : std::wstring();
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") != nullptr;
}

// The trash of the test's XDG_DATA_HOME, in Windows form, through Wine's own export.
std::wstring TestTrashFolder() {
  using DosFileName = wchar_t*(CDECL*)(const char*);
  auto dosFileName = reinterpret_cast<DosFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (!dosFileName) return {};
  wchar_t* trash = dosFileName((win32::WideToUtf8(EnvironmentValue(L"XDG_DATA_HOME")) + "/Trash").c_str());
  if (!trash) return {};
  std::wstring result = trash;
  HeapFree(GetProcessHeap(), 0, trash);
  return result;
}

class PlatformRecycleBinTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring dataHome = EnvironmentValue(L"XDG_DATA_HOME");
    if (!UnderWine() || dataHome.rfind(L"/tmp/", 0) != 0 || dataHome.find(L"/..") != std::wstring::npos) {
      GTEST_SKIP() << "set XDG_DATA_HOME to a test directory (under /tmp) and run under Wine: these tests "
                      "empty the Recycle Bin";
    }
    trash_ = TestTrashFolder();
    ASSERT_FALSE(trash_.empty());
    // Each test starts with an empty bin. Wine's own emptying leaves folder items behind, so the test
    // trash is cleared directly.
    ClearTestTrash();
    ASSERT_EQ(BinCount(), 0);

    wideDir_ = MakeTestDirectory(L"nullora-bin-");
    ASSERT_FALSE(wideDir_.empty()) << GetLastError();
  }

  void TearDown() override {
    if (!trash_.empty()) ClearTestTrash();
    if (!wideDir_.empty()) {
      RemoveContents(wideDir_);
      RemoveDirectoryW(wideDir_.c_str());
    }
  }

  // The folders stay: Wine creates them once per process.
  void ClearTestTrash() const {
    RemoveContents(trash_ + L"\\files");
    RemoveContents(trash_ + L"\\info");
  }

  static void RemoveContents(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveContents(path);
        RemoveDirectoryW(path.c_str());
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }

  // The number of items the shell counts in the bin, or -1.
  static long long BinCount() {
    SHQUERYRBINFO query = {};
    query.cbSize = sizeof query;
    if (FAILED(SHQueryRecycleBinW(nullptr, &query))) return -1;
    return query.i64NumItems;
  }

  std::wstring WidePath(const std::wstring& name) const { return wideDir_ + L"\\" + name; }

  static bool Exists(const std::string& path) {
    return GetFileAttributesW(win32::Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // Sends `path` to the bin as Explorer's Delete does, and checks that it arrived there.
  static void Recycle(const std::wstring& path) {
    long long before = BinCount();
    std::wstring from = path + L'\0';  // the list ends with a second NUL
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(SHFileOperationW(&operation), 0);
    ASSERT_FALSE(operation.fAnyOperationsAborted);
    ASSERT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(BinCount(), before + 1) << "the file was deleted without reaching the bin";
  }

  std::wstring trash_;
  std::wstring wideDir_;
};

// --- size and count -------------------------------------------------------------------------------

TEST_F(PlatformRecycleBinTest, EmptyBinHasNoItemsNoBytesAndNoPaths) {
  RecycleBinInfo info;
  info.size = 7;
  info.items = 7;

  ASSERT_TRUE(QueryRecycleBin(&info));

  EXPECT_EQ(info.size, 0u);
  EXPECT_EQ(info.items, 0u);
  EXPECT_TRUE(RecycleBinItemPaths().empty());
}

TEST_F(PlatformRecycleBinTest, RecycledFileIsCountedWithItsSize) {
  WriteWhole(WidePath(L"counted.txt"), std::string(1234, 'c'));
  Recycle(WidePath(L"counted.txt"));

  RecycleBinInfo info;
  ASSERT_TRUE(QueryRecycleBin(&info));

  EXPECT_EQ(info.items, 1u);
  EXPECT_EQ(info.size, 1234u);
}

// --- where the items are --------------------------------------------------------------------------

TEST_F(PlatformRecycleBinTest, ItemPathHoldsTheRecycledBytesAndIsNotTheOriginalPlace) {
  const std::string original = win32::WideToUtf8(WidePath(L"secret.txt"));
  WriteWhole(WidePath(L"secret.txt"), "the secret bytes");
  Recycle(WidePath(L"secret.txt"));

  std::vector<std::string> paths = RecycleBinItemPaths();

  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(ReadWhole(paths[0]), "the secret bytes");
  EXPECT_NE(paths[0], original);
  EXPECT_EQ(paths[0].find('\\'), 2u) << paths[0] << " is not an absolute path";
}

TEST_F(PlatformRecycleBinTest, LiveFileAtTheOriginalPlaceIsNeverGiven) {
  const std::string original = win32::WideToUtf8(WidePath(L"report.txt"));
  WriteWhole(WidePath(L"report.txt"), "old draft");
  Recycle(WidePath(L"report.txt"));
  WriteWhole(WidePath(L"report.txt"), "the user's new work");

  std::vector<std::string> paths = RecycleBinItemPaths();

  ASSERT_EQ(paths.size(), 1u);
  EXPECT_NE(paths[0], original);
  EXPECT_EQ(ReadWhole(paths[0]), "old draft");
  // Nor a name relative to the current directory, which could be a live file just as well.
  wchar_t previous[MAX_PATH + 1];
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH + 1, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(wideDir_.c_str()));
  std::vector<std::string> fromHere = RecycleBinItemPaths();
  SetCurrentDirectoryW(previous);
  ASSERT_EQ(fromHere.size(), 1u);
  EXPECT_NE(fromHere[0], "report.txt");
  EXPECT_EQ(ReadWhole(fromHere[0]), "old draft");
}

TEST_F(PlatformRecycleBinTest, TwoDeletionsFromOnePlaceGiveBothItems) {
  WriteWhole(WidePath(L"twice.txt"), "first version");
  Recycle(WidePath(L"twice.txt"));
  WriteWhole(WidePath(L"twice.txt"), "second version");
  Recycle(WidePath(L"twice.txt"));

  std::vector<std::string> paths = RecycleBinItemPaths();

  ASSERT_EQ(paths.size(), 2u);
  EXPECT_NE(paths[0], paths[1]);
  std::vector<std::string> contents = {ReadWhole(paths[0]), ReadWhole(paths[1])};
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents, (std::vector<std::string>{"first version", "second version"}));
}

TEST_F(PlatformRecycleBinTest, RecycledFolderIsGivenAsTheFolderWithItsContent) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"old project").c_str(), nullptr));
  WriteWhole(WidePath(L"old project\\notes.txt"), "project notes");
  Recycle(WidePath(L"old project"));

  std::vector<std::string> paths = RecycleBinItemPaths();

  ASSERT_EQ(paths.size(), 1u);
  DWORD attributes = GetFileAttributesW(win32::Utf8ToWide(paths[0]).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ReadWhole(paths[0] + "\\notes.txt"), "project notes");
}

TEST_F(PlatformRecycleBinTest, ItemWithAUnicodeNameIsFound) {
  // Spaces, a percent sign and letters beyond ASCII, which the trash stores percent-encoded.
  const std::wstring name = L"\u00DCn\u00EF %41 \u2713 \u65E5\u672C.txt";
  WriteWhole(WidePath(name), "unicode item");
  Recycle(WidePath(name));

  std::vector<std::string> paths = RecycleBinItemPaths();

  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(ReadWhole(paths[0]), "unicode item");
}

TEST_F(PlatformRecycleBinTest, ItemPathsWorkOnAThreadThatAlreadyHasCom) {
  WriteWhole(WidePath(L"com.txt"), "with com");
  Recycle(WidePath(L"com.txt"));
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);

  std::vector<std::string> paths = RecycleBinItemPaths();

  // The caller's COM is left as it was: still initialised, in its own apartment.
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(ReadWhole(paths[0]), "with com");
}

// --- emptying -------------------------------------------------------------------------------------

TEST_F(PlatformRecycleBinTest, EmptyRecycleBinRemovesTheItemsData) {
  WriteWhole(WidePath(L"gone.txt"), "soon gone");
  Recycle(WidePath(L"gone.txt"));
  std::vector<std::string> paths = RecycleBinItemPaths();
  ASSERT_EQ(paths.size(), 1u);
  ASSERT_TRUE(Exists(paths[0]));

  EXPECT_TRUE(EmptyRecycleBin());

  EXPECT_EQ(BinCount(), 0);
  RecycleBinInfo info;
  ASSERT_TRUE(QueryRecycleBin(&info));
  EXPECT_EQ(info.items, 0u);
  EXPECT_EQ(info.size, 0u);
  EXPECT_FALSE(Exists(paths[0]));
  EXPECT_TRUE(RecycleBinItemPaths().empty());
}

TEST_F(PlatformRecycleBinTest, EmptyRecycleBinLeavesNoRecordOfWhereAnItemCameFrom) {
  WriteWhole(WidePath(L"traced.txt"), "traced");
  Recycle(WidePath(L"traced.txt"));
  std::vector<std::string> paths = RecycleBinItemPaths();
  ASSERT_EQ(paths.size(), 1u);
  // The job wipes and deletes the item's data before it asks the shell to empty the bin.
  ASSERT_TRUE(DeleteFileW(win32::Utf8ToWide(paths[0]).c_str()));

  EmptyRecycleBin();

  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((trash_ + L"\\info\\*.trashinfo").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a record is left: " << win32::WideToUtf8(found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(PlatformRecycleBinTest, EmptyRecycleBinSaysWhetherTheBinIsEmptyAfterwards) {
  ASSERT_TRUE(CreateDirectoryW(WidePath(L"folder item").c_str(), nullptr));
  WriteWhole(WidePath(L"folder item\\inside.txt"), "inside");
  Recycle(WidePath(L"folder item"));
  WriteWhole(WidePath(L"file item.txt"), "file");
  Recycle(WidePath(L"file item.txt"));

  bool emptied = EmptyRecycleBin();

  // Windows removes both; Wine 8 leaves the folder in its trash and must not be taken at its word.
  EXPECT_EQ(emptied, BinCount() == 0);
  EXPECT_LE(BinCount(), 1);
}

TEST_F(PlatformRecycleBinTest, EmptyingAnEmptyBinSucceeds) {
  EXPECT_TRUE(EmptyRecycleBin());

  EXPECT_EQ(BinCount(), 0);
}

TEST_F(PlatformRecycleBinTest, UpdatingTheIconLeavesTheItemsInTheBin) {
  WriteWhole(WidePath(L"kept.txt"), "kept");
  Recycle(WidePath(L"kept.txt"));

  UpdateRecycleBinIcon();

  EXPECT_EQ(BinCount(), 1);
  std::vector<std::string> paths = RecycleBinItemPaths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(ReadWhole(paths[0]), "kept");
}

}  // namespace
}  // namespace nullora::platform
