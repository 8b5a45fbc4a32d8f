// Bulk insertion of results over SQLite or PostgreSQL.
#include "table_fill.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <chrono>
#include <memory>
#include <stdexcept>

#include "score_store.h"

namespace trakvolt::load {
namespace {

// Names, scores, countries and dates spread by the row number; created up to a year back.
constexpr const char* kSqliteFill =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?1) "
    "INSERT INTO scores (name, score, country, created, address) "
    "SELECT 'RACER ' || char(65 + i % 26, 65 + (i / 26) % 26, 65 + (i / 676) % 26), "
    "(i * 7919) % 1000003, 'ZONE ' || char(65 + (i % 300) / 26, 65 + (i % 300) % 26), "
    "?2 - i % 31536000, '192.0.2.1' FROM n";

constexpr const char* kPostgresFill =
    "INSERT INTO scores (name, score, country, created, address) "
    "SELECT 'RACER ' || chr(65 + (i % 26)::int) || chr(65 + (i / 26 % 26)::int) || "
    "chr(65 + (i / 676 % 26)::int), (i * 7919) % 1000003, "
    "'ZONE ' || chr(65 + (i % 300 / 26)::int) || chr(65 + (i % 300 % 26)::int), "
    "$2::bigint - i % 31536000, '192.0.2.1' FROM generate_series(1, $1::bigint) AS i";

static_assert(kFilledCountries == 300, "the fill statements spread countries over 300");

void FillSqlite(const std::string& path, long rows, long long now) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path);
  sqlite3_stmt* raw_stmt = nullptr;
  if (sqlite3_prepare_v2(raw, kSqliteFill, -1, &raw_stmt, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(raw));
  const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> stmt(raw_stmt,
                                                                        &sqlite3_finalize);
  sqlite3_bind_int64(raw_stmt, 1, rows);
  sqlite3_bind_int64(raw_stmt, 2, now);
  // One statement is one transaction.
  if (sqlite3_step(raw_stmt) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(raw));
}

void FillPostgres(const std::string& url, long rows, long long now) {
  const std::unique_ptr<PGconn, decltype(&PQfinish)> conn(PQconnectdb(url.c_str()), &PQfinish);
  if (PQstatus(conn.get()) != CONNECTION_OK)
    throw std::runtime_error(std::string("cannot connect: ") + PQerrorMessage(conn.get()));
  const std::string values[] = {std::to_string(rows), std::to_string(now)};
  const char* params[] = {values[0].c_str(), values[1].c_str()};
  const auto exec = [&](const char* sql, int n) {
    const std::unique_ptr<PGresult, decltype(&PQclear)> r(
        PQexecParams(conn.get(), sql, n, nullptr, n > 0 ? params : nullptr, nullptr, nullptr, 0),
        &PQclear);
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
      throw std::runtime_error(std::string("fill: ") + PQerrorMessage(conn.get()));
  };
  exec(kPostgresFill, 2);
  // The statistics autovacuum would gather on a server that has run a while.
  exec("ANALYZE scores", 0);
}

}  // namespace

std::string FilledCountry(int index) {
  const int k = index % kFilledCountries;
  return std::string("ZONE ") + static_cast<char>('A' + k / 26) + static_cast<char>('A' + k % 26);
}

void FillTable(const std::string& db, long rows) {
  server::OpenScoreStore(db);  // the schema, as the server makes it
  if (rows == 0) return;
  const long long now = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  if (db.starts_with("postgresql://") || db.starts_with("postgres://"))
    FillPostgres(db, rows, now);
  else
    FillSqlite(db, rows, now);
}

}  // namespace trakvolt::load
