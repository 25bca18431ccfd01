// The Windows 10 and 11 items against prepared registry values and files, and the preview and report of a
// run: the preview's counts are the run's, and the preview changes nothing at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/fStart.h"
#include "cleaner/browser_database.h"
#include "cleaner/browser_items.h"
#include "cleaner/windows_items.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"
#include "ui/fSettings.h"

#if !defined(_WIN32) && NULLORA_HAVE_SQLITE
#include <sqlite3.h>

#include "platform/posix/posix_stand_in.h"

namespace nullora {
namespace {

using platform::RegistryRoot;

constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

class WindowsItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    platform::posix::ClearRegistry();
    platform::posix::Cleaner() = {};
    platform::posix::SetRecycleBin("");
    AppSettings = {};
    BrowserCleanKeys.clear();
    WindowsCleanKeys.clear();
    WipeOptions = {};
    WipeOptions.OpMethod = "0";
    platform::posix::Cleaner().knownFolders[platform::KnownFolder::LocalAppData] = dir.MakeDir("Local");
    thumbs = dir.MakeDir("Local\\Microsoft\\Windows\\Explorer") + "\\";
  }
  void TearDown() override { ui::Application::Get().Reset(); }

  void Value(const std::string& key, const std::string& name) {
    platform::RegistryWriteString(RegistryRoot::CurrentUser, std::string(kExplorer) + "\\" + key, name,
                                  "trace");
  }
  bool Has(const std::string& key, const std::string& name) {
    return platform::RegistryReadString(RegistryRoot::CurrentUser, std::string(kExplorer) + "\\" + key, name)
        .has_value();
  }
  // Every file below the test folder with its bytes and time, and every registry value.
  std::map<std::string, std::string> State() {
    std::map<std::string, std::string> state = platform::posix::RegistryContents();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.HostPath(""))) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      state[entry.path().string()] =
          std::string(std::istreambuf_iterator<char>(in), {}) + "@" +
          std::to_string(std::filesystem::last_write_time(entry.path()).time_since_epoch().count());
    }
    return state;
  }
  void MakeDb(const std::string& name, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.HostPath(name).c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  std::string thumbs;
  ui::Form form{"test"};
  ui::ProgressBar bar1{form, nullptr, "bar1"}, bar2{form, nullptr, "bar2"};
  ui::Label label1{form, nullptr, "l1"}, label2{form, nullptr, "l2"}, label3{form, nullptr, "l3"};
  CleanView view{bar1, label1, bar2, label2, label3, nullptr};
};

TEST_F(WindowsItemsTest, EachItemRemovesOnlyItsOwnKeysAndFilesAndNamesAHeldCache) {
  Value("WordWheelQuery", "0");
  Value("WordWheelQuery", "MRUListEx");
  Value("RunMRU", "a");
  Value("RunMRU", "MRUList");
  Value("RunMRU\\Below", "kept");
  Value("TypedPaths", "url1");
  Value("RecentDocs", "0");
  Value("RecentDocs\\.txt", "0");
  Value("ComDlg32\\OpenSavePidlMRU\\*", "0");
  Value("ComDlg32\\LastVisitedPidlMRU", "0");
  Value("ComDlg32\\CIDSizeMRU", "0");
  Value("Advanced", "Hidden");
  dir.MakeFile("Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", 4096, 'T');
  dir.MakeFile("Local\\Microsoft\\Windows\\Explorer\\iconcache_16.db", 100, 'I');
  const std::string held = dir.MakeFile("Local\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db", "index");
  dir.MakeFile("Local\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl", "log");
  dir.MakeDir("Local\\Microsoft\\Windows\\Explorer\\Sub");
  dir.MakeFile("Local\\Microsoft\\Windows\\Explorer\\Sub\\thumbcache_32.db", "below");
  platform::posix::Cleaner().clipboard = "copied text";
  platform::File holder = platform::File::Open(held, platform::Access::Write, platform::kShareNone,
                                               platform::Disposition::OpenExisting);

  EXPECT_EQ(CleanWindowsItem(WindowsItemKind::SearchBox, view).counts.registryValues, 2u);
  CleanItemResult run = CleanWindowsItem(WindowsItemKind::RunHistory, view);
  EXPECT_EQ(run.counts.registryValues, 2u);
  EXPECT_FALSE(Has("RunMRU", "a"));
  EXPECT_TRUE(Has("RunMRU\\Below", "kept")) << "the values of the key go, not what is below it";
  EXPECT_EQ(CleanWindowsItem(WindowsItemKind::TypedPaths, view).state, CleanItemResult::State::Done);
  EXPECT_FALSE(Has("TypedPaths", "url1"));
  CleanItemResult recent = CleanWindowsItem(WindowsItemKind::RecentLists, view);
  EXPECT_EQ(recent.counts.registryValues, 4u);
  EXPECT_FALSE(Has("RecentDocs\\.txt", "0"));
  EXPECT_FALSE(Has("ComDlg32\\OpenSavePidlMRU\\*", "0"));
  EXPECT_TRUE(Has("ComDlg32\\CIDSizeMRU", "0")) << "the dialogs' other keys stay";
  EXPECT_TRUE(Has("Advanced", "Hidden")) << "Explorer's settings are no trace";

  CleanItemResult caches = CleanWindowsItem(WindowsItemKind::Thumbnails, view);
  EXPECT_EQ(caches.state, CleanItemResult::State::Left);
  EXPECT_EQ(caches.reasons, std::vector<std::string>{"thumbcache_idx.db is in use by Explorer"});
  EXPECT_EQ(caches.counts.files, 2u);
  EXPECT_EQ(caches.counts.bytes, 4196u);
  EXPECT_FALSE(dir.Exists("Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db"));
  EXPECT_FALSE(dir.Exists("Local\\Microsoft\\Windows\\Explorer\\iconcache_16.db"));
  EXPECT_EQ(dir.Read("Local\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db"), "index");
  EXPECT_TRUE(dir.Exists("Local\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl"));
  EXPECT_TRUE(dir.Exists("Local\\Microsoft\\Windows\\Explorer\\Sub\\thumbcache_32.db"));
  holder.Close();

  EXPECT_EQ(CleanWindowsItem(WindowsItemKind::Clipboard, view).state, CleanItemResult::State::Done);
  EXPECT_EQ(platform::posix::Cleaner().clipboard, "");
  platform::posix::Cleaner().clipboard = "again";
  platform::posix::Cleaner().clipboardHeld = true;
  EXPECT_EQ(CleanWindowsItem(WindowsItemKind::Clipboard, view).reasons,
            std::vector<std::string>{"the clipboard could not be emptied, another program holds it"});
  EXPECT_EQ(platform::posix::Cleaner().clipboard, "again");

  // A cache folder that is a link is left with what it points to.
  test::TestDir elsewhere;
  elsewhere.MakeFile("thumbcache_1.db", "not ours");
  std::filesystem::remove_all(dir.HostPath("Local\\Microsoft\\Windows\\Explorer"));
  std::filesystem::create_directory_symlink(elsewhere.HostPath(""),
                                            dir.HostPath("Local\\Microsoft\\Windows\\Explorer"));
  EXPECT_EQ(CleanWindowsItem(WindowsItemKind::Thumbnails, view).reasons,
            std::vector<std::string>{"its folder is a link, left with what it points to"});
  EXPECT_EQ(elsewhere.Read("thumbcache_1.db"), "not ours");
}

TEST_F(WindowsItemsTest, APreviewChangesNothingAndCountsWhatTheRunThenRemovesAndLeaves) {
  // Temporary files with one held, a Chrome profile's History, registry traces of the nine and of
  // Windows 10, a thumbnail cache.
  auto& world = platform::posix::Cleaner();
  world.tempFolder = dir.MakeDir("temp") + "\\";
  dir.MakeFile("temp\\a.tmp", 1000, 'a');
  dir.MakeDir("temp\\sub");
  dir.MakeFile("temp\\sub\\b.tmp", 24, 'b');
  const std::string held = dir.MakeFile("temp\\held.tmp", "held");
  const std::string profile = "Local\\Google\\Chrome\\User Data\\Default";
  dir.MakeDir(profile);
  MakeDb(profile + "\\History",
         "CREATE TABLE meta(key TEXT, value TEXT); INSERT INTO meta VALUES('version','70');"
         "CREATE TABLE urls(id INTEGER PRIMARY KEY, url TEXT, visit_count, typed_count, last_visit_time);"
         "CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER);"
         "INSERT INTO urls VALUES(1,'https://a.example/',1,0,1),(2,'https://b.example/',2,0,1),"
         "(3,'https://kept.example/',1,0,1);"
         "INSERT INTO visits VALUES(1,1),(2,2),(3,2),(4,3);");
  dir.MakeFile(profile + "\\Bookmarks",
               R"({"roots":{"bookmark_bar":{"children":[{"type":"url","url":"https://kept.example/"}]}}})");
  dir.MakeFile(profile + "\\Visited Links", 64, 'v');
  platform::RegistryWriteString(RegistryRoot::CurrentUser,
                                "Software\\Microsoft\\Search Assistant\\ACMru\\5603", "000", "query");
  Value("RunMRU", "a");
  Value("RunMRU", "MRUList");
  dir.MakeFile("Local\\Microsoft\\Windows\\Explorer\\thumbcache_96.db", 300, 'T');
  world.clipboard = "copied";
  AppSettings.CleanKeys[1] = AppSettings.CleanKeys[2] = -1;
  BrowserCleanKeys["OpCleanChromeHistory"] = -1;
  for (const char* key : {"OpCleanWinRun", "OpCleanWinThumbnails", "OpCleanWinClipboard"})
    WindowsCleanKeys[key] = -1;
  platform::File holder = platform::File::Open(held, platform::Access::Write, platform::kShareNone,
                                               platform::Disposition::OpenExisting);

  const std::map<std::string, std::string> before = State();
  const CleanRunResult preview = PreviewClean(view);
  EXPECT_EQ(State(), before) << "no byte, time or key changed, and nothing made beside a database";
  EXPECT_EQ(world.clipboard, "copied");

  const CleanRunResult run = RunClean(false, view);
  holder.Close();
  ASSERT_EQ(preview.items.size(), run.items.size());
  for (size_t i = 0; i < run.items.size(); ++i) {
    const CleanItemResult& would = preview.items[i].second;
    const CleanItemResult& did = run.items[i].second;
    SCOPED_TRACE(run.items[i].first);
    EXPECT_EQ(preview.items[i].first, run.items[i].first);
    EXPECT_EQ(would.reasons, did.reasons);
    EXPECT_EQ(would.counts.files, did.counts.files);
    EXPECT_EQ(would.counts.bytes, did.counts.bytes);
    EXPECT_EQ(would.counts.registryValues, did.counts.registryValues);
    EXPECT_EQ(would.counts.rows, did.counts.rows);
  }
  const std::vector<std::string> report = CleanReportLines(run, false);
  EXPECT_EQ(report, (std::vector<std::string>{
                        "Search History: 1 registry value",
                        "Temporary Files: 2 files (1.0 KB); left: 1 file in use",
                        "Google Chrome: History: 1 file (64 bytes), 2 pages, 4 visits",
                        "Run Dialog History: 2 registry values",
                        "Thumbnail Cache: 1 file (300 bytes)",
                        "Clipboard: nothing to remove",
                        "In all, the clean removed 4 files (1.4 KB), 3 registry values, 2 pages, 4 visits; "
                        "1 item left something.",
                    }));
  EXPECT_EQ(CleanReportLines(preview, true)[5],
            "Clipboard: emptied whatever it holds; what that is, is not counted");
  EXPECT_EQ(CleanReportLines(preview, true).back(),
            "In all, the clean would remove 4 files (1.4 KB), 3 registry values, 2 pages, 4 visits; "
            "1 item would leave something.");
  EXPECT_EQ(world.clipboard, "");
  EXPECT_EQ(dir.Read("temp\\held.tmp"), "held");
}

TEST_F(WindowsItemsTest, APreviewCopiesAWalDatabaseWithoutMakingItsLogAndLeavesOneWithChangesInItsLog) {
  MakeDb("places.sqlite",
         "PRAGMA journal_mode=WAL; CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url TEXT);"
         "INSERT INTO moz_places(url) VALUES ('a'), ('b');");
  ASSERT_FALSE(dir.Exists("places.sqlite-wal")) << "the last connection's close took the log";
  std::string why;
  std::optional<BrowserDatabase> copy = BrowserDatabase::OpenCopy(dir.Path("places.sqlite"), &why);
  ASSERT_TRUE(copy) << why;
  EXPECT_EQ(copy->RowCount("moz_places"), 2u);
  EXPECT_TRUE(copy->Change(
      [](BrowserDatabase& db, std::string* failure) {
        return db.Exec("DELETE FROM moz_places", failure) && db.RowCount("moz_places") == 0;
      },
      &why));
  copy.reset();
  EXPECT_FALSE(dir.Exists("places.sqlite-wal"));
  EXPECT_FALSE(dir.Exists("places.sqlite-shm"));
  EXPECT_EQ(BrowserDatabase::OpenCopy(dir.Path("places.sqlite"), &why)->RowCount("moz_places"), 2u)
      << "the change on the copy never reached the file";

  // A browser that ended without writing its log into the file: counting the file alone would be wrong.
  sqlite3* open = nullptr;
  sqlite3_open(dir.HostPath("places.sqlite").c_str(), &open);
  sqlite3_exec(open, "PRAGMA wal_autocheckpoint=0; INSERT INTO moz_places(url) VALUES ('c')", nullptr,
               nullptr, nullptr);
  ASSERT_TRUE(dir.Exists("places.sqlite-wal"));
  EXPECT_FALSE(BrowserDatabase::OpenCopy(dir.Path("places.sqlite"), &why));
  EXPECT_EQ(why, "not counted: its log holds changes not yet written into it");
  sqlite3_close(open);
}

TEST_F(WindowsItemsTest, ARunningBrowserIsNamedInThePreviewAndTheReport) {
  dir.MakeDir("Local\\Google\\Chrome\\User Data\\Default");
  BrowserCleanKeys["OpCleanChromeHistory"] = -1;
  auto& world = platform::posix::Cleaner();
  world.processes = world.processesWithWindows = {"chrome.exe"};
  EXPECT_EQ(CleanReportLines(RunClean(false, view), false),
            (std::vector<std::string>{"left: Google Chrome is running; close it and clean again",
                                      "In all, the clean removed nothing; 1 item left something."}));
  EXPECT_EQ(CleanReportLines(PreviewClean(view), true).front(),
            "would leave: Google Chrome is running; close it and clean again");
}

// The preview's and the report's lines through the real windows are the Wine test's; here, what it
// cannot see: the tree's group, its keys saved, Details only once a clean has a report.
TEST_F(WindowsItemsTest, TheMainWindowShowsTheGroupSavesItsKeysAndOffersDetailsAfterAClean) {
  AppSettings.ShowInfoDialog2 = 1;
  AppWindows windows;
  fSettings& main = windows.Settings();
  main.Load();
  ASSERT_NE(main.TreeView1.Nodes().Item(kWindowsGroupKey), nullptr);
  EXPECT_EQ(main.TreeView1.Nodes().Item(kWindowsGroupKey)->Text(), "Windows 10 and 11");
  main.TreeView1.UserCheck(*main.TreeView1.Nodes().Item("OpCleanWinRun"), true);
  EXPECT_FALSE(main.cmdDetails.Enabled()) << "no clean, no report";
  main.cmdPreview.UserClick();
  EXPECT_FALSE(main.cmdDetails.Enabled()) << "a preview is no clean";
  main.cmdOk.UserClick();
  EXPECT_EQ(GetSetting("OpCleanWinRun", ""), "-1") << "Apply saves the group's keys";
  main.Show();
  main.CmdClean.UserClick();
  EXPECT_TRUE(main.cmdDetails.Enabled());
}

}  // namespace
}  // namespace nullora

#endif
