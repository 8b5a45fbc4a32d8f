// Picking the store from the --db text.
#include "pg_store.h"
#include "score_store.h"
#include "sqlite_store.h"

namespace trakvolt::server {

std::unique_ptr<ScoreStore> OpenScoreStore(const std::string& db, int connections) {
  if (db.starts_with("postgresql://") || db.starts_with("postgres://"))
    return std::make_unique<PgStore>(db, connections);
  return std::make_unique<SqliteStore>(db, connections);
}

}  // namespace trakvolt::server
