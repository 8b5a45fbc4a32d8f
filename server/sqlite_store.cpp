// SQLite storage of tokens and results.
#include "sqlite_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "schema.h"

namespace trakvolt::server {

// One open database handle.
class SqliteStore::Connection {
 public:
  Connection(const std::string& path, int flags) {
    if (sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
      const std::string why = db ? sqlite3_errmsg(db) : "out of memory";
      sqlite3_close(db);
      throw std::runtime_error("cannot open " + path + ": " + why);
    }
    // Other server processes may share the file: wait for their writes instead of failing.
    sqlite3_busy_timeout(db, 5000);
  }
  ~Connection() { sqlite3_close(db); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void Exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string why = error ? error : sqlite3_errmsg(db);
      sqlite3_free(error);
      throw std::runtime_error(why);
    }
  }

  sqlite3* db = nullptr;
};

namespace {

// A prepared statement, finalised on every path.
class Statement {
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

int UserVersion(sqlite3* db) {
  Statement q(db, "PRAGMA user_version");
  q.Step();
  return static_cast<int>(q.Int(0));
}

void SetUserVersion(sqlite3* db, int version) {
  // PRAGMA takes no parameters; the number is ours.
  const std::string sql = "PRAGMA user_version = " + std::to_string(version);
  Statement(db, sql.c_str()).Step();
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path, int readers) : path_(path) {
  writer_ = std::make_unique<Connection>(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  writer_->Exec("PRAGMA journal_mode=WAL");
  writer_->Exec("PRAGMA synchronous=FULL");
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
  device_ = st.st_dev;
  inode_ = st.st_ino;
  Upgrade();
  if (const std::string problem = WriteProblem(); !problem.empty())
    throw std::runtime_error("cannot write " + path + ": " + problem);
  readers_ = std::make_unique<ConnectionPool<Connection>>(
      static_cast<std::size_t>(std::max(1, readers)),
      [path] { return std::make_unique<Connection>(path, SQLITE_OPEN_READONLY); }, true);
}

// The readers go first: the writer, closing last, folds the WAL back into the file.
SqliteStore::~SqliteStore() { readers_.reset(); }

void SqliteStore::Upgrade() {
  sqlite3* db = writer_->db;
  // A database at this version is only read, so a read-only one reaches the write check.
  while (UserVersion(db) != kSchemaVersion) {
    Transaction tx(db);  // other processes upgrading the same file wait here
    const int version = UserVersion(db);
    if (version == 0) {
      // Fresh, or made before databases had a version: both are version 1.
      writer_->Exec(BaseSchema(SqlDialect::Sqlite));
      SetUserVersion(db, 1);
    } else if (version != kSchemaVersion) {
      writer_->Exec(StepFrom(version, path_).sqlite);
      SetUserVersion(db, version + 1);
    }
    tx.Commit();
  }
}

std::string SqliteStore::FileProblem() const {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0)
    return "the database file " + path_ + " was removed while the server had it open";
  if (st.st_dev != device_ || st.st_ino != inode_)
    return "the database file " + path_ + " was replaced by another while the server had it open";
  return {};
}

template <class Body>
auto SqliteStore::Write(Body body) {
  std::lock_guard lock(write_mutex_);
  Transaction tx(writer_->db);
  auto result = body(writer_->db);
  // Rows written into a file no longer at its path would be lost on the next start.
  if (const std::string problem = FileProblem(); !problem.empty())
    throw std::runtime_error(problem);
  tx.Commit();
  return result;
}

void SqliteStore::IssueToken(const std::string& token, const std::string& key, std::int64_t now,
                             std::int64_t expires, int max_outstanding) {
  Write([&](sqlite3* db) {
    Statement(db, "DELETE FROM tokens WHERE expires <= ?1").Bind(1, now).Step();
    // Make room for the new one: keep the newest max_outstanding - 1.
    Statement(db,
              "DELETE FROM tokens WHERE rowid IN (SELECT rowid FROM tokens WHERE address = ?1"
              " ORDER BY expires DESC, rowid DESC LIMIT -1 OFFSET ?2)")
        .Bind(1, key)
        .Bind(2, std::int64_t{max_outstanding > 1 ? max_outstanding - 1 : 0})
        .Step();
    Statement(db, "INSERT INTO tokens (token, address, expires) VALUES (?1, ?2, ?3)")
        .Bind(1, token)
        .Bind(2, key)
        .Bind(3, expires)
        .Step();
    return 0;
  });
}

bool SqliteStore::TokenValid(const std::string& token, std::int64_t now) {
  const auto reader = readers_->Acquire();
  Statement q(reader->db, "SELECT 1 FROM tokens WHERE token = ?1 AND expires > ?2");
  q.Bind(1, token).Bind(2, now);
  return q.Step();
}

SubmitOutcome SqliteStore::Submit(const std::string& token, const ScoreRow& row,
                                  const std::string& address, std::int64_t now) {
  return Write([&](sqlite3* db) {
    Statement use(db, "DELETE FROM tokens WHERE token = ?1 AND expires > ?2");
    use.Bind(1, token).Bind(2, now).Step();
    if (sqlite3_changes(db) != 1) return SubmitOutcome::UnknownToken;
    Statement(db,
              "INSERT INTO scores (name, score, country, created, address)"
              " VALUES (?1, ?2, ?3, ?4, ?5)")
        .Bind(1, row.name)
        .Bind(2, std::int64_t{row.score})
        .Bind(3, row.country)
        .Bind(4, now)
        .Bind(5, address)
        .Step();
    return SubmitOutcome::Stored;
  });
}

std::vector<ScoreRow> SqliteStore::Top(int limit, const std::string& country) {
  const auto reader = readers_->Acquire();
  const bool one_country = !country.empty();
  Statement q(reader->db, TopStatement(SqlDialect::Sqlite, one_country));
  if (one_country)
    q.Bind(1, country).Bind(2, std::int64_t{limit});
  else
    q.Bind(1, std::int64_t{limit});
  std::vector<ScoreRow> rows;
  while (q.Step())
    rows.push_back(
        {q.Int(0), q.Text(1), static_cast<std::int32_t>(q.Int(2)), q.Text(3), q.Int(4), q.Text(5)});
  return rows;
}

std::int64_t SqliteStore::Count() {
  const auto reader = readers_->Acquire();
  Statement q(reader->db, "SELECT COUNT(*) FROM scores");
  q.Step();
  return q.Int(0);
}

std::string SqliteStore::WriteProblem() {
  if (std::string problem = FileProblem(); !problem.empty()) return problem;
  std::lock_guard lock(write_mutex_);
  sqlite3* db = writer_->db;
  if (sqlite3_db_readonly(db, "main") == 1)
    return "the database file " + path_ +
           " is open read-only (the file or its folder is not"
           " writable)";
  try {
    Transaction tx(db);
    Statement(db, "INSERT OR REPLACE INTO health_probe (id, written) VALUES (1, ?1)")
        .Bind(1, std::int64_t{std::time(nullptr)})
        .Step();
    tx.Commit();  // synced: synchronous=FULL
  } catch (const std::exception& e) {
    return std::string("cannot write the database file ") + path_ + ": " + e.what();
  }
  return {};
}

bool SqliteStore::Remove(std::int64_t id) {
  return Write([&](sqlite3* db) {
    Statement(db, "DELETE FROM scores WHERE id = ?1").Bind(1, id).Step();
    return sqlite3_changes(db) == 1;
  });
}

void SqliteStore::Backup(const std::string& path) {
  // Never over an existing file: it may be an older backup or another database.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0)
    throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno) +
                             " (an existing file is never overwritten)");
  ::close(fd);
  try {
    Connection copy(path, SQLITE_OPEN_READWRITE);
    {
      // A reader's snapshot: the last commit, whatever a writer is doing meanwhile.
      const auto reader = readers_->Acquire();
      sqlite3_backup* b = sqlite3_backup_init(copy.db, "main", reader->db, "main");
      if (b == nullptr) throw std::runtime_error(sqlite3_errmsg(copy.db));
      const int rc = sqlite3_backup_step(b, -1);
      sqlite3_backup_finish(b);
      if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errstr(rc));
    }
    // One self-contained file, with no WAL beside it.
    copy.Exec("PRAGMA journal_mode=DELETE");
  } catch (const std::exception& e) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    throw std::runtime_error("cannot back up into " + path + ": " + e.what());
  }
}

int SqliteStore::SchemaVersion() {
  const auto reader = readers_->Acquire();
  return UserVersion(reader->db);
}

bool SqliteStore::TakeFromBucket(const std::string&, int, int, std::int64_t) {
  throw std::logic_error("the SQLite store keeps no shared rate buckets");
}

}  // namespace trakvolt::server
