// The SQLite store: one connection in WAL mode with full syncs, prepared statements only.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "score_store.h"

struct sqlite3;

namespace trakvolt::server {

class SqliteStore final : public ScoreStore {
 public:
  // Opens (creating if needed) the database file and its schema; throws on failure.
  explicit SqliteStore(const std::string& path);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  IssueOutcome IssueToken(const std::string& token, const std::string& address, std::int64_t now,
                          std::int64_t expires, int max_outstanding) override;
  SubmitOutcome Submit(const std::string& token, const ScoreRow& row, const std::string& address,
                       std::int64_t now) override;
  std::vector<ScoreRow> Top(int limit, const std::string& country) override;
  std::int64_t Count() override;
  bool Healthy() override;

 private:
  class Statement;
  void Exec(const char* sql);
  std::mutex mutex_;  // one connection, used by one request at a time
  sqlite3* db_ = nullptr;
};

}  // namespace trakvolt::server
