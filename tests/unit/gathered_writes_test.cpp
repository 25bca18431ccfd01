// The layer that gathers SQLite's writes: held writes must reach the files before another connection
// can look, or that connection would take a committed change for one cut short (a journal still hot)
// or miss the frames of a log.
#include <gtest/gtest.h>

#if NULLORA_HAVE_SQLITE
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "cleaner/gathered_writes.h"
#include "support/test_files.h"

namespace nullora {
namespace {

class GatheredWritesTest : public ::testing::Test {
 protected:
  sqlite3* OpenDb(const char* vfs) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs), SQLITE_OK);
    return db;
  }
  static void Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  }
  static std::string One(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    return value;
  }
  static std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Rows of 1 KB whose text is easy to find in the raw file.
  static void Fill(sqlite3* db) {
    Exec(db,
         "CREATE TABLE t(id INTEGER PRIMARY KEY, v TEXT);"
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
         "INSERT INTO t(v) SELECT CASE WHEN i <= 10 THEN 'KEPT' ELSE 'GONEMARK' END || "
         "printf('%.1000c', 'x') FROM n;");
  }

  test::TestDir dir;
  std::string path = dir.HostPath("t.db").string();
};

TEST_F(GatheredWritesTest, ACommitIsWholeInTheFilesForAnotherConnection) {
  ASSERT_NE(GatheredWritesVfs(), nullptr);
  sqlite3* db = OpenDb(GatheredWritesVfs());
  // No syncs: the unlock alone must hand the held writes on.
  Exec(db, "PRAGMA journal_mode=PERSIST; PRAGMA secure_delete=ON; PRAGMA synchronous=OFF;");
  Fill(db);
  Exec(db, "BEGIN IMMEDIATE; DELETE FROM t WHERE id > 10; COMMIT;");

  // Still open: another connection must find the change whole, and the journal no longer hot (a zeroed
  // header), or it would roll the committed change back.
  const std::string journal = Bytes(path + "-journal");
  ASSERT_GE(journal.size(), 28u);
  EXPECT_EQ(journal.substr(0, 28), std::string(28, '\0'));
  sqlite3* other = OpenDb(nullptr);
  EXPECT_EQ(One(other, "SELECT count(*) FROM t"), "10");
  EXPECT_EQ(One(other, "PRAGMA integrity_check"), "ok");
  // The freed pages were zeroed in the file itself, not only in the layer's hands.
  EXPECT_EQ(Bytes(path).find("GONEMARK"), std::string::npos);
  EXPECT_NE(Bytes(path).find("KEPT"), std::string::npos);
  sqlite3_close(other);
  sqlite3_close(db);
}

TEST_F(GatheredWritesTest, ALogsFramesAreThereForAnotherConnection) {
  sqlite3* db = OpenDb(GatheredWritesVfs());
  Exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; PRAGMA synchronous=OFF;");
  Fill(db);
  Exec(db, "DELETE FROM t WHERE id > 10");
  sqlite3* other = OpenDb(nullptr);
  EXPECT_EQ(One(other, "SELECT count(*) FROM t"), "10");
  // And the other way: what the other connection writes, this one reads.
  Exec(other, "INSERT INTO t(v) VALUES ('NEW')");
  EXPECT_EQ(One(db, "SELECT count(*) FROM t"), "11");
  sqlite3_close(other);
  EXPECT_EQ(One(db, "PRAGMA wal_checkpoint(FULL)"), "0");
  EXPECT_EQ(One(db, "PRAGMA integrity_check"), "ok");
  sqlite3_close(db);
}

}  // namespace
}  // namespace nullora

#endif
