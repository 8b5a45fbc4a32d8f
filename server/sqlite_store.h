// The SQLite store: one writer connection (a request at a time) and a few read-only readers
// beside it, in WAL mode with full syncs, prepared statements only.
#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>
#include <string>

#include "connection_pool.h"
#include "score_store.h"

namespace trakvolt::server {

class SqliteStore final : public ScoreStore {
 public:
  // Opens (creating if needed) the database file, upgrades its schema and makes sure it can be
  // written; throws on failure. `readers` connections serve the reads.
  explicit SqliteStore(const std::string& path, int readers = 4);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

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
  bool TakeFromBucket(const std::string& bucket, int per_minute, int burst,
                      std::int64_t now_ms) override;

 private:
  class Connection;
  void Upgrade();
  // Why a write now would not be kept in the file the server opened; empty when it would.
  std::string FileProblem() const;
  // Runs `body` on the writer inside BEGIN IMMEDIATE ... COMMIT, rolled back when it throws
  // or when the database file is no longer the one opened.
  template <class Body>
  auto Write(Body body);

  std::string path_;
  std::mutex write_mutex_;
  std::unique_ptr<Connection> writer_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  std::unique_ptr<ConnectionPool<Connection>> readers_;
};

}  // namespace trakvolt::server
