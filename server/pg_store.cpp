// PostgreSQL storage of tokens, results and rate buckets over libpq.
#include "pg_store.h"

#include <libpq-fe.h>

#include <algorithm>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "schema.h"

namespace trakvolt::server {
namespace {

// A query's result, cleared on every path.
class Result {
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

// The schema's versions are made and upgraded under this advisory lock, so that server
// processes starting together do not race.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(8642)";

// Full buckets are forgotten at most this often (they hold nothing to remember).
constexpr std::int64_t kPruneEveryMs = 60'000;

}  // namespace

// One connection to the database.
class PgStore::Connection {
 public:
  explicit Connection(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
    if (PQstatus(conn_) != CONNECTION_OK) {
      const std::string why = Error();
      PQfinish(conn_);
      throw std::runtime_error("cannot connect to PostgreSQL: " + why);
    }
  }
  ~Connection() { PQfinish(conn_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Broken() const { return PQstatus(conn_) != CONNECTION_OK; }
  // A connection broken by a database restart is opened again before it is used.
  void EnsureConnected() {
    if (Broken()) PQreset(conn_);
    if (Broken()) throw std::runtime_error("cannot reach PostgreSQL: " + Error());
  }
  // One statement with text parameters; throws on an error.
  Result Run(const char* sql, std::initializer_list<std::string> params = {}) {
    std::vector<const char*> values;
    for (const std::string& p : params) values.push_back(p.c_str());
    Result r(PQexecParams(conn_, sql, static_cast<int>(values.size()), nullptr, values.data(),
                          nullptr, nullptr, 0));
    const auto status = r.Status();
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throw std::runtime_error(Error());
    return r;
  }
  // Several statements without parameters.
  void Script(const char* sql) {
    Result r(PQexec(conn_, sql));
    if (r.Status() != PGRES_COMMAND_OK && r.Status() != PGRES_TUPLES_OK)
      throw std::runtime_error(Error());
  }
  std::string Database() const { return PQdb(conn_); }

 private:
  std::string Error() const {
    std::string why = PQerrorMessage(conn_);
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
    return why;
  }
  pg_conn* conn_;
};

namespace {

// ROLLBACK unless committed.
template <class Connection>
class PgTransaction {
 public:
  explicit PgTransaction(Connection& c) : c_(c) { c_.Run("BEGIN"); }
  ~PgTransaction() {
    if (!done_) {
      try {
        c_.Run("ROLLBACK");
      } catch (const std::exception&) {
        // A broken connection has rolled back by itself.
      }
    }
  }
  PgTransaction(const PgTransaction&) = delete;
  PgTransaction& operator=(const PgTransaction&) = delete;
  void Commit() {
    c_.Run("COMMIT");
    done_ = true;
  }

 private:
  Connection& c_;
  bool done_ = false;
};

}  // namespace

PgStore::PgStore(const std::string& conninfo, int connections)
    : pool_(std::make_unique<ConnectionPool<Connection>>(
          static_cast<std::size_t>(std::max(1, connections)),
          [conninfo] { return std::make_unique<Connection>(conninfo); }, false)) {
  Upgrade();
  if (const std::string problem = WriteProblem(); !problem.empty())
    throw std::runtime_error(problem);
}

PgStore::~PgStore() = default;

template <class Body>
auto PgStore::With(bool again, Body body) {
  auto c = pool_->Acquire();
  c->EnsureConnected();
  if (!again) return body(*c);
  try {
    return body(*c);
  } catch (const std::exception&) {
    if (!c->Broken()) throw;
  }
  c->EnsureConnected();
  return body(*c);
}

void PgStore::Upgrade() {
  auto c = pool_->Acquire();
  const std::string where = "the PostgreSQL database " + c->Database();
  for (;;) {
    PgTransaction tx(*c);
    c->Run(kSchemaLock);
    if (c->Run("SELECT to_regclass('schema_version') IS NULL").Text(0, 0) == "t") {
      // Fresh, or made before databases had a version: both are version 1.
      c->Script(BaseSchema(SqlDialect::Postgres));
      c->Script(
          "CREATE TABLE schema_version (one BOOLEAN PRIMARY KEY DEFAULT TRUE CHECK (one),"
          " version INTEGER NOT NULL);"
          "INSERT INTO schema_version (version) VALUES (1)");
      tx.Commit();
      continue;
    }
    const int version = static_cast<int>(c->Run("SELECT version FROM schema_version").Int(0, 0));
    if (version == kSchemaVersion) {
      tx.Commit();
      return;
    }
    c->Script(StepFrom(version, where).postgres);
    c->Run("UPDATE schema_version SET version = $1", {std::to_string(version + 1)});
    tx.Commit();
  }
}

void PgStore::IssueToken(const std::string& token, const std::string& key, std::int64_t now,
                         std::int64_t expires, int max_outstanding) {
  With(false, [&](Connection& c) {
    PgTransaction tx(c);
    // One key's tokens are trimmed and added to by one process at a time.
    c.Run("SELECT pg_advisory_xact_lock(hashtext($1))", {key});
    c.Run("DELETE FROM tokens WHERE expires <= $1", {std::to_string(now)});
    // Make room for the new one: keep the newest max_outstanding - 1.
    c.Run(
        "DELETE FROM tokens WHERE token IN (SELECT token FROM tokens WHERE address = $1"
        " ORDER BY expires DESC, token DESC OFFSET $2)",
        {key, std::to_string(std::max(0, max_outstanding - 1))});
    c.Run("INSERT INTO tokens (token, address, expires) VALUES ($1, $2, $3)",
          {token, key, std::to_string(expires)});
    tx.Commit();
  });
}

bool PgStore::TokenValid(const std::string& token, std::int64_t now) {
  return With(true, [&](Connection& c) {
    return c.Run("SELECT 1 FROM tokens WHERE token = $1 AND expires > $2",
                 {token, std::to_string(now)})
               .Rows() == 1;
  });
}

SubmitOutcome PgStore::Submit(const std::string& token, const ScoreRow& row,
                              const std::string& address, std::int64_t now) {
  return With(false, [&](Connection& c) {
    PgTransaction tx(c);
    const Result used =
        c.Run("DELETE FROM tokens WHERE token = $1 AND expires > $2", {token, std::to_string(now)});
    if (used.Affected() != 1) return SubmitOutcome::UnknownToken;
    c.Run("INSERT INTO scores (name, score, country, created, address) VALUES ($1, $2, $3, $4, $5)",
          {row.name, std::to_string(row.score), row.country, std::to_string(now), address});
    tx.Commit();
    return SubmitOutcome::Stored;
  });
}

std::vector<ScoreRow> PgStore::Top(int limit, const std::string& country) {
  return With(true, [&](Connection& c) {
    const bool one_country = !country.empty();
    const char* sql = TopStatement(SqlDialect::Postgres, one_country);
    const Result r = one_country ? c.Run(sql, {country, std::to_string(limit)})
                                 : c.Run(sql, {std::to_string(limit)});
    std::vector<ScoreRow> rows;
    for (int i = 0; i < r.Rows(); ++i)
      rows.push_back({r.Int(i, 0), r.Text(i, 1), static_cast<std::int32_t>(r.Int(i, 2)),
                      r.Text(i, 3), r.Int(i, 4), r.Text(i, 5)});
    return rows;
  });
}

std::int64_t PgStore::Count() {
  return With(true, [](Connection& c) { return c.Run("SELECT COUNT(*) FROM scores").Int(0, 0); });
}

std::string PgStore::WriteProblem() {
  try {
    return With(true, [](Connection& c) {
      PgTransaction tx(c);
      // Synced whatever the database's setting, so that an answer means a durable write.
      c.Run("SET LOCAL synchronous_commit = on");
      c.Run(
          "INSERT INTO health_probe (id, written) VALUES (1, $1)"
          " ON CONFLICT (id) DO UPDATE SET written = EXCLUDED.written",
          {std::to_string(std::time(nullptr))});
      tx.Commit();
      return std::string();
    });
  } catch (const std::exception& e) {
    return std::string("cannot write the PostgreSQL database: ") + e.what();
  }
}

bool PgStore::Remove(std::int64_t id) {
  return With(false, [&](Connection& c) {
    return c.Run("DELETE FROM scores WHERE id = $1", {std::to_string(id)}).Affected() == 1;
  });
}

void PgStore::Backup(const std::string&) {
  throw std::runtime_error("a PostgreSQL database is backed up with pg_dump; use pg_dump");
}

int PgStore::SchemaVersion() {
  return With(true, [](Connection& c) {
    return static_cast<int>(c.Run("SELECT version FROM schema_version").Int(0, 0));
  });
}

bool PgStore::TakeFromBucket(const std::string& bucket, int per_minute, int burst,
                             std::int64_t now_ms) {
  if (per_minute <= 0) return true;
  const std::string rate = std::to_string(per_minute), size = std::to_string(std::max(1, burst)),
                    now = std::to_string(now_ms);
  return With(false, [&](Connection& c) {
    // Refill since the last take, capped at the burst, and take one if there is one: a single
    // statement, so that processes taking from one bucket at once never both take its last.
    // full_ms is when the bucket will be full again, after which it may be forgotten.
    const bool taken =
        c.Run(
             "INSERT INTO rate_buckets AS b (bucket, level, updated_ms, full_ms)"
             " VALUES ($1, $3::float8 - 1, $4::bigint, $4::bigint + CEIL(60000 / $2::float8))"
             " ON CONFLICT (bucket) DO UPDATE SET"
             " level = LEAST($3::float8,"
             "   b.level + GREATEST($4::bigint - b.updated_ms, 0) * $2::float8 / 60000) - 1,"
             " updated_ms = GREATEST(b.updated_ms, $4::bigint),"
             " full_ms = GREATEST(b.updated_ms, $4::bigint) + CEIL(($3::float8 + 1 - LEAST("
             "   $3::float8, b.level + GREATEST($4::bigint - b.updated_ms, 0) * $2::float8 / "
             "60000))"
             "   * 60000 / $2::float8)"
             " WHERE LEAST($3::float8,"
             "   b.level + GREATEST($4::bigint - b.updated_ms, 0) * $2::float8 / 60000) >= 1"
             " RETURNING level",
             {bucket, rate, size, now})
            .Rows() == 1;
    std::int64_t last = last_prune_ms_.load();
    if (now_ms - last >= kPruneEveryMs && last_prune_ms_.compare_exchange_strong(last, now_ms))
      c.Run("DELETE FROM rate_buckets WHERE full_ms <= $1", {now});
    return taken;
  });
}

}  // namespace trakvolt::server
