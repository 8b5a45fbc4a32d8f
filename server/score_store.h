// The score server's storage: one-time tokens handed out by the availability check, the
// accepted results and, where several server processes share the database, their request-rate
// buckets; behind one interface so that SQLite and PostgreSQL behave alike.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trakvolt::server {

// One stored result. Name and country are UTF-8 (converted from the game's cp1251); rows
// written from outside may hold any bytes, so whoever shows them must make them valid.
struct ScoreRow {
  std::int64_t id = 0;
  std::string name;
  std::int32_t score = 0;
  std::string country;
  std::int64_t created = 0;  // seconds since the epoch, UTC
  std::string address;       // the client's address (filled by Top, shown only to operators)
};

enum class SubmitOutcome { Stored, UnknownToken };

// The schema version this build makes and upgrades older databases to.
inline constexpr int kSchemaVersion = 2;

class ScoreStore {
 public:
  virtual ~ScoreStore() = default;
  // Stores a fresh token for `key` (the limits' key of the client), valid until `expires`.
  // When the key already holds `max_outstanding` unexpired tokens, its oldest are dropped so
  // that it holds `max_outstanding` with the new one: a busy shared address is never locked
  // out. Expired tokens are purged on the way.
  virtual void IssueToken(const std::string& token, const std::string& key, std::int64_t now,
                          std::int64_t expires, int max_outstanding) = 0;
  // Whether `token` is unexpired at `now` (a read that never waits for a writer).
  virtual bool TokenValid(const std::string& token, std::int64_t now) = 0;
  // Uses up `token` (unexpired at `now`) and stores the result with the client's full
  // `address`, both or neither, durably before returning. Throws when the store cannot write
  // (a database file removed or replaced under the server, a full disk).
  virtual SubmitOutcome Submit(const std::string& token, const ScoreRow& row,
                               const std::string& address, std::int64_t now) = 0;
  // The best results: higher score first, the older (lower id) of equal scores first. An
  // empty `country` means all countries. Served by an index whatever the table holds, on a
  // connection of its own: a read never waits for another read or for a write.
  virtual std::vector<ScoreRow> Top(int limit, const std::string& country) = 0;
  // How many results are stored.
  virtual std::int64_t Count() = 0;
  // Empty when the store can write right now (a real write, rolled into the database and
  // synced), otherwise why not: the file removed or replaced, read-only, disk full, the
  // database gone.
  virtual std::string WriteProblem() = 0;
  // Removes one result; false when there is none with that id.
  virtual bool Remove(std::int64_t id) = 0;
  // A consistent copy of a live database into the file `path` (created; an existing file is
  // refused). Throws where the store cannot (PostgreSQL: use pg_dump).
  virtual void Backup(const std::string& path) = 0;
  // The schema version of the open database (kSchemaVersion once opened).
  virtual int SchemaVersion() = 0;
  // Whether the request-rate buckets are kept in the database (shared by every process).
  virtual bool SharesRateBuckets() const { return false; }
  // Takes one request from the bucket `bucket` (e.g. "check:203.0.113.5") that refills at
  // `per_minute` up to `burst`; false when empty. Only where SharesRateBuckets().
  virtual bool TakeFromBucket(const std::string& bucket, int per_minute, int burst,
                              std::int64_t now_ms) = 0;
};

// SQLite for "file.db" paths, PostgreSQL for "postgresql://" or "postgres://" strings, with
// `connections` database connections (SQLite: readers beside its one writer). Throws when the
// database cannot be opened, upgraded, or written.
std::unique_ptr<ScoreStore> OpenScoreStore(const std::string& db, int connections = 4);

}  // namespace trakvolt::server
