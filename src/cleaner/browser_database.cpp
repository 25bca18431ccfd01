#include "cleaner/browser_database.h"

#include <cctype>
#include <cstring>
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
      journalMode_(std::move(other.journalMode_)),
      copy_(other.copy_) {}

BrowserDatabase& BrowserDatabase::operator=(BrowserDatabase&& other) noexcept {
  if (this != &other) {
    Close();
    db_ = std::exchange(other.db_, nullptr);
    path_ = std::move(other.path_);
    journalMode_ = std::move(other.journalMode_);
    copy_ = other.copy_;
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

// Why the database may not be opened at all: it is not there, or it or a journal beside it is a link or a
// file with other names; nothing when it may.
std::optional<std::string> RefusalBeforeOpen(const std::string& path) {
  if (!platform::QueryFileInfo(path)) return "not found";
  if (!PlainOrAbsent(path)) return "a link or a file with other names";
  for (const std::string& journal : BrowserDatabase::JournalPaths(path)) {
    if (!PlainOrAbsent(journal)) return "its journal is a link or a file with other names";
  }
  return std::nullopt;
}

// At most this much of a database is mapped at once; the rest is read as usual. Small enough for the
// address space of a 32-bit process.
constexpr long long kMappedBytes = 256ll << 20;

std::string Text(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : std::string();
}

void BreatheWhileLong(sqlite3* handle) {
  // A long statement (the rows of a large History) still lets the window paint and answer the system.
  sqlite3_progress_handler(
      handle, 1000,
      [](void*) {
        SilentProgress().Breathe();
        return 0;
      },
      nullptr);
}

// The file's URI, read as it lies: no lock, no journal or log looked for or made beside it.
std::string ImmutableUri(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (path.size() >= 2 && path[1] == ':') path = "/" + path;  // "/C:/...", as Windows' URIs have it
  std::string uri = "file://";
  static const char kHex[] = "0123456789ABCDEF";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("/._~:-", c)) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri + "?immutable=1";
}

// Whether a rollback journal still holds a change to undo: it starts with SQLite's magic number (an
// empty, truncated or zeroed one does not).
bool JournalIsHot(const std::string& path) {
  std::optional<platform::FileInfo> info = platform::QueryFileInfo(path);
  if (!info || info->size < 8) return false;
  std::optional<std::string> head = platform::ReadFileStart(path, 8);
  static const unsigned char kMagic[] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63, 0xd7};
  return !head || head->size() < 8 || std::memcmp(head->data(), kMagic, 8) == 0;
}

}  // namespace

bool DatabasesSupported() {
  return true;
}

std::optional<BrowserDatabase> BrowserDatabase::OpenCopy(const std::string& path, std::string* why) {
  auto fail = [why](std::string reason) -> std::optional<BrowserDatabase> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  if (std::optional<std::string> refused = RefusalBeforeOpen(path)) return fail(*refused);
  if (std::optional<platform::FileInfo> log = platform::QueryFileInfo(path + "-wal"); log && log->size > 0)
    return fail(std::string(kNotCounted) + ": its log holds changes not yet written into it");
  if (JournalIsHot(path + "-journal"))
    return fail(std::string(kNotCounted) +
                ": a change to it was left unfinished (the clean settles it first)");
  sqlite3* source = nullptr;
  const int opened = sqlite3_open_v2(ImmutableUri(platform::LibraryPath(path)).c_str(), &source,
                                     SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  if (opened != SQLITE_OK) {
    sqlite3_close(source);
    return fail("it could not be opened");
  }
  sqlite3* memory = nullptr;
  sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  BrowserDatabase db(memory, path);
  db.copy_ = true;
  db.journalMode_ = "memory";
  sqlite3_backup* backup = sqlite3_backup_init(memory, "main", source, "main");
  const int copied = backup ? sqlite3_backup_step(backup, -1) : SQLITE_ERROR;
  sqlite3_backup_finish(backup);
  sqlite3_close(source);
  if (copied != SQLITE_DONE) return fail("damaged");
  sqlite3_extended_result_codes(memory, 1);
  BreatheWhileLong(memory);
  std::vector<std::string> check = db.Column("PRAGMA quick_check");
  if (check.size() != 1 || check[0] != "ok") return fail("damaged");
  db.Exec("PRAGMA temp_store=MEMORY");
  return db;
}

size_t BrowserDatabase::RowCount(const std::string& table) {
  std::string quoted = "\"";
  for (char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  std::vector<std::string> n = Column("SELECT count(*) FROM " + quoted + "\"");
  return n.empty() ? 0 : static_cast<size_t>(std::stoull(n[0]));
}

std::optional<BrowserDatabase> BrowserDatabase::Open(const std::string& path, std::string* why) {
  auto fail = [why](std::string reason) -> std::optional<BrowserDatabase> {
    if (why) *why = std::move(reason);
    return std::nullopt;
  };
  if (std::optional<std::string> refused = RefusalBeforeOpen(path)) return fail(*refused);
  sqlite3* handle = nullptr;
  const int opened = sqlite3_open_v2(platform::LibraryPath(path).c_str(), &handle, SQLITE_OPEN_READWRITE,
                                     GatheredWritesVfs());
  BrowserDatabase db(handle, path);
  if (opened != SQLITE_OK) return fail("it could not be opened");
  sqlite3_extended_result_codes(handle, 1);
  BreatheWhileLong(handle);
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
  if (copy_) {
    // A copy is for counting: what the change did is undone.
    const bool changed = change(*this, why);
    Exec("ROLLBACK");
    return changed;
  }
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
std::optional<BrowserDatabase> BrowserDatabase::OpenCopy(const std::string& path, std::string* why) {
  return Open(path, why);
}
size_t BrowserDatabase::RowCount(const std::string& table) {
  (void)table;
  return 0;
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
