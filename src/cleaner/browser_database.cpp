#include "cleaner/browser_database.h"

#include <utility>

#include "cleaner/gathered_writes.h"
#include "engine/progress.h"
#include "platform/platform.h"

#if NULLORA_HAVE_SQLITE
#include <sqlite3.h>
#endif

namespace nullora {

std::vector<std::string> BrowserDatabase::JournalPaths(const std::string& path) {
  return {path + "-journal", path + "-wal", path + "-shm"};
}

BrowserDatabase::BrowserDatabase(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

BrowserDatabase::BrowserDatabase(BrowserDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      path_(std::move(other.path_)),
      journalMode_(std::move(other.journalMode_)) {}

BrowserDatabase& BrowserDatabase::operator=(BrowserDatabase&& other) noexcept {
  if (this != &other) {
    Close();
    db_ = std::exchange(other.db_, nullptr);
    path_ = std::move(other.path_);
    journalMode_ = std::move(other.journalMode_);
  }
  return *this;
}

BrowserDatabase::~BrowserDatabase() {
  Close();
}

#if NULLORA_HAVE_SQLITE

namespace {

// A plain file with one name, or nothing at all: SQLite must never write through a link or into the
// data of another name.
bool PlainOrAbsent(const std::string& path) {
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
  if (!info) return true;
  return !info->isLink && !info->isDirectory && info->linkCount == 1;
}

// At most this much of a database is mapped at once; the rest is read as usual. Small enough for the
// address space of a 32-bit process.
constexpr long long kMappedBytes = 256ll << 20;

std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : std::string();
}

}  // namespace

bool DatabasesSupported() {
  return true;
}

std::optional<BrowserDatabase> BrowserDatabase::Open(const std::string& path, std::string* why) {
  auto fail = [why](std::string reason) -> std::optional<BrowserDatabase> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
  if (!info) return fail("not found");
  if (!PlainOrAbsent(path)) return fail("a link or a file with other names");
  for (const std::string& journal : JournalPaths(path)) {
    if (!PlainOrAbsent(journal)) return fail("its journal is a link or a file with other names");
  }
  sqlite3* handle = nullptr;
  const int opened = sqlite3_open_v2(platform::LibraryPath(path).c_str(), &handle, SQLITE_OPEN_READWRITE,
                                     GatheredWritesVfs());
  BrowserDatabase db(handle, path);
  if (opened != SQLITE_OK) return fail("it could not be opened");
  sqlite3_extended_result_codes(handle, 1);
  // A long statement (the rows of a large History) still lets the window paint and answer the system.
  sqlite3_progress_handler(
      handle, 1000,
      [](void*) {
        SilentProgress().Breathe();
        return 0;
      },
      nullptr);
  // Pages are read through a mapping of the file rather than a call each: under Wine every call is
  // dear, and the check below reads the whole file. Writes still go through the journal as ever.
  db.Exec("PRAGMA mmap_size=" + std::to_string(kMappedBytes));

  // Nobody else may hold it: a program with it open may have written what is not yet in the file.
  if (!db.Exec("BEGIN IMMEDIATE; ROLLBACK;")) {
    const int code = sqlite3_errcode(handle) & 0xFF;
    return fail(code == SQLITE_BUSY || code == SQLITE_LOCKED ? "locked by another program" : "damaged");
  }
  std::vector<std::string> check = db.Column("PRAGMA quick_check");
  if (check.size() != 1 || check[0] != "ok") return fail("damaged");

  std::vector<std::string> mode = db.Column("PRAGMA journal_mode");
  db.journalMode_ = mode.empty() ? "delete" : mode[0];
  if (db.journalMode_ == "wal") {
    // The log stays a file when the last connection closes, so that what it held can be wiped.
    int persist = 1;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_PERSIST_WAL, &persist) != SQLITE_OK) {
      return fail("its log could not be kept for wiping");
    }
  } else {
    // A rollback journal that stays a file (and is wiped afterwards) instead of one deleted unwiped.
    std::vector<std::string> set = db.Column("PRAGMA journal_mode=PERSIST");
    if (set.empty() || set[0] != "persist") return fail("its journal could not be kept for wiping");
  }
  // Freed pages are overwritten with zeros, so no deleted row stays in the file; what SQLite needs on
  // the side (VACUUM's copy, the keep tables) stays in memory instead of the temporary folder.
  db.Exec("PRAGMA secure_delete=ON");
  db.Exec("PRAGMA temp_store=MEMORY");
  std::vector<std::string> secure = db.Column("PRAGMA secure_delete");
  if (secure.empty() || secure[0] != "1") return fail("SQLite would not overwrite what it deletes");
  return db;
}

std::vector<std::string> BrowserDatabase::Tables() {
  return Column(
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
}

bool BrowserDatabase::HasTable(const std::string& table) {
  for (const std::string& name : Tables()) {
    if (name == table) return true;
  }
  return false;
}

bool BrowserDatabase::Exec(const std::string& sql, std::string* why) {
  char* message = nullptr;
  const int result = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
  if (result != SQLITE_OK && why) *why = message ? message : sqlite3_errstr(result);
  sqlite3_free(message);
  return result == SQLITE_OK;
}

std::vector<std::string> BrowserDatabase::Column(const std::string& sql) {
  std::vector<std::string> values;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return values;
  while (sqlite3_step(statement) == SQLITE_ROW) values.push_back(Text(statement, 0));
  sqlite3_finalize(statement);
  return values;
}

std::vector<std::string> BrowserDatabase::Row(const std::string& sql) {
  std::vector<std::string> values;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return values;
  if (sqlite3_step(statement) == SQLITE_ROW) {
    for (int column = 0; column < sqlite3_column_count(statement); ++column)
      values.push_back(Text(statement, column));
  }
  sqlite3_finalize(statement);
  return values;
}

bool BrowserDatabase::ExecEach(const std::string& sql, const std::vector<std::string>& values,
                               std::string* why) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    if (why) *why = sqlite3_errmsg(db_);
    return false;
  }
  bool ok = true;
  for (const std::string& value : values) {
    sqlite3_bind_text(statement, 1, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) != SQLITE_DONE) {
      if (why) *why = sqlite3_errmsg(db_);
      ok = false;
      break;
    }
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  return ok;
}

bool BrowserDatabase::Change(const std::function<bool(BrowserDatabase&, std::string*)>& change,
                             std::string* why) {
  if (!Exec("BEGIN IMMEDIATE", why)) return false;
  if (!change(*this, why) || !Exec("COMMIT", why)) {
    Exec("ROLLBACK");
    return false;
  }
  // The file is written anew without its free pages; in WAL mode the log is then emptied into it.
  if (!Exec("VACUUM", why)) return false;
  if (journalMode_ == "wal") {
    // Every frame of the log must be in the file before the log may be wiped: busy 0, and as many
    // frames checkpointed as the log holds.
    std::vector<std::string> row = Row("PRAGMA wal_checkpoint(FULL)");
    if (row.size() != 3 || row[0] != "0" || row[1] != row[2]) {
      if (why) *why = "its log could not be written into it";
      return false;
    }
  }
  std::vector<std::string> check = Column("PRAGMA integrity_check");
  if (check.size() != 1 || check[0] != "ok") {
    if (why) *why = "damaged after the change";
    return false;
  }
  Close();
  return true;
}

void BrowserDatabase::Close() {
  if (db_) sqlite3_close(std::exchange(db_, nullptr));
}

#else  // without SQLite

bool DatabasesSupported() {
  return false;
}

std::optional<BrowserDatabase> BrowserDatabase::Open(const std::string& path, std::string* why) {
  (void)path;
  if (why) *why = "this build of Nullora cannot change databases";
  return std::nullopt;
}
std::vector<std::string> BrowserDatabase::Tables() {
  return {};
}
bool BrowserDatabase::HasTable(const std::string& table) {
  (void)table;
  return false;
}
bool BrowserDatabase::Exec(const std::string& sql, std::string* why) {
  (void)sql, (void)why;
  return false;
}
std::vector<std::string> BrowserDatabase::Column(const std::string& sql) {
  (void)sql;
  return {};
}
std::vector<std::string> BrowserDatabase::Row(const std::string& sql) {
  (void)sql;
  return {};
}
bool BrowserDatabase::ExecEach(const std::string& sql, const std::vector<std::string>& values,
                               std::string* why) {
  (void)sql, (void)values, (void)why;
  return false;
}
bool BrowserDatabase::Change(const std::function<bool(BrowserDatabase&, std::string*)>& change,
                             std::string* why) {
  (void)change, (void)why;
  return false;
}
void BrowserDatabase::Close() {}

#endif

}  // namespace nullora
