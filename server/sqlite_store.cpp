// SQLite storage of tokens and results.
#include "sqlite_store.h"

#include <sqlite3.h>

#include <stdexcept>

namespace trakvolt::server {

// A prepared statement, finalised on every path.
class SqliteStore::Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail();
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int i, const std::string& text) {
    if (sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
      Fail();
    return *this;
  }
  Statement& Bind(int i, std::int64_t v) {
    if (sqlite3_bind_int64(stmt_, i, v) != SQLITE_OK) Fail();
    return *this;
  }
  // True while there is a row to read.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) Fail();
    return false;
  }
  std::int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string Text(int col) const {
    const auto* p = sqlite3_column_text(stmt_, col);
    return p ? std::string(reinterpret_cast<const char*>(p),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }

 private:
  [[noreturn]] void Fail() const { throw std::runtime_error(sqlite3_errmsg(db_)); }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS scores ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " country TEXT NOT NULL, created INTEGER NOT NULL, address TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, id);"
    "CREATE TABLE IF NOT EXISTS tokens ("
    " token TEXT PRIMARY KEY, address TEXT NOT NULL, expires INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS tokens_address ON tokens (address, expires);"
    "CREATE INDEX IF NOT EXISTS tokens_expires ON tokens (expires);";

}  // namespace

SqliteStore::SqliteStore(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw std::runtime_error("cannot open " + path + ": " + why);
  }
  try {
    // Other server processes may share the file: wait for their writes instead of failing.
    sqlite3_busy_timeout(db_, 5000);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=FULL");
    Exec(kSchema);
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SqliteStore::~SqliteStore() { sqlite3_close(db_); }

void SqliteStore::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error(why);
  }
}

namespace {

// BEGIN IMMEDIATE ... COMMIT, rolled back when anything in between throws.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) { Run("BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit() {
    Run("COMMIT");
    done_ = true;
  }

 private:
  void Run(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db_));
  }
  sqlite3* db_;
  bool done_ = false;
};

}  // namespace

IssueOutcome SqliteStore::IssueToken(const std::string& token, const std::string& address,
                                     std::int64_t now, std::int64_t expires, int max_outstanding) {
  std::lock_guard lock(mutex_);
  Transaction tx(db_);
  Statement(db_, "DELETE FROM tokens WHERE expires <= ?1").Bind(1, now).Step();
  Statement count(db_, "SELECT COUNT(*) FROM tokens WHERE address = ?1");
  count.Bind(1, address).Step();
  if (count.Int(0) >= max_outstanding) {
    tx.Commit();  // keep the purge
    return IssueOutcome::TooManyOutstanding;
  }
  Statement(db_, "INSERT INTO tokens (token, address, expires) VALUES (?1, ?2, ?3)")
      .Bind(1, token)
      .Bind(2, address)
      .Bind(3, expires)
      .Step();
  tx.Commit();
  return IssueOutcome::Issued;
}

SubmitOutcome SqliteStore::Submit(const std::string& token, const ScoreRow& row,
                                  const std::string& address, std::int64_t now) {
  std::lock_guard lock(mutex_);
  Transaction tx(db_);
  Statement use(db_, "DELETE FROM tokens WHERE token = ?1 AND expires > ?2");
  use.Bind(1, token).Bind(2, now).Step();
  if (sqlite3_changes(db_) != 1) return SubmitOutcome::UnknownToken;
  Statement(db_,
            "INSERT INTO scores (name, score, country, created, address)"
            " VALUES (?1, ?2, ?3, ?4, ?5)")
      .Bind(1, row.name)
      .Bind(2, std::int64_t{row.score})
      .Bind(3, row.country)
      .Bind(4, now)
      .Bind(5, address)
      .Step();
  tx.Commit();
  return SubmitOutcome::Stored;
}

std::vector<ScoreRow> SqliteStore::Top(int limit, const std::string& country) {
  std::lock_guard lock(mutex_);
  Statement q(db_,
              "SELECT id, name, score, country, created FROM scores"
              " WHERE ?1 = '' OR country = ?1 ORDER BY score DESC, id LIMIT ?2");
  q.Bind(1, country).Bind(2, std::int64_t{limit});
  std::vector<ScoreRow> rows;
  while (q.Step())
    rows.push_back({q.Int(0), q.Text(1), static_cast<std::int32_t>(q.Int(2)), q.Text(3), q.Int(4)});
  return rows;
}

std::int64_t SqliteStore::Count() {
  std::lock_guard lock(mutex_);
  Statement q(db_, "SELECT COUNT(*) FROM scores");
  q.Step();
  return q.Int(0);
}

bool SqliteStore::Healthy() {
  try {
    std::lock_guard lock(mutex_);
    Statement q(db_, "SELECT 1");
    return q.Step() && q.Int(0) == 1;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace trakvolt::server
