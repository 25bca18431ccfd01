// The browsers' items against profiles made here after the tables and files Chromium 156 and Firefox 153
// write: what each removes and keeps, databases locked, damaged, in WAL mode or lacking a table, links.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/fStart.h"
#include "cleaner/browser_items.h"
#include "shared/records.h"
#include "shared/settings_store.h"
#include "support/settings_sandbox.h"
#include "support/test_files.h"
#include "ui/controls/application.h"
#include "ui/controls/form.h"
#include "ui/controls/label.h"
#include "ui/controls/progress_bar.h"
#include "ui/fCookieKeep.h"
#include "ui/fSettings.h"
#include "ui/scheduler.h"

#if !defined(_WIN32) && NULLORA_HAVE_SQLITE
#include <sqlite3.h>

#include "platform/posix/posix_stand_in.h"

namespace nullora {
namespace {

using platform::KnownFolder;

class BrowserItemsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::Get().Reset();
    platform::posix::Cleaner() = {};
    WipeOptions = {};
    WipeOptions.OpMethod = "0";
    auto& known = platform::posix::Cleaner().knownFolders;
    known[KnownFolder::LocalAppData] = dir.MakeDir("Local");
    known[KnownFolder::AppData] = dir.MakeDir("Roaming");
  }
  void TearDown() override { ui::Application::Get().Reset(); }

  // A database made with the sqlite3 library, as the browser would have left it.
  void MakeDb(const std::string& name, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.HostPath(name).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_close(db);
  }
  // The first column of every row, joined with commas.
  std::string Query(const std::string& name, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(dir.HostPath(name).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string rows;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
      while (sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        rows += (rows.empty() ? "" : ",") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
      }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
  }
  std::string Bytes(const std::string& name) {
    std::ifstream in(dir.HostPath(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  const Browser& Named(const std::string& caption) {
    for (const Browser& browser : Browsers()) {
      if (browser.caption == caption) return browser;
    }
    throw std::runtime_error("no browser " + caption);
  }
  CleanItemResult Clean(const std::string& caption, BrowserItemKind kind,
                        std::vector<std::string> keep = {}) {
    const Browser& browser = Named(caption);
    return CleanBrowserItem(browser, kind, ProfilesOf(browser), keep, view);
  }

  test::SettingsSandbox settings;
  test::TestDir dir;
  test::FakeTime time;
  ui::Form form{"test"};
  ui::ProgressBar bar1{form, nullptr, "bar1"}, bar2{form, nullptr, "bar2"};
  ui::Label label1{form, nullptr, "l1"}, label2{form, nullptr, "l2"}, label3{form, nullptr, "l3"};
  CleanView view{bar1, label1, bar2, label2, label3, nullptr};
};

constexpr char kChrome[] = "Local\\Google\\Chrome\\User Data";

TEST_F(BrowserItemsTest, EveryProfileIsFoundAndNothingOutsideTheBrowsersFolders) {
  dir.MakeDir(std::string(kChrome) + "\\Default");
  dir.MakeDir(std::string(kChrome) + "\\Profile 2");
  dir.MakeDir(std::string(kChrome) + "\\Guest Profile");
  dir.MakeDir(std::string(kChrome) + "\\Work");
  dir.MakeDir(std::string(kChrome) + "\\System Profile");
  dir.MakeDir("Local\\Google\\Chrome\\Documents");
  dir.MakeFile(std::string(kChrome) + "\\Local State",
               R"({"profile":{"info_cache":{"Default":{},"Work":{},"..\\Documents":{},"Gone":{}}}})");
  std::vector<std::string> found;
  for (const BrowserProfile& profile : ProfilesOf(Named("Google Chrome"))) found.push_back(profile.folder);
  const std::string base = dir.Path(kChrome) + "\\";
  EXPECT_EQ(found, (std::vector<std::string>{base + "Default", base + "Profile 2", base + "Guest Profile",
                                             base + "Work"}));
  dir.MakeFile(std::string(kChrome) + "\\Local State", "{not json");
  EXPECT_EQ(ProfilesOf(Named("Google Chrome")).size(), 3u) << "a Local State that does not parse names none";

  // Firefox: profiles.ini's relative and absolute profiles, then the rest of its Profiles folder.
  dir.MakeDir("Roaming\\Mozilla\\Firefox\\Profiles\\ab12.default-release");
  dir.MakeDir("Roaming\\Mozilla\\Firefox\\Profiles\\cd34.other");
  const std::string elsewhere = dir.MakeDir("Elsewhere\\ff");
  dir.MakeFile("Roaming\\Mozilla\\Firefox\\profiles.ini",
               "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/ab12.default-release\r\n\r\n"
               "[Profile1]\r\nName=mine\r\nIsRelative=0\r\nPath=" +
                   elsewhere +
                   "\r\n[Profile2]\r\nIsRelative=1\r\n"
                   "Path=../../Elsewhere\r\n");
  std::vector<BrowserProfile> firefox = ProfilesOf(Named("Mozilla Firefox"));
  ASSERT_EQ(firefox.size(), 3u);
  EXPECT_EQ(firefox[0].localFolder, dir.Path("Local\\Mozilla\\Firefox\\Profiles\\ab12.default-release"));
  EXPECT_EQ(firefox[1].folder, elsewhere);
  EXPECT_EQ(firefox[1].localFolder, elsewhere) << "a profile of its own place keeps its cache inside it";
  EXPECT_EQ(firefox[2].folder, dir.Path("Roaming\\Mozilla\\Firefox\\Profiles\\cd34.other"));
}

TEST_F(BrowserItemsTest, CookiesGoButTheKeepListsWithNothingOfThemLeftInTheFileOrBeside) {
  dir.MakeDir(std::string(kChrome) + "\\Default\\Network");
  const std::string cookies = std::string(kChrome) + "\\Default\\Network\\Cookies";
  MakeDb(cookies,
         "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
         "CREATE TABLE cookies(creation_utc INTEGER NOT NULL,host_key TEXT NOT NULL,name TEXT NOT NULL,"
         "value TEXT NOT NULL,encrypted_value BLOB NOT NULL);"
         "INSERT INTO cookies VALUES (1,'keep.example','a','',x'01'),(2,'.keep.example','b','',x'02'),"
         "(3,'mail.Keep.example','c','',x'03'),(4,'notkeep.example','d','',x'04'),"
         "(5,'.tracker-of-mine.org','e','',x'05');");
  CleanItemResult result =
      Clean("Google Chrome", BrowserItemKind::Cookies, CookieKeepList(" keep.example ;"));
  EXPECT_EQ(result.state, CleanItemResult::State::Done) << (result.reasons.empty() ? "" : result.reasons[0]);
  EXPECT_EQ(Query(cookies, "SELECT host_key FROM cookies ORDER BY 1"),
            ".keep.example,keep.example,mail.Keep.example");
  EXPECT_EQ(Query(cookies, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Bytes(cookies).find("tracker-of-mine"), std::string::npos) << "secure delete and VACUUM";
  EXPECT_EQ(Bytes(cookies).find("notkeep"), std::string::npos);
  EXPECT_FALSE(dir.Exists(cookies + "-journal")) << "the journal with the old pages was wiped";
  EXPECT_TRUE(CookieKept("a.b.keep.example", {"keep.example"}));
  EXPECT_FALSE(CookieKept("notkeep.example", {"keep.example"}));

  // The list is edited a domain a line, however the user separates them.
  CookieKeepSetting = "keep.example;bank.example";
  fCookieKeep dialog;
  dialog.Show();
  EXPECT_EQ(dialog.txtDomains.Text(), "keep.example\r\nbank.example");
  dialog.txtDomains.UserType("Mail.Example\r\n .shop.example , news.example;");
  dialog.cmdOk.UserClick();
  EXPECT_EQ(GetSetting("OpCookieKeepList", ""), "mail.example;shop.example;news.example");
  EXPECT_EQ(CookieKeepList(CookieKeepSetting),
            (std::vector<std::string>{"mail.example", "shop.example", "news.example"}));
  EXPECT_FALSE(dialog.Loaded());
}

TEST_F(BrowserItemsTest, HistoryKeepsWhatABookmarkNamesAndEmptiesEveryOtherTableEvenNewOnes) {
  const std::string profile = std::string(kChrome) + "\\Default";
  dir.MakeDir(profile);
  MakeDb(
      profile + "\\History",
      "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
      "INSERT INTO meta VALUES ('version','70');"
      "CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT,url LONGVARCHAR,title LONGVARCHAR,visit_count "
      "INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT NULL,"
      "hidden INTEGER DEFAULT 0 NOT NULL);"
      "CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT,url INTEGER NOT NULL,visit_time INTEGER NOT "
      "NULL);"
      "CREATE TABLE journeys_of_tomorrow(x TEXT);"
      "INSERT INTO urls(url,title,visit_count,typed_count,last_visit_time) VALUES "
      "('https://bank.example/','Bank',9,3,99),('https://secret-visit.example/','Secret',4,0,98);"
      "INSERT INTO visits(url,visit_time) VALUES (1,99),(2,98);"
      "INSERT INTO journeys_of_tomorrow VALUES ('https://secret-visit.example/');");
  MakeDb(
      profile + "\\Favicons",
      "CREATE TABLE icon_mapping(id INTEGER PRIMARY KEY,page_url LONGVARCHAR NOT NULL,icon_id INTEGER);"
      "CREATE TABLE favicons(id INTEGER PRIMARY KEY,url LONGVARCHAR NOT NULL);"
      "CREATE TABLE favicon_bitmaps(id INTEGER PRIMARY KEY,icon_id INTEGER NOT NULL,image_data BLOB);"
      "INSERT INTO icon_mapping VALUES (1,'https://bank.example/',1),(2,'https://secret-visit.example/',2);"
      "INSERT INTO favicons VALUES (1,'https://bank.example/i.ico'),(2,'https://secret-visit.example/i.ico');"
      "INSERT INTO favicon_bitmaps VALUES (1,1,x'00'),(2,2,x'00');");
  dir.MakeFile(profile + "\\Bookmarks",
               R"({"roots":{"bookmark_bar":{"children":[{"type":"url","url":"https://bank.example/"}]}}})");
  dir.MakeFile(profile + "\\Visited Links", "secret-visit");
  dir.MakeFile(profile + "\\Login Data", "the user's own");
  CleanItemResult result = Clean("Google Chrome", BrowserItemKind::History);
  EXPECT_EQ(result.state, CleanItemResult::State::Done) << (result.reasons.empty() ? "" : result.reasons[0]);
  EXPECT_EQ(Query(profile + "\\History",
                  "SELECT url || ' ' || title || ' ' || visit_count || typed_count || "
                  "last_visit_time FROM urls"),
            "https://bank.example/ Bank 000");
  EXPECT_EQ(Query(profile + "\\History", "SELECT count(*) FROM visits"), "0");
  EXPECT_EQ(Query(profile + "\\History", "SELECT count(*) FROM journeys_of_tomorrow"), "0");
  EXPECT_EQ(Query(profile + "\\History", "SELECT value FROM meta"), "70");
  EXPECT_EQ(Bytes(profile + "\\History").find("secret-visit"), std::string::npos);
  EXPECT_EQ(Query(profile + "\\Favicons", "SELECT url FROM favicons"), "https://bank.example/i.ico");
  EXPECT_EQ(Query(profile + "\\Favicons", "SELECT count(*) FROM favicon_bitmaps"), "1");
  EXPECT_FALSE(dir.Exists(profile + "\\Visited Links"));
  EXPECT_EQ(dir.Read(profile + "\\Login Data"), "the user's own");
}

TEST_F(BrowserItemsTest, FirefoxHistoryInWalModeComesOutCheckpointedWithBookmarksAndCascadesRun) {
  const std::string profile = "Roaming\\Mozilla\\Firefox\\Profiles\\ab12.default";
  dir.MakeDir(profile);
  MakeDb(profile + "\\places.sqlite",
         "PRAGMA journal_mode=WAL;"
         "CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL);"
         "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count "
         "INTEGER "
         "DEFAULT 0, last_visit_date INTEGER, origin_id INTEGER REFERENCES moz_origins(id));"
         "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, place_id INTEGER, visit_date INTEGER);"
         "CREATE TABLE moz_places_extra(place_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT, FOREIGN KEY "
         "(place_id) REFERENCES moz_places(id) ON DELETE CASCADE);"
         "CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, title "
         "LONGVARCHAR);"
         "CREATE TABLE moz_keywords(id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id "
         "INTEGER);"
         "INSERT INTO moz_origins VALUES (1,'https://','bank.example'),(2,'https://','secret-visit.example');"
         "INSERT INTO moz_places VALUES (1,'https://bank.example/','Bank',5,77,1),"
         "(2,'https://secret-visit.example/','Secret',2,78,2);"
         "INSERT INTO moz_places_extra VALUES (2,'secret-visit extra');"
         "INSERT INTO moz_historyvisits VALUES (1,1,77),(2,2,78);"
         "INSERT INTO moz_bookmarks VALUES (1,1,1,'Bank');");
  CleanItemResult result = Clean("Mozilla Firefox", BrowserItemKind::History);
  EXPECT_EQ(result.state, CleanItemResult::State::Done) << (result.reasons.empty() ? "" : result.reasons[0]);
  // Before anything here opens it again (a reader of a WAL database makes its log anew).
  EXPECT_FALSE(dir.Exists(profile + "\\places.sqlite-wal")) << "checkpointed, and the log wiped";
  EXPECT_EQ(Bytes(profile + "\\places.sqlite").find("secret-visit"), std::string::npos);
  EXPECT_EQ(Query(profile + "\\places.sqlite",
                  "SELECT url || visit_count || ifnull(last_visit_date,'-') FROM "
                  "moz_places"),
            "https://bank.example/0-");
  EXPECT_EQ(Query(profile + "\\places.sqlite", "SELECT count(*) FROM moz_places_extra"), "0")
      << "the cascade ran";
  EXPECT_EQ(Query(profile + "\\places.sqlite", "SELECT host FROM moz_origins"), "bank.example");
  EXPECT_EQ(Query(profile + "\\places.sqlite", "SELECT title FROM moz_bookmarks"), "Bank");
  EXPECT_EQ(Query(profile + "\\places.sqlite", "PRAGMA journal_mode"), "wal") << "as the browser keeps it";
}

TEST_F(BrowserItemsTest, FirefoxCookiesFormsSessionsAndTheIconsOfRemovedPages) {
  const std::string profile = "Roaming\\Mozilla\\Firefox\\Profiles\\ab12.default";
  dir.MakeDir(profile + "\\sessionstore-backups");
  MakeDb(profile + "\\cookies.sqlite",
         "PRAGMA journal_mode=WAL;"
         "CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name "
         "TEXT, "
         "value TEXT, host TEXT, path TEXT);"
         "INSERT INTO moz_cookies(name,value,host,path) VALUES ('s','1','.keep.example','/'),"
         "('t','2','ads.tracker-of-mine.example','/');");
  MakeDb(profile + "\\formhistory.sqlite",
         "CREATE TABLE moz_formhistory(id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL);"
         "INSERT INTO moz_formhistory(fieldname,value) VALUES ('q','what I searched');");
  MakeDb(
      profile + "\\places.sqlite",
      "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url LONGVARCHAR, visit_count INTEGER DEFAULT 0, "
      "last_visit_date INTEGER);"
      "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, place_id INTEGER);"
      "CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, fk INTEGER);"
      "INSERT INTO moz_places VALUES (1,'https://bank.example/',1,5),(2,'https://secret-visit.example/',1,6);"
      "INSERT INTO moz_bookmarks VALUES (1,1);");
  MakeDb(
      profile + "\\favicons.sqlite",
      "PRAGMA foreign_keys=ON;"
      "CREATE TABLE moz_icons(id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, root INTEGER NOT NULL DEFAULT "
      "0);"
      "CREATE TABLE moz_pages_w_icons(id INTEGER PRIMARY KEY, page_url TEXT NOT NULL);"
      "CREATE TABLE moz_icons_to_pages(page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL, PRIMARY KEY "
      "(page_id, icon_id), FOREIGN KEY (page_id) REFERENCES moz_pages_w_icons ON DELETE CASCADE, FOREIGN KEY "
      "(icon_id) REFERENCES moz_icons ON DELETE CASCADE) WITHOUT ROWID;"
      "INSERT INTO moz_icons VALUES "
      "(1,'https://bank.example/i.ico',0),(2,'https://secret-visit.example/i.ico',0);"
      "INSERT INTO moz_pages_w_icons VALUES (1,'https://bank.example/'),(2,'https://secret-visit.example/');"
      "INSERT INTO moz_icons_to_pages VALUES (1,1),(2,2);");
  dir.MakeFile(profile + "\\sessionstore.jsonlz4", "tabs");
  dir.MakeFile(profile + "\\sessionstore-backups\\recovery.jsonlz4", "tabs");
  dir.MakeFile(profile + "\\logins.json", "the user's own");

  for (BrowserItemKind kind : {BrowserItemKind::Cookies, BrowserItemKind::Forms, BrowserItemKind::Sessions,
                               BrowserItemKind::History}) {
    CleanItemResult result = Clean("Mozilla Firefox", kind, {"keep.example"});
    EXPECT_EQ(result.state, CleanItemResult::State::Done)
        << (result.reasons.empty() ? "" : result.reasons[0]);
  }
  for (const char* file :
       {"cookies.sqlite-wal", "places.sqlite-wal", "places.sqlite-journal", "favicons.sqlite-wal",
        "favicons.sqlite-journal", "sessionstore.jsonlz4", "sessionstore-backups\\recovery.jsonlz4"}) {
    EXPECT_FALSE(dir.Exists(profile + "\\" + file)) << file;
  }
  EXPECT_EQ(Bytes(profile + "\\cookies.sqlite").find("tracker-of-mine"), std::string::npos);
  EXPECT_EQ(Query(profile + "\\cookies.sqlite", "SELECT host FROM moz_cookies"), ".keep.example");
  EXPECT_EQ(Query(profile + "\\formhistory.sqlite", "SELECT count(*) FROM moz_formhistory"), "0");
  EXPECT_EQ(Query(profile + "\\favicons.sqlite", "SELECT icon_url FROM moz_icons"),
            "https://bank.example/i.ico");
  EXPECT_EQ(Query(profile + "\\favicons.sqlite", "SELECT count(*) FROM moz_icons_to_pages"), "1");
  EXPECT_EQ(dir.Read(profile + "\\logins.json"), "the user's own");
}

TEST_F(BrowserItemsTest, ALockedADamagedAndAnUnknownDatabaseAreLeftAsTheyAreAndSaid) {
  const std::string profile = std::string(kChrome) + "\\Default";
  dir.MakeDir(profile);
  MakeDb(profile + "\\Web Data",
         "CREATE TABLE autocomplete(name VARCHAR, value VARCHAR);"
         "CREATE TABLE credit_cards(guid VARCHAR, name_on_card VARCHAR);"
         "INSERT INTO autocomplete VALUES ('q','what I typed');"
         "INSERT INTO credit_cards VALUES ('g','Ann');");
  sqlite3* holder = nullptr;
  sqlite3_open(dir.HostPath(profile + "\\Web Data").c_str(), &holder);
  sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
  CleanItemResult locked = Clean("Google Chrome", BrowserItemKind::Forms);
  EXPECT_EQ(locked.reasons, std::vector<std::string>{"Web Data of Default left: locked by another program"});
  sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  EXPECT_EQ(Query(profile + "\\Web Data", "SELECT count(*) FROM autocomplete"), "1");

  CleanItemResult forms = Clean("Google Chrome", BrowserItemKind::Forms);
  EXPECT_EQ(forms.state, CleanItemResult::State::Done);
  EXPECT_EQ(Query(profile + "\\Web Data", "SELECT count(*) FROM autocomplete"), "0");
  EXPECT_EQ(Query(profile + "\\Web Data", "SELECT name_on_card FROM credit_cards"), "Ann")
      << "the user's own";

  dir.MakeDir(profile + "\\Network");
  dir.MakeFile(profile + "\\Network\\Cookies", std::string(4096, 'x'));
  EXPECT_EQ(Clean("Google Chrome", BrowserItemKind::Cookies).reasons,
            std::vector<std::string>{"Cookies of Default left: damaged"});
  EXPECT_EQ(dir.Read(profile + "\\Network\\Cookies"), std::string(4096, 'x'));
  MakeDb(profile + "\\Network\\Cookies2", "CREATE TABLE other(x);");
  std::filesystem::rename(dir.HostPath(profile + "\\Network\\Cookies2"),
                          dir.HostPath(profile + "\\Network\\Cookies"));
  EXPECT_EQ(Clean("Google Chrome", BrowserItemKind::Cookies).reasons,
            std::vector<std::string>{"Cookies of Default left: it has no cookies table"});
}

TEST_F(BrowserItemsTest, CacheAndSessionsAreWipedButNothingALinkInThemLeadsTo) {
  test::TestDir outside;
  outside.MakeFile("mine.txt", "precious");
  const std::string profile = std::string(kChrome) + "\\Default";
  dir.MakeDir(profile + "\\Cache\\Cache_Data");
  dir.MakeDir(profile + "\\Sessions");
  dir.MakeDir(std::string(kChrome) + "\\ShaderCache");
  dir.MakeFile(profile + "\\Cache\\Cache_Data\\f_000001", "cached page");
  dir.MakeFile(std::string(kChrome) + "\\ShaderCache\\data_0", "shader");
  std::filesystem::create_symlink(outside.HostPath("mine.txt"), dir.HostPath(profile + "\\Cache\\link"));
  std::filesystem::create_directory_symlink(outside.HostPath(""), dir.HostPath(profile + "\\Code Cache"));
  dir.MakeFile(profile + "\\Sessions\\Session_1", "tabs");
  dir.MakeFile(profile + "\\Current Session", "tabs");
  CleanItemResult cache = Clean("Google Chrome", BrowserItemKind::Cache);
  EXPECT_EQ(cache.reasons,
            std::vector<std::string>{"Code Cache of Default is a link, left with what it points to"});
  EXPECT_FALSE(dir.Exists(profile + "\\Cache\\Cache_Data\\f_000001"));
  EXPECT_FALSE(dir.Exists(std::string(kChrome) + "\\ShaderCache\\data_0"));
  EXPECT_EQ(outside.Read("mine.txt"), "precious");
  EXPECT_EQ(Clean("Google Chrome", BrowserItemKind::Sessions).state, CleanItemResult::State::Done);
  EXPECT_FALSE(dir.Exists(profile + "\\Sessions\\Session_1"));
  EXPECT_FALSE(dir.Exists(profile + "\\Current Session"));

  // A browser that runs is told apart from one that runs on without a window.
  auto& world = platform::posix::Cleaner();
  world.processes = {"explorer.exe", "CHROME.EXE"};
  EXPECT_EQ(RunStateOf(Named("Google Chrome")), BrowserRunState::InBackground);
  world.processesWithWindows = {"Chrome.exe"};
  EXPECT_EQ(RunStateOf(Named("Google Chrome")), BrowserRunState::Running);
  EXPECT_EQ(RunStateOf(Named("Mozilla Firefox")), BrowserRunState::NotRunning);
}

TEST_F(BrowserItemsTest, TheTreeShowsInstalledBrowsersAfterTheNineAndARunCleansThemOrNamesOneThatRuns) {
  const std::string profile = std::string(kChrome) + "\\Default";
  dir.MakeDir(profile + "\\Sessions");
  dir.MakeFile(profile + "\\Sessions\\Session_1", "tabs");
  AppSettings = {};
  AppSettings.ShowInfoDialog2 = 1;
  BrowserCleanKeys.clear();
  AppWindows windows;
  fSettings& main = windows.Settings();
  main.Load();
  ASSERT_EQ(main.TreeView1.Nodes().Count(), 12 + 6 + 7)
      << "one group, Chrome's (no other browser is here), then the Windows group";
  EXPECT_EQ(main.TreeView1.Nodes().Item(19)->Text(), "Windows 10 and 11");
  ui::Node& group = *main.TreeView1.Nodes().Item(13);
  EXPECT_EQ(group.Text(), "Google Chrome");
  EXPECT_EQ(main.TreeView1.Nodes().Item(14)->Text(), "Cache");
  EXPECT_EQ(main.TreeView1.Nodes().Item(18)->Text(), "Form Data");
  main.TreeView1.UserCheck(group, true);
  EXPECT_EQ(BrowserCleanKeys["OpCleanChromeSessions"], -1) << "the group ticks its items";
  SaveSetting("OpCleanFirefoxHistory", "-1");
  main.cmdOk.UserClick();
  EXPECT_EQ(GetSetting("OpCleanChromeForms", ""), "-1");
  EXPECT_EQ(GetSetting("OpCleanFirefoxHistory", ""), "-1") << "a browser not installed keeps its keys";

  // Chrome runs: nothing of it is touched, and the run's end says why.
  windows.Settings().Load();
  auto& world = platform::posix::Cleaner();
  world.processes = {"chrome.exe"};
  world.processesWithWindows = {"chrome.exe"};
  main.RunExclusive(false);
  EXPECT_EQ(main.LblProgress.Caption(),
            "Clean Complete, except: Google Chrome is running; close it and clean again");
  EXPECT_TRUE(dir.Exists(profile + "\\Sessions\\Session_1"));
  EXPECT_TRUE(BrowserRunning(world.processes)) << "the after-browser schedule waits for it too";
  world.processes.clear();
  main.RunExclusive(false);
  EXPECT_EQ(main.LblProgress.Caption(), "Clean Complete.");
  EXPECT_FALSE(dir.Exists(profile + "\\Sessions\\Session_1"));
}

}  // namespace
}  // namespace nullora
#endif
