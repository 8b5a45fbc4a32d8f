// The score database's versions and their upgrades.
#include "schema.h"

#include <array>
#include <stdexcept>

namespace trakvolt::server {
namespace {

constexpr const char* kSqliteBase =
    "CREATE TABLE IF NOT EXISTS scores ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " country TEXT NOT NULL, created INTEGER NOT NULL, address TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, id);"
    "CREATE TABLE IF NOT EXISTS tokens ("
    " token TEXT PRIMARY KEY, address TEXT NOT NULL, expires INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS tokens_address ON tokens (address, expires);"
    "CREATE INDEX IF NOT EXISTS tokens_expires ON tokens (expires);";

constexpr const char* kPostgresBase =
    "CREATE TABLE IF NOT EXISTS scores ("
    " id BIGSERIAL PRIMARY KEY, name TEXT NOT NULL, score INTEGER NOT NULL,"
    " country TEXT NOT NULL, created BIGINT NOT NULL, address TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, id);"
    "CREATE TABLE IF NOT EXISTS tokens ("
    " token TEXT PRIMARY KEY, address TEXT NOT NULL, expires BIGINT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS tokens_address ON tokens (address, expires);"
    "CREATE INDEX IF NOT EXISTS tokens_expires ON tokens (expires);";

constexpr std::array kSteps{
    // One country's table from its own index; a one-row table the health check writes; and,
    // where several processes share the database, their request-rate buckets, unlogged since
    // losing them in a crash only forgives a few requests.
    SchemaStep{
        1,
        "CREATE INDEX scores_country ON scores (country, score DESC, id);"
        "CREATE TABLE health_probe (id INTEGER PRIMARY KEY CHECK (id = 1),"
        " written INTEGER NOT NULL);",
        "CREATE INDEX scores_country ON scores (country, score DESC, id);"
        "CREATE TABLE health_probe (id INTEGER PRIMARY KEY CHECK (id = 1),"
        " written BIGINT NOT NULL);"
        "CREATE UNLOGGED TABLE rate_buckets (bucket TEXT PRIMARY KEY,"
        " level DOUBLE PRECISION NOT NULL, updated_ms BIGINT NOT NULL, full_ms BIGINT NOT NULL);"
        "CREATE INDEX rate_buckets_full ON rate_buckets (full_ms);"},
};

constexpr bool StepsAreInOrder() {
  for (std::size_t i = 0; i < kSteps.size(); ++i)
    if (kSteps[i].from != static_cast<int>(i) + 1) return false;
  return true;
}
static_assert(StepsAreInOrder(), "each step upgrades from the version the one before made");
static_assert(kSteps.back().from + 1 == kSchemaVersion, "the last step makes kSchemaVersion");

}  // namespace

const char* BaseSchema(SqlDialect dialect) {
  return dialect == SqlDialect::Sqlite ? kSqliteBase : kPostgresBase;
}

std::span<const SchemaStep> SchemaSteps() { return kSteps; }

const SchemaStep& StepFrom(int version, const std::string& where) {
  if (version > kSchemaVersion)
    throw std::runtime_error(where + " has schema version " + std::to_string(version) +
                             ", newer than this server's " + std::to_string(kSchemaVersion) +
                             ": run a newer trakvolt-scores on it");
  for (const SchemaStep& step : kSteps)
    if (step.from == version) return step;
  throw std::runtime_error(where + " has an unknown schema version " + std::to_string(version));
}

const char* TopStatement(SqlDialect dialect, bool one_country) {
  if (dialect == SqlDialect::Sqlite)
    return one_country ? "SELECT id, name, score, country, created, address FROM scores"
                         " WHERE country = ?1 ORDER BY score DESC, id LIMIT ?2"
                       : "SELECT id, name, score, country, created, address FROM scores"
                         " ORDER BY score DESC, id LIMIT ?1";
  return one_country ? "SELECT id, name, score, country, created, address FROM scores"
                       " WHERE country = $1 ORDER BY score DESC, id LIMIT $2"
                     : "SELECT id, name, score, country, created, address FROM scores"
                       " ORDER BY score DESC, id LIMIT $1";
}

}  // namespace trakvolt::server
