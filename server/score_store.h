// The score server's storage: one-time tokens handed out by the availability check and the
// accepted results, behind one interface so that SQLite and PostgreSQL behave alike.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trakvolt::server {

// One stored result. Name and country are UTF-8 (converted from the game's cp1251).
struct ScoreRow {
  std::int64_t id = 0;
  std::string name;
  std::int32_t score = 0;
  std::string country;
  std::int64_t created = 0;  // seconds since the epoch, UTC
};

enum class IssueOutcome { Issued, TooManyOutstanding };
enum class SubmitOutcome { Stored, UnknownToken };

class ScoreStore {
 public:
  virtual ~ScoreStore() = default;
  // Stores a fresh token for `address`, valid until `expires`, unless the address already
  // holds `max_outstanding` unexpired ones. Expired tokens are purged on the way.
  virtual IssueOutcome IssueToken(const std::string& token, const std::string& address,
                                  std::int64_t now, std::int64_t expires, int max_outstanding) = 0;
  // Uses up `token` (unexpired at `now`) and stores the result, both or neither, durably
  // before returning.
  virtual SubmitOutcome Submit(const std::string& token, const ScoreRow& row,
                               const std::string& address, std::int64_t now) = 0;
  // The best results: higher score first, the older of equal scores first. An empty
  // `country` means all countries.
  virtual std::vector<ScoreRow> Top(int limit, const std::string& country) = 0;
  // How many results are stored.
  virtual std::int64_t Count() = 0;
  // A cheap round trip to the database, for monitoring.
  virtual bool Healthy() = 0;
};

// SQLite for "file.db" paths, PostgreSQL for "postgresql://" or "postgres://" strings.
std::unique_ptr<ScoreStore> OpenScoreStore(const std::string& db);

}  // namespace trakvolt::server
