#include "cleaner/browser_items.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cleaner/browser_database.h"
#include "shared/records.h"
#include "shared/settings_store.h"

namespace nullora {

namespace {

using platform::KnownFolder;

// Where an action's path lies: in the profile, in its local (cache) folder, or in the user data
// folder that holds the profiles.
enum class Place { Profile, Local, DataFolder };

// What fills a temporary table `keep` (one column `v`) before a database's steps run.
enum class Keep { Nothing, BookmarkedUrls, CookieDomains, KeptPlaces };

struct DatabaseAction {
  std::vector<const char*> files;     // the first that exists is the one (older layouts after)
  std::vector<const char*> required;  // tables it must have, else it is left and said so
  Keep keep = Keep::Nothing;
  bool foreignKeys = false;
  // Statements, each run when the tables it names exist; "*" empties every table but the listed ones.
  std::vector<std::string> steps;
  std::vector<const char*> emptyAllBut;  // with a "*" step
};

// What the rows of a database's tables are in the report, by the database's file.
struct CountedTable {
  const char* file;
  const char* table;
  const char* one;
  const char* many;
};
constexpr CountedTable kCountedTables[] = {
    {"History", "urls", "page", "pages"},
    {"History", "visits", "visit", "visits"},
    {"Favicons", "favicons", "icon", "icons"},
    {"Network\\Cookies", "cookies", "cookie", "cookies"},
    {"Web Data", "autocomplete", "form entry", "form entries"},
    {"Web Data", "autofill", "form entry", "form entries"},
    {"cookies.sqlite", "moz_cookies", "cookie", "cookies"},
    {"places.sqlite", "moz_places", "page", "pages"},
    {"places.sqlite", "moz_historyvisits", "visit", "visits"},
    {"favicons.sqlite", "moz_icons", "icon", "icons"},
    {"formhistory.sqlite", "moz_formhistory", "form entry", "form entries"},
};

struct ItemActions {
  std::vector<std::pair<Place, const char*>> folders;  // every file below is wiped
  std::vector<std::pair<Place, const char*>> files;    // wiped whole, with their journals
  std::vector<DatabaseAction> databases;
};

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The keep-list match in SQL, the same rule as CookieKept: the host is the domain, ".domain", or ends in
// ".domain" (domains are kept in lower case).
constexpr char kKeptHost[] =
    "EXISTS (SELECT 1 FROM temp.keep WHERE lower(HOST) = keep.v OR lower(HOST) = '.' || keep.v OR "
    "substr(lower(HOST), -length(keep.v) - 1) = '.' || keep.v)";

std::string KeptHost(const std::string& column) {
  std::string predicate = kKeptHost;
  for (size_t at = 0; (at = predicate.find("HOST", at)) != std::string::npos; at += column.size()) {
    predicate.replace(at, 4, column);
  }
  return predicate;
}

ItemActions ChromiumActions(BrowserItemKind kind) {
  switch (kind) {
    case BrowserItemKind::Cache:
      return {{{Place::Local, "Cache"},
               {Place::Local, "Code Cache"},
               {Place::Local, "GPUCache"},
               {Place::Local, "DawnGraphiteCache"},
               {Place::Local, "DawnWebGPUCache"},
               {Place::Local, "Media Cache"},
               {Place::Profile, "Service Worker\\CacheStorage"},
               {Place::Profile, "Service Worker\\ScriptCache"},
               {Place::DataFolder, "GrShaderCache"},
               {Place::DataFolder, "ShaderCache"},
               {Place::DataFolder, "GraphiteDawnCache"}},
              {},
              {}};
    case BrowserItemKind::Cookies:
      return {{},
              {},
              {{{"Network\\Cookies", "Cookies"},
                {"cookies"},
                Keep::CookieDomains,
                false,
                {"DELETE FROM cookies WHERE NOT " + KeptHost("host_key")},
                {}}}};
    case BrowserItemKind::History:
      return {{},
              {{Place::Profile, "Visited Links"},
               {Place::Profile, "Top Sites"},
               {Place::Profile, "Shortcuts"},
               {Place::Profile, "Network Action Predictor"},
               {Place::Profile, "History Provider Cache"},
               {Place::Profile, "Archived History"},
               {Place::Profile, "DownloadMetadata"},
               {Place::Profile, "DIPS"}},
              {{{"History"},
                {"urls", "visits"},
                Keep::BookmarkedUrls,
                false,
                {"*", "DELETE FROM urls WHERE url NOT IN (SELECT v FROM temp.keep)",
                 "UPDATE urls SET visit_count = 0, typed_count = 0, last_visit_time = 0"},
                {"meta", "urls"}},
               {{"Favicons"},
                {"icon_mapping", "favicons"},
                Keep::BookmarkedUrls,
                false,
                {"DELETE FROM icon_mapping WHERE page_url NOT IN (SELECT v FROM temp.keep)",
                 "DELETE FROM favicon_bitmaps WHERE icon_id NOT IN (SELECT icon_id FROM icon_mapping)",
                 "DELETE FROM favicons WHERE id NOT IN (SELECT icon_id FROM icon_mapping)"},
                {}}}};
    case BrowserItemKind::Sessions:
      return {{{Place::Profile, "Sessions"}},
              {{Place::Profile, "Current Session"},
               {Place::Profile, "Current Tabs"},
               {Place::Profile, "Last Session"},
               {Place::Profile, "Last Tabs"}},
              {}};
    case BrowserItemKind::Forms:
      // Form entries only: saved addresses, cards, IBANs and keywords beside them are the user's own.
      return {{},
              {},
              {{{"Web Data"},
                {},
                Keep::Nothing,
                false,
                {"DELETE FROM autocomplete", "DELETE FROM autofill"},
                {}}}};
  }
  return {};
}

ItemActions FirefoxActions(BrowserItemKind kind) {
  switch (kind) {
    case BrowserItemKind::Cache:
      return {{{Place::Local, "cache2"},
               {Place::Local, "startupCache"},
               {Place::Local, "jumpListCache"},
               {Place::Local, "thumbnails"},
               {Place::Profile, "startupCache"},
               {Place::Profile, "jumpListCache"},
               {Place::Profile, "thumbnails"}},
              {},
              {}};
    case BrowserItemKind::Cookies:
      return {{},
              {},
              {{{"cookies.sqlite"},
                {"moz_cookies"},
                Keep::CookieDomains,
                false,
                {"DELETE FROM moz_cookies WHERE NOT " + KeptHost("host")},
                {}}}};
    case BrowserItemKind::History:
      // The schema's own cascades (ON DELETE CASCADE) run only with foreign keys on.
      return {
          {},
          {{Place::Profile, "bounce-tracking-protection.sqlite"}},
          {{{"places.sqlite"},
            {"moz_places", "moz_historyvisits", "moz_bookmarks"},
            Keep::Nothing,
            true,
            {"DELETE FROM moz_historyvisits_extra", "DELETE FROM moz_historyvisits",
             "DELETE FROM moz_inputhistory", "DELETE FROM moz_places_metadata_search_queries",
             "DELETE FROM moz_places_metadata", "DELETE FROM moz_newtab_story_click",
             "DELETE FROM moz_newtab_story_impression", "DELETE FROM moz_newtab_shortcuts_interaction",
             // The places a bookmark or a keyword names stay (a version without keywords keeps the
             // bookmarks' alone).
             "CREATE TEMP TABLE kept_places AS SELECT fk AS id FROM moz_bookmarks WHERE fk IS NOT NULL",
             "INSERT INTO temp.kept_places SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL",
             "DELETE FROM moz_places WHERE id NOT IN (SELECT id FROM temp.kept_places)",
             "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL",
             "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS "
             "NOT "
             "NULL)",
             "DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)"},
            {}},
           {{"favicons.sqlite"},
            {"moz_pages_w_icons", "moz_icons"},
            Keep::KeptPlaces,
            true,
            {"DELETE FROM moz_pages_w_icons WHERE page_url NOT IN (SELECT v FROM temp.keep)",
             "DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (SELECT id FROM moz_pages_w_icons)",
             "DELETE FROM moz_icons WHERE root = 0 AND id NOT IN (SELECT icon_id FROM moz_icons_to_pages)"},
            {}}}};
    case BrowserItemKind::Sessions:
      return {{{Place::Profile, "sessionstore-backups"}},
              {{Place::Profile, "sessionstore.jsonlz4"}, {Place::Profile, "sessionCheckpoints.json"}},
              {}};
    case BrowserItemKind::Forms:
      return {{},
              {},
              {{{"formhistory.sqlite"},
                {"moz_formhistory"},
                Keep::Nothing,
                false,
                {"DELETE FROM moz_formhistory"},
                {}}}};
  }
  return {};
}

std::string Under(const BrowserProfile& profile, Place place, const std::string& relative) {
  const std::string& base = place == Place::Profile ? profile.folder
                            : place == Place::Local ? profile.localFolder
                                                    : profile.dataFolder;
  return base.empty() ? std::string() : base + "\\" + relative;
}

std::string ProfileName(const BrowserProfile& profile) {
  return profile.folder.substr(profile.folder.find_last_of('\\') + 1);
}

bool Exists(const std::string& path) {
  return platform::GetFileAttributes(path) != platform::kInvalidAttributes;
}

// The URLs the Bookmarks file names, wherever in its tree; none when it does not parse.
void CollectUrls(const nlohmann::json& node, std::vector<std::string>& urls) {
  if (node.is_object()) {
    if (node.contains("url") && node["url"].is_string()) urls.push_back(node["url"].get<std::string>());
    for (const auto& [key, child] : node.items()) {
      (void)key;
      CollectUrls(child, urls);
    }
  } else if (node.is_array()) {
    for (const auto& child : node) CollectUrls(child, urls);
  }
}

std::vector<std::string> BookmarkedUrls(const BrowserProfile& profile) {
  std::vector<std::string> urls;
  if (std::optional<std::string> text = platform::ReadSmallFile(profile.folder + "\\Bookmarks", 64 << 20)) {
    CollectUrls(nlohmann::json::parse(*text, nullptr, false), urls);
  }
  return urls;
}

// Whether a statement names a table the database lacks (after FROM, INTO or UPDATE, the temporary
// tables aside): such a statement is for another version of the browser, and is passed over.
bool NamesMissingTable(const std::string& step, const std::vector<std::string>& tables) {
  for (const char* word : {"FROM ", "INTO ", "UPDATE "}) {
    for (size_t at = step.find(word); at != std::string::npos; at = step.find(word, at + 1)) {
      if (at > 0 && step[at - 1] != ' ' && step[at - 1] != '(') continue;
      const size_t start = at + std::string(word).size();
      const std::string table = step.substr(start, step.find_first_of(" )", start) - start);
      if (table.rfind("temp.", 0) == 0) continue;
      if (std::find(tables.begin(), tables.end(), table) == tables.end()) return true;
    }
  }
  return false;
}

// Wipes a file the item removes whole, with whatever journal lies beside it.
void WipeWhole(const std::string& path, CleanView& view, FolderWipeTally& tally) {
  for (const std::string& file : {path, path + "-journal", path + "-wal", path + "-shm"}) {
    if (Exists(file)) tally.Wipe(file, view);
  }
}

void RunDatabase(const DatabaseAction& action, const BrowserProfile& profile,
                 const std::vector<std::string>& keepDomains, CleanView& view, CleanItemResult& result,
                 FolderWipeTally& tally) {
  std::string path;
  for (const char* file : action.files) {
    if (Exists(profile.folder + "\\" + file)) {
      path = profile.folder + "\\" + file;
      break;
    }
  }
  if (path.empty()) return;  // this version keeps none
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  const std::string where = name + " of " + ProfileName(profile);
  // A preview counts on a copy in memory; the clean's own journal, made by opening the file, is not
  // one of the traces it found and is wiped without being counted.
  const bool preview = CleanRunPreviewing();
  auto open = preview ? &BrowserDatabase::OpenCopy : &BrowserDatabase::Open;
  std::vector<std::string> journalsBefore;
  for (const std::string& journal : BrowserDatabase::JournalPaths(path)) {
    if (Exists(journal)) journalsBefore.push_back(journal);
  }
  std::string why;
  std::optional<BrowserDatabase> db = open(path, &why);
  if (!db) {
    result.Leave(where + (why.rfind(kNotCounted, 0) == 0 ? " " : " left: ") + why);
    return;
  }
  const std::vector<std::string> tables = db->Tables();
  for (const char* table : action.required) {
    if (std::find(tables.begin(), tables.end(), table) == tables.end()) {
      result.Leave(where + " left: it has no " + table + " table");
      return;
    }
  }
  std::vector<std::string> keep;
  if (action.keep == Keep::BookmarkedUrls) keep = BookmarkedUrls(profile);
  if (action.keep == Keep::CookieDomains) keep = keepDomains;
  if (action.keep == Keep::KeptPlaces) {
    if (std::optional<BrowserDatabase> places = open(profile.folder + "\\places.sqlite", &why)) {
      keep = places->Column("SELECT url FROM moz_places");
    }
  }
  // Outside any transaction, where SQLite takes it.
  if (action.foreignKeys && !db->Exec("PRAGMA foreign_keys = ON", &why)) {
    result.Leave(where + " left: " + why);
    return;
  }
  // The rows each counted table loses, by what they are.
  std::vector<std::pair<const CountedTable*, size_t>> removed;
  for (const CountedTable& counted : kCountedTables) {
    if (std::string(counted.file) == action.files.front() &&
        std::find(tables.begin(), tables.end(), counted.table) != tables.end()) {
      removed.emplace_back(&counted, db->RowCount(counted.table));
    }
  }
  auto countRemoved = [&](BrowserDatabase& open) {
    for (auto& [counted, n] : removed) n -= std::min(n, open.RowCount(counted->table));
  };
  const bool changed = db->Change(
      [&](BrowserDatabase& open, std::string* failure) {
        if (action.keep != Keep::Nothing &&
            (!open.Exec("CREATE TEMP TABLE keep(v TEXT)", failure) ||
             !open.ExecEach("INSERT INTO temp.keep VALUES (?)", keep, failure))) {
          return false;
        }
        for (const std::string& step : action.steps) {
          if (step == "*") {
            for (const std::string& table : tables) {
              if (std::find_if(action.emptyAllBut.begin(), action.emptyAllBut.end(), [&](const char* except) {
                    return table == except;
                  }) != action.emptyAllBut.end()) {
                continue;
              }
              std::string quoted = "\"";
              for (char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
              if (!open.Exec("DELETE FROM " + quoted + "\"", failure)) return false;
            }
          } else if (!NamesMissingTable(step, tables) && !open.Exec(step, failure)) {
            return false;
          }
        }
        countRemoved(open);
        return true;
      },
      &why);
  if (!changed) {
    result.Leave(where + " left: " + why);
    return;
  }
  for (const auto& [counted, n] : removed) result.counts.AddRows(counted->one, counted->many, n);
  // What the rows were is still in the journal SQLite kept as a file: wiped like any trace file.
  for (const std::string& journal : BrowserDatabase::JournalPaths(path)) {
    if (!Exists(journal)) continue;
    FolderWipeTally one;
    one.Wipe(journal, view);
    if (std::find(journalsBefore.begin(), journalsBefore.end(), journal) == journalsBefore.end()) {
      one.wiped = 0;
      one.bytes = 0;
    }
    tally.Merge(one);
  }
}

}  // namespace

const std::vector<Browser>& Browsers() {
  static const std::vector<Browser> browsers{
      {"Google Chrome",
       "Chrome",
       BrowserFamily::Chromium,
       {"chrome.exe"},
       KnownFolder::LocalAppData,
       "Google\\Chrome\\User Data"},
      {"Microsoft Edge",
       "Edge",
       BrowserFamily::Chromium,
       {"msedge.exe"},
       KnownFolder::LocalAppData,
       "Microsoft\\Edge\\User Data"},
      {"Brave",
       "Brave",
       BrowserFamily::Chromium,
       {"brave.exe"},
       KnownFolder::LocalAppData,
       "BraveSoftware\\Brave-Browser\\User Data"},
      {"Vivaldi",
       "Vivaldi",
       BrowserFamily::Chromium,
       {"vivaldi.exe"},
       KnownFolder::LocalAppData,
       "Vivaldi\\User Data"},
      {"Opera",
       "Opera",
       BrowserFamily::Chromium,
       {"opera.exe"},
       KnownFolder::AppData,
       "Opera Software\\Opera Stable",
       true,
       "Opera Software\\Opera Stable"},
      {"Mozilla Firefox",
       "Firefox",
       BrowserFamily::Firefox,
       {"firefox.exe"},
       KnownFolder::AppData,
       "Mozilla\\Firefox",
       false,
       "Mozilla\\Firefox"},
  };
  return browsers;
}

std::string BrowserItemKey(const Browser& browser, BrowserItemKind kind) {
  for (const BrowserItemName& item : kBrowserItems) {
    if (item.kind == kind) return std::string("OpClean") + browser.keyPart + item.keyPart;
  }
  return {};
}

bool BrowserItemSelected(const Browser& browser, BrowserItemKind kind) {
  auto found = BrowserCleanKeys.find(BrowserItemKey(browser, kind));
  return found != BrowserCleanKeys.end() && found->second == -1;
}

std::vector<BrowserProfile> ProfilesOf(const Browser& browser) {
  const std::string root = platform::KnownFolderPath(browser.root);
  if (root.empty()) return {};
  const std::string folder = root + "\\" + browser.folder;
  const std::string local = platform::KnownFolderPath(KnownFolder::LocalAppData);
  const std::string localFolder =
      browser.localFolder && !local.empty() ? local + "\\" + browser.localFolder : "";
  if (browser.family == BrowserFamily::Firefox) return FirefoxProfiles(folder, localFolder);
  if (browser.singleProfile) return SingleChromiumProfile(folder, localFolder);
  return ChromiumProfiles(folder);
}

bool IsProgramOf(const Browser& browser, const std::string& processName) {
  const std::string lower = LowerAscii(processName);
  for (const char* process : browser.processes) {
    if (lower == process) return true;
  }
  return false;
}

BrowserRunState RunStateOf(const Browser& browser) {
  auto runs = [&](const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      if (IsProgramOf(browser, name)) return true;
    }
    return false;
  };
  if (!runs(platform::RunningProcessNames())) return BrowserRunState::NotRunning;
  return runs(platform::ProcessNamesWithWindows()) ? BrowserRunState::Running : BrowserRunState::InBackground;
}

std::vector<std::string> CookieKeepList(const std::string& setting) {
  std::vector<std::string> domains;
  size_t start = 0;
  while (start <= setting.size()) {
    size_t end = setting.find(';', start);
    if (end == std::string::npos) end = setting.size();
    std::string domain = LowerAscii(Trim(setting.substr(start, end - start)));
    while (!domain.empty() && domain.front() == '.') domain.erase(0, 1);
    if (!domain.empty()) domains.push_back(domain);
    start = end + 1;
  }
  return domains;
}

bool CookieKept(const std::string& host, const std::vector<std::string>& keep) {
  const std::string folded = LowerAscii(host);
  for (const std::string& domain : keep) {
    if (folded == domain || folded == "." + domain) return true;
    if (folded.size() > domain.size() + 1 && folded.ends_with("." + domain)) return true;
  }
  return false;
}

CleanItemResult CleanBrowserItem(const Browser& browser, BrowserItemKind kind,
                                 const std::vector<BrowserProfile>& profiles,
                                 const std::vector<std::string>& keepDomains, CleanView& view) {
  CleanItemResult result;
  const ItemActions actions =
      browser.family == BrowserFamily::Chromium ? ChromiumActions(kind) : FirefoxActions(kind);
  FolderWipeTally tally;
  for (const BrowserProfile& profile : profiles) {
    if (CleanRunStopping()) {
      result.Stop();
      return result;
    }
    for (const auto& [place, relative] : actions.folders) {
      const std::string folder = Under(profile, place, relative);
      if (folder.empty() || !Exists(folder)) continue;
      if (std::optional<platform::FileInfo> info = platform::QueryFileInfo(folder); info && info->isLink) {
        // A cache folder that leads elsewhere: nothing outside the profile is wiped through it.
        result.Leave(std::string(relative) + " of " + ProfileName(profile) +
                     " is a link, left with what it points to");
        continue;
      }
      FolderWipeTally inner = WipeFolderFiles(folder, view);
      if (inner.refused)
        result.Leave(std::string(relative) + " of " + ProfileName(profile) + " refused, " + *inner.refused);
      tally.Merge(inner);
    }
    for (const auto& [place, relative] : actions.files) {
      if (const std::string file = Under(profile, place, relative); !file.empty())
        WipeWhole(file, view, tally);
    }
    for (const DatabaseAction& database : actions.databases)
      RunDatabase(database, profile, keepDomains, view, result, tally);
  }
  if (CleanRunStopping()) result.Stop();
  tally.AddTo(result);
  return result;
}

}  // namespace nullora
