// The PostgreSQL store, for several server processes or machines sharing one table: the same
// schema and behaviour as the SQLite store, parameterised statements only.
#pragma once

#include <mutex>
#include <string>

#include "score_store.h"

struct pg_conn;

namespace trakvolt::server {

class PgStore final : public ScoreStore {
 public:
  // Connects with a "postgresql://" string and creates the schema when missing; throws on
  // failure.
  explicit PgStore(const std::string& conninfo);
  ~PgStore() override;
  PgStore(const PgStore&) = delete;
  PgStore& operator=(const PgStore&) = delete;

  IssueOutcome IssueToken(const std::string& token, const std::string& address, std::int64_t now,
                          std::int64_t expires, int max_outstanding) override;
  SubmitOutcome Submit(const std::string& token, const ScoreRow& row, const std::string& address,
                       std::int64_t now) override;
  std::vector<ScoreRow> Top(int limit, const std::string& country) override;
  std::int64_t Count() override;
  bool Healthy() override;

 private:
  class Result;
  // Runs one statement with text parameters; throws on an error.
  Result Run(const char* sql, std::initializer_list<std::string> params = {});
  // A broken connection (database restarted) is opened again before the next request.
  void EnsureConnected();
  std::mutex mutex_;  // one connection, used by one request at a time
  pg_conn* conn_ = nullptr;
};

}  // namespace trakvolt::server
