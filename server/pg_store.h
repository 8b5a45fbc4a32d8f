// The PostgreSQL store, for several server processes or machines sharing one table: the same
// schema and behaviour as the SQLite store, over a pool of connections each reconnecting when
// broken, parameterised statements only; the request-rate buckets are kept here too.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "connection_pool.h"
#include "score_store.h"

namespace trakvolt::server {

class PgStore final : public ScoreStore {
 public:
  // Connects `connections` times with a "postgresql://" string, makes or upgrades the schema
  // and makes sure the database can be written; throws on failure.
  explicit PgStore(const std::string& conninfo, int connections = 4);
  ~PgStore() override;
  PgStore(const PgStore&) = delete;
  PgStore& operator=(const PgStore&) = delete;

  void IssueToken(const std::string& token, const std::string& key, std::int64_t now,
                  std::int64_t expires, int max_outstanding) override;
  bool TokenValid(const std::string& token, std::int64_t now) override;
  SubmitOutcome Submit(const std::string& token, const ScoreRow& row, const std::string& address,
                       std::int64_t now) override;
  std::vector<ScoreRow> Top(int limit, const std::string& country) override;
  std::int64_t Count() override;
  std::string WriteProblem() override;
  bool Remove(std::int64_t id) override;
  void Backup(const std::string& path) override;
  int SchemaVersion() override;
  bool SharesRateBuckets() const override { return true; }
  bool TakeFromBucket(const std::string& bucket, int per_minute, int burst,
                      std::int64_t now_ms) override;

 private:
  class Connection;
  void Upgrade();
  // Runs `body` on a pooled connection, reconnected first when broken. With `again`, a call
  // whose connection broke under it runs once more on a fresh one: only for calls that may
  // safely run twice.
  template <class Body>
  auto With(bool again, Body body);

  std::unique_ptr<ConnectionPool<Connection>> pool_;
  std::atomic<std::int64_t> last_prune_ms_{0};
};

}  // namespace trakvolt::server
