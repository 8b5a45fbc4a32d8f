// PostgreSQL storage of tokens and results over libpq.
#include "pg_store.h"

#include <libpq-fe.h>

#include <stdexcept>
#include <vector>

namespace trakvolt::server {

// A query's result, cleared on every path.
class PgStore::Result {
 public:
  explicit Result(PGresult* r) : r_(r) {}
  ~Result() { PQclear(r_); }
  Result(Result&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  ExecStatusType Status() const { return PQresultStatus(r_); }
  int Rows() const { return PQntuples(r_); }
  std::string Text(int row, int col) const { return PQgetvalue(r_, row, col); }
  std::int64_t Int(int row, int col) const { return std::stoll(Text(row, col)); }
  std::int64_t Affected() const {
    const char* n = PQcmdTuples(r_);
    return n[0] ? std::stoll(n) : 0;
  }

 private:
  PGresult* r_;
};

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS scores ("
    " id BIGSERIAL PRIMARY KEY, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " country TEXT NOT NULL, created BIGINT NOT NULL, address TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, id);"
    "CREATE TABLE IF NOT EXISTS tokens ("
    " token TEXT PRIMARY KEY, address TEXT NOT NULL, expires BIGINT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS tokens_address ON tokens (address, expires);"
    "CREATE INDEX IF NOT EXISTS tokens_expires ON tokens (expires);";

// The schema is made under this advisory lock, so that server processes starting together do
// not race.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(8642)";

// ROLLBACK unless committed.
class PgTransaction {
 public:
  explicit PgTransaction(pg_conn* c) : c_(c) { Exec("BEGIN"); }
  ~PgTransaction() {
    if (!done_) PQclear(PQexec(c_, "ROLLBACK"));
  }
  PgTransaction(const PgTransaction&) = delete;
  PgTransaction& operator=(const PgTransaction&) = delete;
  void Commit() {
    Exec("COMMIT");
    done_ = true;
  }

 private:
  void Exec(const char* sql) {
    PGresult* r = PQexec(c_, sql);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    if (!ok) throw std::runtime_error(PQerrorMessage(c_));
  }
  pg_conn* c_;
  bool done_ = false;
};

}  // namespace

PgStore::PgStore(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string why = PQerrorMessage(conn_);
    PQfinish(conn_);
    throw std::runtime_error("cannot connect to PostgreSQL: " + why);
  }
  try {
    PgTransaction tx(conn_);
    Run(kSchemaLock);
    PGresult* r = PQexec(conn_, kSchema);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    if (!ok) throw std::runtime_error(PQerrorMessage(conn_));
    tx.Commit();
  } catch (...) {
    PQfinish(conn_);
    throw;
  }
}

PgStore::~PgStore() { PQfinish(conn_); }

void PgStore::EnsureConnected() {
  if (PQstatus(conn_) != CONNECTION_OK) PQreset(conn_);
  if (PQstatus(conn_) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(conn_));
}

PgStore::Result PgStore::Run(const char* sql, std::initializer_list<std::string> params) {
  std::vector<const char*> values;
  for (const std::string& p : params) values.push_back(p.c_str());
  Result r(PQexecParams(conn_, sql, static_cast<int>(values.size()), nullptr, values.data(),
                        nullptr, nullptr, 0));
  const auto status = r.Status();
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw std::runtime_error(PQerrorMessage(conn_));
  return r;
}

IssueOutcome PgStore::IssueToken(const std::string& token, const std::string& address,
                                 std::int64_t now, std::int64_t expires, int max_outstanding) {
  std::lock_guard lock(mutex_);
  EnsureConnected();
  PgTransaction tx(conn_);
  // One address's count and insert are serialised across every process.
  Run("SELECT pg_advisory_xact_lock(hashtext($1))", {address});
  Run("DELETE FROM tokens WHERE expires <= $1", {std::to_string(now)});
  const Result count = Run("SELECT COUNT(*) FROM tokens WHERE address = $1", {address});
  if (count.Int(0, 0) >= max_outstanding) {
    tx.Commit();
    return IssueOutcome::TooManyOutstanding;
  }
  Run("INSERT INTO tokens (token, address, expires) VALUES ($1, $2, $3)",
      {token, address, std::to_string(expires)});
  tx.Commit();
  return IssueOutcome::Issued;
}

SubmitOutcome PgStore::Submit(const std::string& token, const ScoreRow& row,
                              const std::string& address, std::int64_t now) {
  std::lock_guard lock(mutex_);
  EnsureConnected();
  PgTransaction tx(conn_);
  const Result used =
      Run("DELETE FROM tokens WHERE token = $1 AND expires > $2", {token, std::to_string(now)});
  if (used.Affected() != 1) return SubmitOutcome::UnknownToken;
  Run("INSERT INTO scores (name, score, country, created, address) VALUES ($1, $2, $3, $4, $5)",
      {row.name, std::to_string(row.score), row.country, std::to_string(now), address});
  tx.Commit();
  return SubmitOutcome::Stored;
}

std::vector<ScoreRow> PgStore::Top(int limit, const std::string& country) {
  std::lock_guard lock(mutex_);
  EnsureConnected();
  const Result r =
      Run("SELECT id, name, score, country, created FROM scores"
          " WHERE $1 = '' OR country = $1 ORDER BY score DESC, id LIMIT $2",
          {country, std::to_string(limit)});
  std::vector<ScoreRow> rows;
  for (int i = 0; i < r.Rows(); ++i)
    rows.push_back({r.Int(i, 0), r.Text(i, 1), static_cast<std::int32_t>(r.Int(i, 2)), r.Text(i, 3),
                    r.Int(i, 4)});
  return rows;
}

std::int64_t PgStore::Count() {
  std::lock_guard lock(mutex_);
  EnsureConnected();
  return Run("SELECT COUNT(*) FROM scores").Int(0, 0);
}

bool PgStore::Healthy() {
  try {
    std::lock_guard lock(mutex_);
    EnsureConnected();
    return Run("SELECT 1").Int(0, 0) == 1;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace trakvolt::server
