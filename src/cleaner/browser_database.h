// A browser's database, changed through SQLite itself and left with nothing of what was removed: no
// free page holding a deleted row, no journal beside it that still holds one.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace nullora {

// How a reason of OpenCopy() begins when the database is sound but cannot be counted as it lies.
inline constexpr char kNotCounted[] = "not counted";

class BrowserDatabase {
 public:
  ~BrowserDatabase();
  BrowserDatabase(BrowserDatabase&&) noexcept;
  BrowserDatabase& operator=(BrowserDatabase&&) noexcept;

  // Opens an existing database for reading and writing, after the file and whatever journal lies beside
  // it were found plain files with one name (no link leads elsewhere), and checks it: a database that
  // another program holds, or that fails `quick_check`, is not opened. `why` says why not, in short
  // ("locked by another program", "damaged").
  static std::optional<BrowserDatabase> Open(const std::string& path, std::string* why);
  // A copy in memory of an existing database, for counting what a change would remove: the file is read
  // as it lies (no lock taken, nothing written beside it, after the same checks as Open), and Change()
  // on the copy is rolled back. A database whose journal or log still holds a change is not copied.
  static std::optional<BrowserDatabase> OpenCopy(const std::string& path, std::string* why);
  // How many rows `table` holds (0 when it has none or is not there).
  size_t RowCount(const std::string& table);

  // The tables, in the database's order.
  std::vector<std::string> Tables();
  bool HasTable(const std::string& table);
  // Runs statements; false with the library's message in `why`.
  bool Exec(const std::string& sql, std::string* why = nullptr);
  // The first column of every row `sql` gives, as text.
  std::vector<std::string> Column(const std::string& sql);
  // Every column of the first row `sql` gives, as text.
  std::vector<std::string> Row(const std::string& sql);
  // Runs `sql` once per value, bound as its one parameter.
  bool ExecEach(const std::string& sql, const std::vector<std::string>& values, std::string* why = nullptr);
  // Deletes, in one transaction, what `change` deletes, then rebuilds the file without the freed pages
  // and closes it; the journal files left beside it are then the caller's to wipe. False (with why) when
  // any step fails: the transaction is then rolled back and the database is as it was.
  bool Change(const std::function<bool(BrowserDatabase&, std::string*)>& change, std::string* why);
  void Close();

  // The journal files that may lie beside a database.
  static std::vector<std::string> JournalPaths(const std::string& path);

 private:
  explicit BrowserDatabase(sqlite3* db, std::string path);
  sqlite3* db_ = nullptr;
  std::string path_;
  std::string journalMode_;
  bool copy_ = false;
};

// Whether this build can change databases at all (the Windows builds need SQLite's source).
bool DatabasesSupported();

}  // namespace nullora
